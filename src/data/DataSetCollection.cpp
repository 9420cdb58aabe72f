#include "data/DataSetCollection.h"

#include <algorithm>

#include "text/Formats.h"

DataSetStatistics computeDataSetStatistics(std::span<const float> levels) {
  // The running extremes start far outside the meter's 20..140 dB so the first
  // sample always replaces them; single precision, like the levels themselves.
  float maximum = -99999.0f;
  float minimum = 99999.0f;
  double sum = 0.0;
  DataSetStatistics result;
  for (std::size_t k = 0; k < levels.size(); ++k) {
    const float level = levels[k];
    sum += level;
    // Strict comparisons: the first of equal extremes wins.
    if (level > maximum) {
      maximum = level;
      result.maxIndex = static_cast<std::int32_t>(k);
    }
    if (level < minimum) {
      minimum = level;
      result.minIndex = static_cast<std::int32_t>(k);
    }
  }
  if (!levels.empty()) result.averageLevel = sum / static_cast<double>(levels.size());
  return result;
}

TDateTime sampleTimeOf(TDateTime startTime, std::int32_t samplingInterval, std::int64_t k) {
  // One rounding rule for every sample time (the step rounded to a double, product
  // and sum in extended precision), so a time recomputed after a start-time change
  // equals the one a fresh load would give.
  const double step = static_cast<double>(static_cast<long double>(samplingInterval) * (1.0L / 86400.0L));
  return static_cast<double>(static_cast<long double>(startTime) +
                             static_cast<long double>(k) * static_cast<long double>(step));
}

void DataSetCollection::resizeHeaders(std::size_t count) {
  startTime_.resize(count);
  samplingInterval_.resize(count);
  sampleCount_.resize(count);
  recordStart_.resize(count);
  recordEnd_.resize(count);
  modeByte_.resize(count);
}

void DataSetCollection::setHeader(std::size_t d, const DataSetHeader& header) {
  startTime_[d] = header.startTime;
  samplingInterval_[d] = header.samplingInterval;
  sampleCount_[d] = header.sampleCount;
  recordStart_[d] = header.recordStart;
  recordEnd_[d] = header.recordEnd;
  modeByte_[d] = header.modeByte;
}

bool DataSetCollection::replaceFromImage(const std::vector<ParsedDataSet>& dataSets) {
  // Check first: a load either replaces everything or nothing.
  std::size_t total = 0;
  for (const ParsedDataSet& dataSet : dataSets) {
    if (dataSet.header.sampleCount < 0 ||
        static_cast<std::size_t>(dataSet.header.sampleCount) != dataSet.levels.size())
      return false;
    total += dataSet.levels.size();
  }

  const std::size_t count = dataSets.size();
  resizeHeaders(count);
  for (std::size_t d = 0; d < count; ++d) setHeader(d, dataSets[d].header);

  maxIndex_.clear();
  minIndex_.clear();
  averageLevel_.clear();
  maxIndex_.reserve(count);
  minIndex_.reserve(count);
  averageLevel_.reserve(count);
  levels_.clear();
  sampleTimes_.clear();
  levels_.reserve(total);
  sampleTimes_.reserve(total);

  for (const ParsedDataSet& dataSet : dataSets) {
    const DataSetHeader& header = dataSet.header;
    levels_.insert(levels_.end(), dataSet.levels.begin(), dataSet.levels.end());
    for (std::size_t k = 0; k < dataSet.levels.size(); ++k)
      sampleTimes_.push_back(sampleTimeOf(header.startTime, header.samplingInterval, static_cast<std::int64_t>(k)));
    const DataSetStatistics statistics = computeDataSetStatistics(dataSet.levels);
    maxIndex_.push_back(statistics.maxIndex);
    minIndex_.push_back(statistics.minIndex);
    averageLevel_.push_back(statistics.averageLevel);
  }
  return true;
}

void DataSetCollection::replaceHeaders(const std::vector<DataSetHeader>& headers) {
  resizeHeaders(headers.size());
  for (std::size_t d = 0; d < headers.size(); ++d) setHeader(d, headers[d]);
}

bool DataSetCollection::setStartTime(int d, TDateTime startTime) {
  if (d < 0 || d >= dataSetCount()) return false;
  startTime_[d] = startTime;
  // After replaceHeaders the header can count samples that are not held: move only
  // those that are.
  const std::size_t first = firstSample(d);
  const std::int64_t count = std::max<std::int32_t>(sampleCount_[d], 0);
  for (std::int64_t k = 0; k < count && first + k < sampleTimes_.size(); ++k)
    sampleTimes_[first + k] = sampleTimeOf(startTime, samplingInterval_[d], k);
  return true;
}

std::size_t DataSetCollection::firstSample(int d) const {
  const int end = std::clamp(d, 0, dataSetCount());
  std::size_t first = 0;
  for (int i = 0; i < end; ++i) first += static_cast<std::size_t>(std::max<std::int32_t>(sampleCount_[i], 0));
  return first;
}

std::optional<DataSetView> DataSetCollection::dataSet(int d) const {
  if (d < 0 || d >= dataSetCount()) return std::nullopt;
  DataSetView view;
  view.startTime = startTime_[d];
  view.samplingInterval = samplingInterval_[d];

  const std::size_t held = std::min(levels_.size(), sampleTimes_.size());
  const std::size_t first = std::min(firstSample(d), held);
  const std::size_t wanted = static_cast<std::size_t>(std::max<std::int32_t>(sampleCount_[d], 0));
  const std::size_t count = std::min(wanted, held - first);
  view.sampleCount = static_cast<std::int32_t>(count);
  view.complete = count == wanted;
  view.levels = std::span<const float>(levels_).subspan(first, count);
  view.sampleTimes = std::span<const TDateTime>(sampleTimes_).subspan(first, count);

  // The statistics arrays keep the length of the last full load; an index that does
  // not fall inside the stretch shown is replaced by its first sample.
  const auto inside = [count](std::int32_t index) {
    return index >= 0 && static_cast<std::size_t>(index) < count ? index : 0;
  };
  const auto at = static_cast<std::size_t>(d);
  if (at < maxIndex_.size()) view.maxIndex = inside(maxIndex_[at]);
  if (at < minIndex_.size()) view.minIndex = inside(minIndex_[at]);
  if (at < averageLevel_.size()) view.averageLevel = averageLevel_[at];
  return view;
}

QStringList DataSetCollection::gridRow(int d) const {
  if (d < 0 || d >= dataSetCount()) return {};
  return {QString::number(d + 1),
          formats::shortDate(startTime_[d]),
          formats::clockTime(startTime_[d]),
          datasetgrid::rateText(samplingInterval_[d]),
          QString::number(sampleCount_[d]),
          datasetgrid::weightingText(modeByte_[d])};
}

namespace datasetgrid {

QString rateText(std::int32_t seconds) {
  return QStringLiteral("%1:%2").arg(seconds / 60, 2, 10, QLatin1Char('0')).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString weightingText(std::uint8_t modeByte) {
  return (modeByte & 0x08) ? QStringLiteral("A") : QStringLiteral("C");
}

}  // namespace datasetgrid
