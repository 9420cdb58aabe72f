#include <gtest/gtest.h>

#include <QDateTime>
#include <QLocale>

#include "data/DataSetCollection.h"

namespace {

TDateTime at(int year, int month, int day, int hour, int minute, int second) {
  return datetime::fromQDateTime(QDateTime(QDate(year, month, day), QTime(hour, minute, second)));
}

ParsedDataSet makeDataSet(TDateTime start, std::int32_t interval, std::vector<float> levels,
                          std::uint8_t modeByte = 0x08) {
  ParsedDataSet dataSet;
  dataSet.header.startTime = start;
  dataSet.header.samplingInterval = interval;
  dataSet.header.sampleCount = static_cast<std::int32_t>(levels.size());
  dataSet.header.recordStart = 256;
  dataSet.header.recordEnd = 256 + 15 + 2 * dataSet.header.sampleCount;
  dataSet.header.modeByte = modeByte;
  dataSet.levels = std::move(levels);
  return dataSet;
}

// Every view must lie inside the collection's own per-sample arrays.
void expectInsideSampleArrays(const DataSetCollection& collection, const DataSetView& view) {
  const float* levelsBegin = collection.levels().data();
  const float* levelsEnd = levelsBegin + collection.levels().size();
  EXPECT_EQ(view.levels.size(), static_cast<std::size_t>(view.sampleCount));
  EXPECT_EQ(view.sampleTimes.size(), static_cast<std::size_t>(view.sampleCount));
  if (view.sampleCount > 0) {
    EXPECT_GE(view.levels.data(), levelsBegin);
    EXPECT_LE(view.levels.data() + view.levels.size(), levelsEnd);
    const TDateTime* timesBegin = collection.sampleTimes().data();
    EXPECT_GE(view.sampleTimes.data(), timesBegin);
    EXPECT_LE(view.sampleTimes.data() + view.sampleTimes.size(), timesBegin + collection.sampleTimes().size());
    EXPECT_LT(view.maxIndex, view.sampleCount);
    EXPECT_LT(view.minIndex, view.sampleCount);
  } else {
    EXPECT_EQ(view.maxIndex, 0);
    EXPECT_EQ(view.minIndex, 0);
  }
  EXPECT_GE(view.maxIndex, 0);
  EXPECT_GE(view.minIndex, 0);
}

}  // namespace

TEST(DataSetStatistics, TiesKeepTheFirstSampleAndEmptyGivesZero) {
  const auto check = [](std::vector<float> levels, int maxIndex, int minIndex, double average) {
    SCOPED_TRACE(::testing::PrintToString(levels));
    const DataSetStatistics statistics = computeDataSetStatistics(levels);
    EXPECT_EQ(statistics.maxIndex, maxIndex);
    EXPECT_EQ(statistics.minIndex, minIndex);
    EXPECT_DOUBLE_EQ(statistics.averageLevel, average);
  };
  check({}, 0, 0, 0.0);
  check({50.0f}, 0, 0, 50.0);
  check({60.0f, 70.0f, 70.0f, 50.0f}, 1, 3, 62.5);
  check({70.0f, 60.0f, 70.0f, 60.0f}, 0, 1, 65.0);
  check({55.0f, 55.0f, 55.0f}, 0, 0, 55.0);
  check({40.0f, 30.0f, 20.0f}, 0, 2, 30.0);
  check({20.0f, 140.0f}, 1, 0, 80.0);
}

TEST(DataSetStatistics, AverageOfManySamplesDoesNotDrift) {
  // A single-precision running sum drifts by tenths of a dB over this many samples.
  const std::vector<float> levels(1'000'000, 45.6f);
  EXPECT_NEAR(computeDataSetStatistics(levels).averageLevel, static_cast<double>(45.6f), 1e-9);
}

TEST(DataSetCollection, StartsEmpty) {
  DataSetCollection collection;
  EXPECT_EQ(collection.dataSetCount(), 0);
  EXPECT_EQ(collection.firstSample(0), 0u);
  EXPECT_FALSE(collection.dataSet(0).has_value());
  EXPECT_TRUE(collection.gridRow(0).isEmpty());
  EXPECT_FALSE(collection.setStartTime(0, 1.0));
}

