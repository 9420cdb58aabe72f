#pragma once
// The data sets of the logger memory loaded last, kept as parallel arrays: nine
// per data set (element d of each belongs to data set d) and two per sample, where
// the samples of all data sets lie back to back in data-set order. One instance
// lives for the whole run, owned by the main window; only logger data enters it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include <QString>
#include <QStringList>

#include "data/ParsedDataSet.h"
#include "link/TDateTime.h"

// Statistics of one data set's levels: ties keep the first sample; with no samples
// both indices are 0 and the average 0.0.
struct DataSetStatistics {
  std::int32_t maxIndex = 0;
  std::int32_t minIndex = 0;
  double averageLevel = 0.0;
};

DataSetStatistics computeDataSetStatistics(std::span<const float> levels);

// The sample time of sample k of a data set, computed as the meter's files expect:
// the step in extended precision rounded to a double, then start + k × step in
// extended precision rounded to a double.
TDateTime sampleTimeOf(TDateTime startTime, std::int32_t samplingInterval, std::int64_t k);

// One data set as a plot reads it. The sample stretch never reaches outside the
// per-sample arrays and both indices lie inside it (or are 0 when it is empty).
// After replaceHeaders the header values describe the new memory while the samples
// are still those of the last full load, so sampleCount can be smaller than the
// header's (and complete is false).
struct DataSetView {
  TDateTime startTime = 0.0;
  std::int32_t samplingInterval = 0;
  std::int32_t sampleCount = 0;  // == levels.size() == sampleTimes.size()
  std::int32_t maxIndex = 0;
  std::int32_t minIndex = 0;
  double averageLevel = 0.0;
  std::span<const float> levels;
  std::span<const TDateTime> sampleTimes;
  bool complete = true;  // false: the header counts more samples than are held
};

class DataSetCollection {
 public:
  // Replaces every array by the data sets of a freshly parsed image, statistics
  // included. Every entry's levels must number its sampleCount; otherwise nothing
  // changes and the result is false.
  bool replaceFromImage(const std::vector<ParsedDataSet>& dataSets);

  // Replaces the six header arrays only (the automatic download's dump); levels,
  // sample times and statistics keep describing the last full load.
  void replaceHeaders(const std::vector<DataSetHeader>& headers);

  // Gives data set d a new start time and moves its sample times with it; no other
  // data set, level or statistic changes. False (and nothing changed) when d is not
  // a data set.
  bool setStartTime(int d, TDateTime startTime);

  int dataSetCount() const { return static_cast<int>(startTime_.size()); }

  // Index in levels/sampleTimes of data set d's first sample: the sum of the sample
  // counts before it (d is taken as at most dataSetCount()).
  std::size_t firstSample(int d) const;

  // Data set d for plotting; nullopt when d is not a data set.
  std::optional<DataSetView> dataSet(int d) const;

  // The six cells of data set d's row in the "Data Sets" grid (Set, DATE, TIME,
  // Rate, Nums, Weighting); empty when d is not a data set.
  QStringList gridRow(int d) const;

  // Read access to the arrays themselves.
  const std::vector<TDateTime>& startTime() const { return startTime_; }
  const std::vector<std::int32_t>& samplingInterval() const { return samplingInterval_; }
  const std::vector<std::int32_t>& sampleCount() const { return sampleCount_; }
  const std::vector<std::int32_t>& recordStart() const { return recordStart_; }
  const std::vector<std::int32_t>& recordEnd() const { return recordEnd_; }
  const std::vector<std::uint8_t>& modeByte() const { return modeByte_; }
  const std::vector<std::int32_t>& maxIndex() const { return maxIndex_; }
  const std::vector<std::int32_t>& minIndex() const { return minIndex_; }
  const std::vector<double>& averageLevel() const { return averageLevel_; }
  const std::vector<float>& levels() const { return levels_; }
  const std::vector<TDateTime>& sampleTimes() const { return sampleTimes_; }

 private:
  void resizeHeaders(std::size_t count);
  void setHeader(std::size_t d, const DataSetHeader& header);

  std::vector<TDateTime> startTime_;
  std::vector<std::int32_t> samplingInterval_;
  std::vector<std::int32_t> sampleCount_;
  std::vector<std::int32_t> recordStart_;
  std::vector<std::int32_t> recordEnd_;
  std::vector<std::uint8_t> modeByte_;
  std::vector<std::int32_t> maxIndex_;
  std::vector<std::int32_t> minIndex_;
  std::vector<double> averageLevel_;

  std::vector<float> levels_;
  std::vector<TDateTime> sampleTimes_;
};

// Cell texts of the "Data Sets" grid of their own; the DATE and TIME cells are
// formats::shortDate and formats::clockTime of the start time.
namespace datasetgrid {
QString rateText(std::int32_t seconds);     // minutes:seconds, two digits each (70 s → 01:10)
QString weightingText(std::uint8_t modeByte);  // "A" or "C"
}  // namespace datasetgrid