TEST(DataSetCollection, SecondLoadReplacesEverythingIncludingStatistics) {
  DataSetCollection collection;
  const TDateTime day = at(2024, 7, 15, 10, 0, 0);
  ASSERT_TRUE(collection.replaceFromImage({makeDataSet(day, 1, {90.0f, 95.0f, 91.0f}),
                                           makeDataSet(day, 1, {40.0f}),
                                           makeDataSet(day, 1, {70.0f, 71.0f})}));
  ASSERT_TRUE(collection.replaceFromImage({makeDataSet(day, 2, {60.0f, 50.0f, 80.0f, 80.0f}),
                                           makeDataSet(day, 5, {33.0f})}));
  EXPECT_EQ(collection.dataSetCount(), 2);
  for (std::size_t size : {collection.startTime().size(), collection.samplingInterval().size(),
                           collection.sampleCount().size(), collection.recordStart().size(),
                           collection.recordEnd().size(), collection.modeByte().size(),
                           collection.maxIndex().size(), collection.minIndex().size(),
                           collection.averageLevel().size()})
    EXPECT_EQ(size, 2u);
  EXPECT_EQ(collection.levels().size(), 5u);
  EXPECT_EQ(collection.sampleTimes().size(), 5u);
  EXPECT_EQ(collection.maxIndex()[0], 2);
  EXPECT_EQ(collection.minIndex()[0], 1);
  EXPECT_DOUBLE_EQ(collection.averageLevel()[0], 67.5);
  EXPECT_EQ(collection.samplingInterval()[1], 5);
  EXPECT_FLOAT_EQ(collection.levels()[4], 33.0f);
}

TEST(DataSetCollection, LoadWithLevelsDisagreeingWithTheirCountChangesNothing) {
  DataSetCollection collection;
  ASSERT_TRUE(collection.replaceFromImage({makeDataSet(1000.0, 1, {60.0f, 61.0f})}));
  ParsedDataSet wrong = makeDataSet(2000.0, 1, {70.0f, 71.0f, 72.0f});
  wrong.header.sampleCount = 4;
  EXPECT_FALSE(collection.replaceFromImage({makeDataSet(2000.0, 1, {80.0f}), wrong}));
  EXPECT_EQ(collection.dataSetCount(), 1);
  EXPECT_EQ(collection.startTime()[0], 1000.0);
  EXPECT_EQ(collection.levels(), (std::vector<float>{60.0f, 61.0f}));
  EXPECT_EQ(collection.maxIndex()[0], 1);
  EXPECT_EQ(collection.gridRow(0).value(4), QStringLiteral("2"));
}

TEST(DataSetCollection, EmptyDataSetSharesItsFirstSampleWithTheNextOne) {
  DataSetCollection collection;
  ASSERT_TRUE(collection.replaceFromImage({makeDataSet(1000.0, 1, {50.0f, 51.0f}),
                                           makeDataSet(1001.0, 1, {}),
                                           makeDataSet(1002.0, 1, {52.0f})}));
  EXPECT_EQ(collection.firstSample(1), 2u);
  EXPECT_EQ(collection.firstSample(2), 2u);
  EXPECT_EQ(collection.firstSample(3), 3u);
  EXPECT_EQ(collection.maxIndex()[1], 0);
  EXPECT_EQ(collection.minIndex()[1], 0);
  EXPECT_EQ(collection.averageLevel()[1], 0.0);
  const DataSetView empty = *collection.dataSet(1);
  EXPECT_EQ(empty.sampleCount, 0);
  EXPECT_TRUE(empty.complete);
  const DataSetView last = *collection.dataSet(2);
  ASSERT_EQ(last.sampleCount, 1);
  EXPECT_FLOAT_EQ(last.levels[0], 52.0f);
  EXPECT_EQ(last.sampleTimes[0], 1002.0);
}

TEST(DataSetCollection, SampleTimesFollowStartAndInterval) {
  const auto check = [](std::int32_t interval, std::vector<QTime> expected) {
    SCOPED_TRACE(interval);
    DataSetCollection collection;
    const TDateTime start = at(2024, 3, 1, 8, 0, 0);
    ASSERT_TRUE(collection.replaceFromImage(
        {makeDataSet(start, interval, std::vector<float>(expected.size(), 60.0f))}));
    for (std::size_t k = 0; k < expected.size(); ++k) {
      const QDateTime time = datetime::toQDateTime(collection.sampleTimes()[k]);
      EXPECT_EQ(time, QDateTime(QDate(2024, 3, 1), expected[k])) << "sample " << k;
    }
    EXPECT_EQ(collection.sampleTimes()[0], start);
  };
  check(0, {QTime(8, 0, 0), QTime(8, 0, 0), QTime(8, 0, 0)});
  check(2, {QTime(8, 0, 0), QTime(8, 0, 2), QTime(8, 0, 4), QTime(8, 0, 6), QTime(8, 0, 8)});
  check(60, {QTime(8, 0, 0), QTime(8, 1, 0), QTime(8, 2, 0)});
}

TEST(DataSetCollection, SetStartTimeMovesOnlyThatDataSet) {
  DataSetCollection collection;
  const TDateTime old = at(2024, 7, 15, 14, 30, 5);
  ASSERT_TRUE(collection.replaceFromImage({makeDataSet(old, 1, {50.0f, 51.0f}),
                                           makeDataSet(old + 1, 3, {60.0f}),
                                           makeDataSet(old + 2, 2, {70.0f, 75.0f, 71.0f, 72.0f, 74.0f}),
                                           makeDataSet(old + 3, 1, {80.0f, 81.0f, 82.0f})}));
  const std::vector<TDateTime> timesBefore = collection.sampleTimes();
  const std::vector<float> levelsBefore = collection.levels();
  const std::vector<std::int32_t> maxBefore = collection.maxIndex();

  const TDateTime t = at(2024, 3, 1, 8, 0, 0);
  ASSERT_TRUE(collection.setStartTime(2, t));

  EXPECT_EQ(collection.startTime()[2], t);
  EXPECT_EQ(collection.startTime()[1], old + 1);
  EXPECT_EQ(collection.startTime()[3], old + 3);
  const std::size_t first = collection.firstSample(2);
  ASSERT_EQ(first, 3u);
  for (std::size_t i = 0; i < timesBefore.size(); ++i) {
    if (i >= first && i < first + 5) continue;
    EXPECT_EQ(collection.sampleTimes()[i], timesBefore[i]) << "sample " << i;
  }
  EXPECT_EQ(collection.sampleTimes()[first], t);
  for (int k = 0; k < 5; ++k)
    EXPECT_EQ(datetime::toQDateTime(collection.sampleTimes()[first + k]),
              QDateTime(QDate(2024, 3, 1), QTime(8, 0, 2 * k)));
  EXPECT_EQ(collection.levels(), levelsBefore);
  EXPECT_EQ(collection.maxIndex(), maxBefore);
  EXPECT_EQ(collection.samplingInterval()[2], 2);
  EXPECT_EQ(collection.gridRow(2).mid(1, 2), (QStringList{"3/1/2024", "08:00:00"}));

  EXPECT_FALSE(collection.setStartTime(4, t));
  EXPECT_FALSE(collection.setStartTime(-1, t));
  EXPECT_EQ(collection.sampleTimes().size(), timesBefore.size());
}

TEST(DataSetCollection, ReplaceHeadersKeepsSamplesAndStatistics) {
  DataSetCollection collection;
  ASSERT_TRUE(collection.replaceFromImage({makeDataSet(1000.0, 1, {50.0f, 55.0f}),
                                           makeDataSet(1001.0, 1, {60.0f, 66.0f, 61.0f})}));
  DataSetHeader header;
  header.startTime = 2000.0;
  header.samplingInterval = 10;
  header.sampleCount = 7;
  header.recordStart = 256;
  header.recordEnd = 256 + 15 + 14;
  header.modeByte = 0x00;
  collection.replaceHeaders({header});

  EXPECT_EQ(collection.dataSetCount(), 1);
  EXPECT_EQ(collection.startTime(), std::vector<TDateTime>{2000.0});
  EXPECT_EQ(collection.sampleCount(), std::vector<std::int32_t>{7});
  EXPECT_EQ(collection.recordEnd(), std::vector<std::int32_t>{285});
  EXPECT_EQ(collection.modeByte(), std::vector<std::uint8_t>{0});
  EXPECT_EQ(collection.levels(), (std::vector<float>{50.0f, 55.0f, 60.0f, 66.0f, 61.0f}));
  EXPECT_EQ(collection.sampleTimes().size(), 5u);
  EXPECT_EQ(collection.maxIndex(), (std::vector<std::int32_t>{1, 1}));
  EXPECT_EQ(collection.averageLevel().size(), 2u);
}

// The automatic download's dump replaces the headers only; a plot of any data set
// afterwards must keep inside the samples actually held.
TEST(DataSetCollection, PlotAfterReplaceHeadersStaysInsideTheSamples) {
  const auto header = [](std::int32_t count) {
    DataSetHeader h;
    h.startTime = 3000.0;
    h.samplingInterval = 1;
    h.sampleCount = count;
    return h;
  };
  struct Case {
    const char* name;
    std::vector<DataSetHeader> headers;
    std::vector<std::int32_t> heldCounts;  // samples the plot of each data set gets
  };
  const std::vector<Case> cases = {
      {"more samples in each", {header(4), header(9)}, {4, 1}},
      {"more data sets", {header(2), header(3), header(1), header(6)}, {2, 3, 0, 0}},
      {"fewer, larger", {header(50)}, {5}},
      {"same counts", {header(2), header(3)}, {2, 3}},
      {"fewer samples", {header(1), header(1)}, {1, 1}},
      {"negative count", {header(-3), header(2)}, {0, 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DataSetCollection collection;
    ASSERT_TRUE(collection.replaceFromImage({makeDataSet(1000.0, 1, {50.0f, 55.0f}),
                                             makeDataSet(1001.0, 1, {60.0f, 61.0f, 66.0f})}));
    collection.replaceHeaders(c.headers);
    ASSERT_EQ(collection.dataSetCount(), static_cast<int>(c.headers.size()));
    for (int d = 0; d < collection.dataSetCount(); ++d) {
      SCOPED_TRACE(d);
      const std::optional<DataSetView> view = collection.dataSet(d);
      ASSERT_TRUE(view.has_value());
      expectInsideSampleArrays(collection, *view);
      EXPECT_EQ(view->sampleCount, c.heldCounts[d]);
      EXPECT_EQ(view->complete, view->sampleCount == std::max(c.headers[d].sampleCount, 0));
      EXPECT_EQ(view->startTime, 3000.0);
      // Changing the start time moves no more samples than are held.
      ASSERT_TRUE(collection.setStartTime(d, 4000.0 + d));
      EXPECT_EQ(collection.sampleTimes().size(), 5u);
      if (view->sampleCount > 0) {
        EXPECT_EQ(view->sampleTimes[0], 4000.0 + d);
      }
    }
    EXPECT_FALSE(collection.dataSet(collection.dataSetCount()).has_value());
  }
}

TEST(DataSetCollection, ViewOfAFullLoadCarriesItsStatistics) {
  DataSetCollection collection;
  ASSERT_TRUE(collection.replaceFromImage({makeDataSet(1000.0, 1, {50.0f, 55.0f}),
                                           makeDataSet(1001.0, 4, {60.0f, 70.0f, 70.0f, 50.0f})}));
  const DataSetView view = *collection.dataSet(1);
  EXPECT_TRUE(view.complete);
  EXPECT_EQ(view.startTime, 1001.0);
  EXPECT_EQ(view.samplingInterval, 4);
  EXPECT_EQ(view.sampleCount, 4);
  EXPECT_EQ(view.maxIndex, 1);
  EXPECT_EQ(view.minIndex, 3);
  EXPECT_DOUBLE_EQ(view.averageLevel, 62.5);
  EXPECT_EQ(view.levels.data(), collection.levels().data() + 2);
  EXPECT_FLOAT_EQ(view.levels[view.maxIndex], 70.0f);
}

TEST(DataSetGrid, RowCells) {
  DataSetCollection collection;
  ASSERT_TRUE(collection.replaceFromImage({makeDataSet(at(2024, 7, 15, 14, 30, 5), 5, {60.0f, 61.0f, 62.0f}, 0x08),
                                           makeDataSet(at(2026, 12, 9, 0, 0, 0), 70, {}, 0xF7)}));
  EXPECT_EQ(collection.gridRow(0), (QStringList{"1", "7/15/2024", "14:30:05", "00:05", "3", "A"}));
  EXPECT_EQ(collection.gridRow(1), (QStringList{"2", "12/9/2026", "00:00:00", "01:10", "0", "C"}));
  EXPECT_TRUE(collection.gridRow(2).isEmpty());
  EXPECT_TRUE(collection.gridRow(-1).isEmpty());

  // The date follows the user's format at the moment the row is made.
  QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
  EXPECT_EQ(collection.gridRow(0).mid(1, 2), (QStringList{"15/07/2024", "14:30:05"}));
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

TEST(DataSetGrid, RateAndWeightingTexts) {
  const auto rate = [](std::int32_t seconds, const char* expected) {
    EXPECT_EQ(datasetgrid::rateText(seconds), QString::fromLatin1(expected)) << seconds;
  };
  rate(0, "00:00");
  rate(5, "00:05");
  rate(59, "00:59");
  rate(60, "01:00");
  rate(70, "01:10");
  rate(600, "10:00");
  const auto weighting = [](std::uint8_t mode, const char* expected) {
    EXPECT_EQ(datasetgrid::weightingText(mode), QString::fromLatin1(expected)) << int(mode);
  };
  weighting(0x08, "A");
  weighting(0x0C, "A");
  weighting(0xFF, "A");
  weighting(0x00, "C");
  weighting(0xF7, "C");
}
