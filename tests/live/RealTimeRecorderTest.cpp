// The real-time recording: the rate gate, the plausibility filter, the maximum and
// minimum, the chart's points and axis, Run's questions and checks, Stop (by hand
// and when the chart is full), Clear, the preset box and the window's closing; and
// the arithmetic behind them (presets, gate, periods).

#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <ostream>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "link/VirtualClock.h"
#include "live/RealTimeRecorder.h"
#include "live/RealTimeRules.h"
#include "text/Formats.h"
#include "text/Texts.h"

// Readable failures.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace {

TDateTime seconds(double s) { return datetime::fromSeconds(s); }

struct EnglishTexts {
  EnglishTexts() { texts::setLanguage(Language::English); }
  ~EnglishTexts() { texts::setLanguage(Language::French); }
};

// What the Real-Time Graph window was told, kept as the window would keep it.
struct FakeGraphView final : RealTimeGraphView {
  struct Point {
    TDateTime x = 0;
    float y = 0;
    bool operator==(const Point&) const = default;
  };
  struct Slider {
    int minimum = 0, maximum = 100, value1 = 0, value2 = 100;
    bool operator==(const Slider&) const = default;
  };
  struct Reset {
    float maxY, minY;
    TDateTime maxX, minX;
    int points;
  };
  struct Annotation {
    TDateTime x;
    double y;
    QString text;
  };

  std::vector<Point> points;
  TDateTime minX = 0, maxX = 0;
  std::map<RealTimeField, QString> fields;
  std::map<RealTimeField, int> fieldWrites;
  Slider slider;
  int presetIndexValue = 0;
  bool clearEnabled = true;
  std::vector<Reset> resets;
  std::map<int, Annotation> annotations;
  int restores = 0, focuses = 0, blanks = 0, cursorClears = 0, sliderSets = 0;
  // The number of points filled so far at each redraw.
  std::vector<int> redrawsAt;
  int filled = 0;
  int writesOutside = 0;
  // A view whose preset box reports programmatic changes as if the user chose.
  RealTimeRecorder* reportPresetChangesTo = nullptr;
  std::vector<std::string>* log = nullptr;

  void restoreWindow() override { ++restores; }
  void focusWindow() override {
    ++focuses;
    if (log) log->push_back("focus");
  }
  void resetChart(float maxY, float minY, TDateTime maxXValue, TDateTime minXValue, int count) override {
    resets.push_back({maxY, minY, maxXValue, minXValue, count});
    points.assign(static_cast<size_t>(count), Point{});
    minX = minXValue;
    maxX = maxXValue;
    filled = 0;
  }
  int chartPoints() const override { return static_cast<int>(points.size()); }
  void setChartPoints(int count) override { points.resize(static_cast<size_t>(count)); }
  void blankChart() override {
    ++blanks;
    for (Point& point : points) point = {};
    filled = 0;
  }
  void setPoint(int index, TDateTime time, float level) override {
    if (index < 0 || index >= chartPoints()) {
      ++writesOutside;
      return;
    }
    points[static_cast<size_t>(index)] = {time, level};
    filled = std::max(filled, index + 1);
  }
  float pointLevel(int index) const override {
    return index >= 0 && index < chartPoints() ? points[static_cast<size_t>(index)].y : 0.0f;
  }
  TDateTime manualMinX() const override { return minX; }
  TDateTime manualMaxX() const override { return maxX; }
  void setManualXRange(TDateTime minXValue, TDateTime maxXValue) override {
    minX = minXValue;
    maxX = maxXValue;
  }
  void resetAnnotationSlots(int firstSlot, int lastSlot) override {
    for (int slot = firstSlot; slot <= lastSlot; ++slot) {
      annotations[slot].x = 0;
      annotations[slot].y = 0;
    }
  }
  void redrawChart() override { redrawsAt.push_back(filled); }
  void setField(RealTimeField field, const QString& text) override {
    fields[field] = text;
    ++fieldWrites[field];
  }
  void clearCursorFields() override { ++cursorClears; }
  void setSlider(int minimum, int maximum, int value1, int value2) override {
    slider = {minimum, maximum, value1, value2};
    ++sliderSets;
  }
  int presetIndex() const override { return presetIndexValue; }
  void setPresetIndex(int index) override {
    presetIndexValue = index;
    if (reportPresetChangesTo) reportPresetChangesTo->txtSamplingRateChange();
  }
  QString presetText() const override { return realtime::presetText(presetIndexValue); }
  void setClearEnabled(bool enabled) override { clearEnabled = enabled; }

  // The user picks a preset in txtSamplingRate.
  void choosePreset(RealTimeRecorder& recorder, int index) {
    presetIndexValue = index;
    recorder.txtSamplingRateChange();
  }
};

struct FakeHost final : RealTimeHost {
  bool connected = true;
  bool runEnabled = true, stopEnabled = false;
  int runStopSets = 0;
  QString edit1 = QStringLiteral("0");
  int opens = 0;
  RealTimeRecorder* recorder = nullptr;
  FakeGraphView* window = nullptr;  // what openRealTimeGraph shows

  bool meterConnected() const override { return connected; }
  void setRunStop(bool run, bool stop) override {
    runEnabled = run;
    stopEnabled = stop;
    ++runStopSets;
  }
  void showRejectedReadings(const QString& text) override { edit1 = text; }
  void openRealTimeGraph() override {
    ++opens;
    if (recorder && window) recorder->windowOpened(*window);
  }
};

// A recorder with the main window's side faked, on a virtual clock.
struct Rig {
  VirtualClock clock;
  ScriptedPrompts prompts;
  FakeHost host;
  FakeGraphView view;
  int annotationSlotCounter = 4;
  bool realTimeUnsaved = false;
  std::deque<std::optional<RealTimeSetupAnswer>> setupAnswers;  // Cancel when empty
  std::vector<RealTimeSetupRequest> setupRequests;
  std::vector<std::string> log;
  int saves = 0;
  RealTimeRecorder recorder{RealTimeContext{clock, prompts, host, annotationSlotCounter, realTimeUnsaved,
                                            [this] {
                                              ++saves;
                                              log.push_back("save");
                                            },
                                            [this](const RealTimeSetupRequest& request) {
                                              setupRequests.push_back(request);
                                              log.push_back("setup");
                                              if (setupAnswers.empty()) return std::optional<RealTimeSetupAnswer>();
                                              auto answer = setupAnswers.front();
                                              setupAnswers.pop_front();
                                              return answer;
                                            }}};

  explicit Rig(bool openWindow = true) {
    host.recorder = &recorder;
    host.window = &view;
    view.log = &log;
    if (openWindow) recorder.windowOpened(view);
  }

  // Run answered with Start.
  void run(const QString& rate, const QString& count) {
    setupAnswers.push_back(RealTimeSetupAnswer{rate, count});
    recorder.btnRunClick();
  }
  void start(int count, const char* rate = "0.1") { run(QString::fromLatin1(rate), QString::number(count)); }
  // One reading handled stepMs after the previous one, stamped with its handling time.
  void feed(float level, int stepMs = 100) {
    clock.runFor(stepMs);
    recorder.appendRealTimeReading(level, clock.now());
  }
  std::vector<float> levels() const {
    std::vector<float> result;
    for (int i = 0; i < recorder.realTimePointCount(); ++i) result.push_back(view.points[static_cast<size_t>(i)].y);
    return result;
  }
};

// ------------------------------------------------------------------ the rules

TEST(RealTimeRules, PresetForRate) {
  auto check = [](double rate, std::optional<int> index) {
    EXPECT_EQ(realtime::presetIndexForRate(rate), index) << rate;
  };
  check(-1.0, 0);
  check(0.1, 0);
  check(0.1499, 0);
  check(0.15, 1);
  check(0.2, 1);
  check(0.25, 2);
  check(0.5, 2);
  check(0.5499, 2);
  check(0.55, 3);
  check(0.6, 3);  // the 1.0 preset, not the nearer 0.5 one
  check(1.0, 3);
  check(1.4999, 3);
  check(1.5, 4);
  check(2.5, 5);
  check(5.0, 5);
  check(5.5, 6);
  check(10.5, 7);
  check(20.5, 8);
  check(30.0, 8);
  check(30.4999, 8);
  check(30.5, std::nullopt);
  check(45.0, std::nullopt);
  check(std::numeric_limits<double>::quiet_NaN(), std::nullopt);
  // The rate is kept as a 32-bit float; its values fall to the same presets.
  check(static_cast<double>(0.55f), 3);
  check(static_cast<double>(0.15f), 1);
}

TEST(RealTimeRules, PresetTextsHaveOneDecimalInTheUsersFormat) {
  EXPECT_EQ(realtime::presetText(0), "0.1");
  EXPECT_EQ(realtime::presetText(3), "1.0");
  EXPECT_EQ(realtime::presetText(8), "30.0");
  EXPECT_EQ(realtime::presetText(9), "");
  QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
  EXPECT_EQ(realtime::presetText(1), "0,2");
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

TEST(RealTimeRules, GateKeepsTheFirstReadingAtOrAfterTheInterval) {
  // Differences as they come out of real time stamps, with their rounding.
  const TDateTime base = 46000.5;
  auto elapsed = [base](int ms) { return (base + ms / datetime::kMsPerDay) - base; };
  auto check = [&](int ms, float rate, bool due) {
    EXPECT_EQ(realtime::readingIsDue(elapsed(ms), rate), due) << ms << " ms at " << rate << " s";
  };
  check(199, 0.2f, false);
  check(200, 0.2f, true);  // 0.2f is a shade above 0.2 s
  check(300, 0.2f, true);
  check(99, 0.1f, false);
  check(100, 0.1f, true);
  check(29999, 30.0f, false);
  check(30000, 30.0f, true);
  check(0, 0.0f, true);
  // The clock set back: due at once.
  EXPECT_TRUE(realtime::readingIsDue(-seconds(3600), 0.2f));
  // Every multiple of 100 ms, at every time of day the stamps may have.
  for (int k = 0; k < 2000; ++k) {
    const TDateTime from = 46000.0 + k * 0.0004321;
    const TDateTime to = from + 200 / datetime::kMsPerDay;
    ASSERT_TRUE(realtime::readingIsDue(to - from, 0.2f)) << k;
  }
}

TEST(RealTimeRules, PlausibleLevels) {
  auto check = [](float level, bool plausible) { EXPECT_EQ(realtime::isPlausibleLevel(level), plausible) << level; };
  check(20.0f, true);
  check(140.0f, true);
  check(19.9f, false);
  check(140.1f, false);
  check(0.0f, false);
  check(65.4f, true);
}

TEST(RealTimeRules, PeriodTexts) {
  auto check = [](double count, double rate, const char* opening, const char* edited) {
    const qint64 s = realtime::periodSeconds(count, rate);
    EXPECT_EQ(realtime::openingPeriodText(s), opening) << count << " x " << rate;
    EXPECT_EQ(realtime::editedPeriodText(s), edited) << count << " x " << rate;
  };
  check(2000, 0.1, "0:3:20", "0:03:20");
  check(2000, static_cast<double>(0.2f), "0:6:40", "0:06:40");
  check(2000, static_cast<double>(0.1f), "0:3:20", "0:03:20");
  check(99999, 30, "833:19:30", "833:19:30");  // hours are not held to two digits
  check(0, 0.1, "0:0:0", "0:00:00");
  check(3600, 1, "1:0:0", "1:00:00");
  check(5, 0.1, "0:0:1", "0:00:01");    // 0.5 s rounds up
  check(4, 0.1, "0:0:0", "0:00:00");    // 0.4 s rounds down
  check(1, 3599.5, "1:0:0", "1:00:00");
  check(10, -2, "-0:0:19", "-0:00:19");  // trunc(-19.5), as the rounding goes
  EXPECT_GT(realtime::periodSeconds(99999, 1e300), 0);  // held, not overflowed
}

TEST(RealTimeRules, CountAndRateFields) {
  auto count = [](const char* text, std::optional<int> expected) {
    EXPECT_EQ(realtime::parseCount(QString::fromLatin1(text)), expected) << '"' << text << '"';
  };
  count(" 2000", 2000);
  count("2000 ", 2000);
  count("0", 0);
  count("99999", 99999);
  count("", std::nullopt);
  count("     ", std::nullopt);
  count("2 00", std::nullopt);
  count(" 2000x", std::nullopt);
  count("-5", std::nullopt);
  count("1.5", std::nullopt);
  EXPECT_EQ(realtime::parseRate(QStringLiteral("0.6")), 0.6);
  EXPECT_EQ(realtime::parseRate(QStringLiteral(" 30.0 ")), 30.0);
  EXPECT_FALSE(realtime::parseRate(QStringLiteral("abc")).has_value());
  EXPECT_FALSE(realtime::parseRate(QString()).has_value());
  EXPECT_EQ(realtime::conversionErrorText(QStringLiteral("abc")), "'abc' is not a valid floating point value");
}

// ------------------------------------------------------------------ readings

TEST(RealTimeRecording, OutOfRangeReadingsTakeTheLastGoodLevelAboveThirty) {
  auto check = [](std::vector<float> readings, std::vector<float> recorded, int rejected) {
    Rig rig;
    rig.start(2000);
    for (float level : readings) rig.feed(level);
    EXPECT_EQ(rig.levels(), recorded) << ::testing::PrintToString(readings);
    EXPECT_EQ(rig.recorder.rejectedReadings(), rejected) << ::testing::PrintToString(readings);
    EXPECT_EQ(rig.host.edit1, QString::number(rejected)) << ::testing::PrintToString(readings);
  };
  check({45.0f, 150.0f}, {45.0f, 45.0f}, 1);
  check({25.0f, 150.0f}, {25.0f}, 1);
  check({150.0f, 10.0f, 45.0f}, {45.0f}, 2);  // nothing good yet: dropped
  check({30.0f, 150.0f}, {30.0f}, 1);          // the last good level must be above 30.0
  check({30.1f, 10.0f}, {30.1f, 30.1f}, 1);
  check({45.0f, 150.0f, 150.0f, 60.0f}, {45.0f, 45.0f, 45.0f, 60.0f}, 2);
  check({20.0f, 140.0f}, {20.0f, 140.0f}, 0);
  check({19.9f, 140.1f}, {}, 2);
}

TEST(RealTimeRecording, EachRunStartsWithoutAGoodLevel) {
  Rig rig;
  rig.start(2000);
  rig.feed(45.0f);
  rig.feed(150.0f);
  rig.recorder.btnStopClick();
  rig.prompts.answers.push_back(PromptButton::No);
  rig.start(2000);
  EXPECT_EQ(rig.host.edit1, "0");
  rig.feed(150.0f);
  EXPECT_EQ(rig.recorder.realTimePointCount(), 0);
  EXPECT_EQ(rig.recorder.rejectedReadings(), 1);
}

TEST(RealTimeRecording, GatePassesEverySecondReadingAtTwoTenths) {
  Rig rig;
  rig.start(2000, "0.2");
  for (int i = 0; i < 20; ++i) rig.feed(60.0f + static_cast<float>(i), 100);
  ASSERT_EQ(rig.recorder.realTimePointCount(), 10);
  for (int i = 1; i < 10; ++i) {
    EXPECT_NEAR(datetime::toSeconds(rig.view.points[i].x - rig.view.points[i - 1].x), 0.2, 1e-6) << i;
  }
  EXPECT_EQ(rig.view.points[0].y, 61.0f);  // the 200 ms one; the one at 100 ms came too early
}

TEST(RealTimeRecording, GateReadsTheClockWhenTheReadingIsHandled) {
  // Stamped 100 ms apart on arrival, but handled 200 ms apart: the gate measures
  // the handling, the points keep the stamps.
  Rig rig;
  rig.start(2000, "0.2");
  const TDateTime firstStamp = rig.clock.now();
  for (int i = 0; i < 5; ++i) {
    rig.clock.runFor(200);
    rig.recorder.appendRealTimeReading(60.0f, firstStamp + i * seconds(0.1));
  }
  ASSERT_EQ(rig.recorder.realTimePointCount(), 5);
  EXPECT_EQ(rig.view.points[4].x, firstStamp + 4 * seconds(0.1));
  EXPECT_EQ(rig.recorder.lastSampleTime(), rig.clock.now());
}

TEST(RealTimeRecording, ADroppedReadingStillRestartsTheInterval) {
  Rig rig;
  rig.start(2000, "0.2");
  rig.feed(10.0f, 200);  // passes the gate, then dropped as implausible
  rig.feed(60.0f, 100);  // only 100 ms after it
  EXPECT_EQ(rig.recorder.realTimePointCount(), 0);
  rig.feed(60.0f, 100);
  EXPECT_EQ(rig.recorder.realTimePointCount(), 1);
}

TEST(RealTimeRecording, ClockSetBackDoesNotStallTheRecording) {
  Rig rig;
  rig.start(2000, "1.0");
  rig.feed(60.0f, 1000);
  rig.clock.jumpWallClock(-3600);
  rig.feed(61.0f, 1000);
  rig.feed(62.0f, 1000);
  EXPECT_EQ(rig.levels(), (std::vector<float>{60.0f, 61.0f, 62.0f}));
}

TEST(RealTimeRecording, MaximumAndMinimumKeepTheirFirstReading) {
  Rig rig;
  rig.start(2000);
  std::vector<TDateTime> times;
  for (float level : {60.0f, 70.0f, 65.0f, 70.0f, 50.0f, 50.0f, 55.0f}) {
    rig.feed(level);
    times.push_back(rig.clock.now());
  }
  EXPECT_EQ(rig.recorder.realTimeMax(), 70.0f);
  EXPECT_EQ(rig.recorder.realTimeMaxTime(), times[1]);
  EXPECT_EQ(rig.recorder.realTimeMin(), 50.0f);
  EXPECT_EQ(rig.recorder.realTimeMinTime(), times[4]);
  EXPECT_EQ(rig.view.fields[RealTimeField::Max], "70.0");
  EXPECT_EQ(rig.view.fields[RealTimeField::MaxTime], formats::dateTime(times[1]));
  EXPECT_EQ(rig.view.fields[RealTimeField::Min], "50.0");
  EXPECT_EQ(rig.view.fields[RealTimeField::MinTime], formats::dateTime(times[4]));
  // Start empties each once; then only the strict rises and falls write.
  EXPECT_EQ(rig.view.fieldWrites[RealTimeField::Max], 1 + 2);
  EXPECT_EQ(rig.view.fieldWrites[RealTimeField::Min], 1 + 2);
  EXPECT_EQ(rig.view.fields[RealTimeField::DataNo], "7");
  EXPECT_TRUE(rig.recorder.realTimeUnsaved());
}

TEST(RealTimeRecording, TimeAxisGrowsInThirtySecondSteps) {
  Rig rig;
  rig.start(2000, "1.0");
  const TDateTime start = rig.clock.now();
  const TDateTime shownEnd = start + 0.0011574074074074073;  // 100 s
  EXPECT_EQ(rig.view.minX, start);
  EXPECT_EQ(rig.view.maxX, shownEnd);
  for (int i = 0; i < 99; ++i) rig.feed(60.0f, 1000);
  EXPECT_EQ(rig.view.maxX, shownEnd);
  rig.feed(60.0f, 2000);  // 101 s: beyond the end
  const TDateTime grown = rig.clock.now() + seconds(30);
  EXPECT_EQ(rig.view.maxX, grown);
  for (int i = 0; i < 29; ++i) rig.feed(60.0f, 1000);
  EXPECT_EQ(rig.view.maxX, grown);
  rig.feed(60.0f, 2000);
  EXPECT_EQ(rig.view.maxX, rig.clock.now() + seconds(30));
  EXPECT_EQ(rig.view.minX, start);
}

TEST(RealTimeRecording, FastestPresetRedrawsOnEvenCountsOnly) {
  Rig fast;
  fast.start(2000, "0.1");
  for (int i = 0; i < 7; ++i) fast.feed(60.0f, 100);
  EXPECT_EQ(fast.view.redrawsAt, (std::vector<int>{2, 4, 6}));

  Rig slow;
  slow.start(2000, "0.2");
  for (int i = 0; i < 4; ++i) slow.feed(60.0f, 200);
  EXPECT_EQ(slow.view.redrawsAt, (std::vector<int>{1, 2, 3, 4}));
}

TEST(RealTimeRecording, LosingTheLinkDoesNotEndIt) {
  Rig rig;
  rig.start(2000, "0.2");
  rig.feed(60.0f, 200);
  rig.host.connected = false;
  rig.clock.runFor(10000);
  rig.host.connected = true;
  rig.feed(61.0f, 200);
  EXPECT_TRUE(rig.recorder.realTimeRunning());
  EXPECT_EQ(rig.levels(), (std::vector<float>{60.0f, 61.0f}));
  EXPECT_TRUE(rig.host.stopEnabled);
}

TEST(RealTimeRecording, NothingIsRecordedWhileStoppedOrWithoutTheWindow) {
  Rig rig;
  rig.feed(60.0f);
  EXPECT_EQ(rig.recorder.realTimePointCount(), 0);
  rig.start(2000);
  rig.feed(60.0f);
  rig.recorder.btnStopClick();
  rig.feed(61.0f);
  EXPECT_EQ(rig.levels(), (std::vector<float>{60.0f}));
}

// ------------------------------------------------------------------ stopping

TEST(RealTimeRecording, StopAfter600Of2000) {
  Rig rig;
  rig.start(2000);
  for (int i = 0; i < 600; ++i) rig.feed(i % 2 ? 71.0f : 60.0f);
  const TDateTime last = rig.view.points[599].x;
  rig.clock.runFor(5000);
  const int restores = rig.view.restores;
  rig.recorder.btnStopClick();

  EXPECT_FALSE(rig.recorder.realTimeRunning());
  EXPECT_TRUE(rig.host.runEnabled);
  EXPECT_FALSE(rig.host.stopEnabled);
  EXPECT_TRUE(rig.view.clearEnabled);
  EXPECT_EQ(rig.view.restores, restores + 1);
  ASSERT_EQ(rig.view.chartPoints(), 600);
  EXPECT_EQ(rig.view.points[599].x, last);
  EXPECT_EQ(rig.view.points[599].y, 71.0f);
  EXPECT_EQ(rig.view.slider, (FakeGraphView::Slider{0, 599, 200, 400}));
  EXPECT_EQ(rig.view.fields[RealTimeField::AvgAll], "65.5");
  EXPECT_EQ(rig.view.maxX, rig.clock.now());
  EXPECT_EQ(rig.view.redrawsAt.back(), 600);
}

TEST(RealTimeRecording, FullChartStopsExactlyAsStopDoes) {
  auto levelOf = [](int i) { return 40.0f + static_cast<float>(i % 97) / 10.0f; };
  // Full: 2000 planned, 2000 readings.
  Rig full;
  full.start(2000);
  for (int i = 0; i < 1999; ++i) full.feed(levelOf(i));
  EXPECT_TRUE(full.recorder.realTimeRunning());
  full.feed(levelOf(1999));
  EXPECT_FALSE(full.recorder.realTimeRunning());
  // Stopped by hand at the same moment, with room left.
  Rig byHand;
  byHand.start(2001);
  for (int i = 0; i < 2000; ++i) byHand.feed(levelOf(i));
  byHand.recorder.btnStopClick();

  EXPECT_EQ(full.view.points, byHand.view.points);
  EXPECT_EQ(full.view.fields, byHand.view.fields);
  EXPECT_EQ(full.view.slider, (FakeGraphView::Slider{0, 1999, 666, 1333}));
  EXPECT_EQ(full.view.slider, byHand.view.slider);
  EXPECT_EQ(full.view.maxX, byHand.view.maxX);
  EXPECT_EQ(full.view.clearEnabled, byHand.view.clearEnabled);
  EXPECT_EQ(full.view.restores, byHand.view.restores);
  EXPECT_EQ(full.host.runEnabled, byHand.host.runEnabled);
  EXPECT_EQ(full.host.stopEnabled, byHand.host.stopEnabled);
  EXPECT_EQ(full.view.redrawsAt.back(), 2000);

  full.feed(60.0f);
  EXPECT_EQ(full.recorder.realTimePointCount(), 2000);
  EXPECT_EQ(full.view.writesOutside, 0);
}

TEST(RealTimeRecording, CountZeroEndsAtTheFirstReadingAndWritesNothing) {
  Rig rig;
  rig.start(0);
  EXPECT_TRUE(rig.recorder.realTimeRunning());
  EXPECT_EQ(rig.view.chartPoints(), 0);
  rig.feed(150.0f);  // no good level yet: dropped, the recording goes on
  EXPECT_TRUE(rig.recorder.realTimeRunning());
  rig.feed(60.0f);
  EXPECT_FALSE(rig.recorder.realTimeRunning());
  EXPECT_EQ(rig.view.writesOutside, 0);
  EXPECT_EQ(rig.view.chartPoints(), 0);
  EXPECT_EQ(rig.recorder.realTimePointCount(), 0);
  EXPECT_FALSE(rig.recorder.realTimeUnsaved());
  EXPECT_EQ(rig.view.fields[RealTimeField::Max], "");
  EXPECT_EQ(rig.view.fields[RealTimeField::AvgAll], "0.0");
  EXPECT_EQ(rig.view.slider, (FakeGraphView::Slider{0, -1, 0, 0}));
  EXPECT_TRUE(rig.host.runEnabled);
}

TEST(RealTimeRecording, StopWithNothingRecordedLeavesTheChartEmpty) {
  Rig rig;
  rig.start(2000);
  rig.recorder.btnStopClick();
  EXPECT_EQ(rig.view.chartPoints(), 0);
  EXPECT_EQ(rig.view.fields[RealTimeField::AvgAll], "0.0");
  EXPECT_EQ(rig.view.slider, (FakeGraphView::Slider{0, -1, 0, 0}));
}

TEST(RealTimeRecording, ClosingTheWindowEndsItWithoutStopsSteps) {
  Rig rig;
  rig.start(2000);
  rig.feed(60.0f);
  rig.host.connected = false;
  const int sliderSets = rig.view.sliderSets;
  rig.recorder.windowClosed();
  EXPECT_FALSE(rig.recorder.realTimeRunning());
  EXPECT_EQ(rig.recorder.realTimePointCount(), 0);
  EXPECT_EQ(rig.recorder.realTimeGraphWindow(), nullptr);
  EXPECT_FALSE(rig.host.runEnabled);  // not connected
  EXPECT_FALSE(rig.host.stopEnabled);
  EXPECT_EQ(rig.view.sliderSets, sliderSets);
  rig.feed(61.0f);  // no window: nothing to write to
  EXPECT_EQ(rig.view.points[1].y, 0.0f);

  Rig connected;
  connected.start(2000);
  connected.recorder.windowClosed();
  EXPECT_TRUE(connected.host.runEnabled);
  EXPECT_FALSE(connected.host.stopEnabled);
}

// ------------------------------------------------------------------ Run

TEST(RealTimeRun, StartsARecording) {
  Rig rig;
  rig.view.fields[RealTimeField::DataNo] = "12";
  rig.view.points[5] = {46000.0, 60.0f};
  rig.view.presetIndexValue = 4;
  rig.clock.runFor(3000);
  rig.run(QStringLiteral("0.5"), QStringLiteral(" 1500"));

  const TDateTime now = rig.clock.now();
  EXPECT_TRUE(rig.recorder.realTimeRunning());
  EXPECT_EQ(rig.recorder.realTimeRate(), 0.5f);
  EXPECT_EQ(rig.view.presetIndexValue, 2);
  EXPECT_EQ(rig.view.chartPoints(), 1500);
  EXPECT_EQ(rig.view.points[5], FakeGraphView::Point{});
  EXPECT_EQ(rig.recorder.realTimePointCount(), 0);
  EXPECT_EQ(rig.recorder.realTimeMax(), -9999.0f);
  EXPECT_EQ(rig.recorder.realTimeMin(), 9999.0f);
  for (RealTimeField field : {RealTimeField::AvgAll, RealTimeField::Max, RealTimeField::Min, RealTimeField::MaxTime,
                              RealTimeField::MinTime}) {
    EXPECT_EQ(rig.view.fields[field], "") << static_cast<int>(field);
  }
  EXPECT_EQ(rig.view.cursorClears, 1);
  EXPECT_EQ(rig.view.fields[RealTimeField::StartTime], formats::dateTime(now));
  EXPECT_EQ(rig.view.minX, now);
  EXPECT_EQ(rig.view.maxX, now + seconds(100));
  EXPECT_FALSE(rig.view.clearEnabled);
  EXPECT_FALSE(rig.host.runEnabled);
  EXPECT_TRUE(rig.host.stopEnabled);
  EXPECT_EQ(rig.host.edit1, "0");
  EXPECT_TRUE(rig.prompts.asked.empty());  // an empty window asks nothing
}

TEST(RealTimeRun, SetupShowsThePresetTextAndThePeriodOf2000Points) {
  Rig rig;  // realTimeRate 0.2 from the settings
  rig.view.presetIndexValue = 1;
  rig.recorder.btnRunClick();
  ASSERT_EQ(rig.setupRequests.size(), 1u);
  EXPECT_EQ(rig.setupRequests[0].rateText, "0.2");
  EXPECT_EQ(rig.setupRequests[0].periodText, "0:6:40");
  EXPECT_FALSE(rig.recorder.realTimeRunning());  // Cancel

  // The period follows realTimeRate, the text the window's preset.
  rig.run(QStringLiteral("0.6"), QStringLiteral("2000"));
  rig.recorder.btnStopClick();
  rig.recorder.btnRunClick();
  ASSERT_EQ(rig.setupRequests.size(), 3u);
  EXPECT_EQ(rig.setupRequests[2].rateText, "1.0");
  EXPECT_EQ(rig.setupRequests[2].periodText, "0:20:0");
}

TEST(RealTimeRun, RateSelectsItsPresetOrKeepsTheSelection) {
  Rig rig;
  rig.view.reportPresetChangesTo = &rig.recorder;  // the box reports the program's changes too
  rig.run(QStringLiteral("0.6"), QStringLiteral("2000"));
  EXPECT_EQ(rig.view.presetIndexValue, 3);
  EXPECT_EQ(rig.recorder.realTimeRate(), 0.6f);  // not the "1.0" the box shows
  rig.recorder.btnStopClick();

  rig.view.presetIndexValue = 5;
  rig.run(QStringLiteral("45"), QStringLiteral("2000"));
  EXPECT_EQ(rig.view.presetIndexValue, 5);
  EXPECT_EQ(rig.recorder.realTimeRate(), 45.0f);
  EXPECT_TRUE(rig.prompts.asked.empty());
}

TEST(RealTimeRun, AsksBeforeResettingARecordedGraph) {
  EnglishTexts english;
  const QString question = QStringLiteral(
      "There are datas in Real_Time graph ,it have to reset the graph.\nDo you want to save the Real-Time graph ?");
  auto recorded = [] {
    auto rig = std::make_unique<Rig>();
    rig->start(2000);
    for (int i = 0; i < 10; ++i) rig->feed(60.0f + static_cast<float>(i));
    rig->recorder.btnStopClick();
    rig->log.clear();
    return rig;
  };

  auto cancel = recorded();
  const auto pointsBefore = cancel->view.points;
  cancel->prompts.answers.push_back(PromptButton::Cancel);
  cancel->start(500);
  ASSERT_EQ(cancel->prompts.asked.size(), 1u);
  EXPECT_EQ(cancel->prompts.asked[0].kind, PromptKind::Confirmation);
  EXPECT_EQ(cancel->prompts.asked[0].text, question);
  EXPECT_EQ(cancel->prompts.asked[0].buttons,
            (std::vector<PromptButton>{PromptButton::Yes, PromptButton::No, PromptButton::Cancel}));
  EXPECT_EQ(cancel->log, (std::vector<std::string>{"focus"}));
  EXPECT_EQ(cancel->view.points, pointsBefore);
  EXPECT_EQ(cancel->recorder.realTimePointCount(), 10);
  EXPECT_FALSE(cancel->recorder.realTimeRunning());

  auto yes = recorded();
  yes->prompts.answers.push_back(PromptButton::Yes);
  yes->start(500);
  EXPECT_EQ(yes->log, (std::vector<std::string>{"focus", "save", "setup"}));
  EXPECT_TRUE(yes->recorder.realTimeRunning());
  EXPECT_EQ(yes->view.chartPoints(), 500);

  auto no = recorded();
  no->prompts.answers.push_back(PromptButton::No);
  no->start(500);
  EXPECT_EQ(no->log, (std::vector<std::string>{"focus", "setup"}));
  EXPECT_EQ(no->saves, 0);
  EXPECT_TRUE(no->recorder.realTimeRunning());

  // A running recording asks too.
  Rig running;
  running.start(2000);
  running.recorder.btnRunClick();
  EXPECT_EQ(running.prompts.asked.size(), 1u);
  EXPECT_TRUE(running.setupRequests.size() == 1u);  // Cancel: no second setup
}

TEST(RealTimeRun, DoesNothingWithoutTheMeter) {
  Rig rig;
  rig.host.connected = false;
  const int restores = rig.view.restores;
  rig.start(2000);
  EXPECT_FALSE(rig.recorder.realTimeRunning());
  EXPECT_TRUE(rig.setupRequests.empty());
  EXPECT_TRUE(rig.prompts.asked.empty());
  EXPECT_EQ(rig.host.runStopSets, 0);
  EXPECT_EQ(rig.view.restores, restores);
  EXPECT_EQ(rig.host.opens, 0);
}

TEST(RealTimeRun, OpensTheWindowWhenItIsNotOpen) {
  Rig rig(false);
  rig.clock.runFor(1000);
  rig.start(300);
  EXPECT_EQ(rig.host.opens, 1);
  ASSERT_EQ(rig.view.resets.size(), 1u);
  const FakeGraphView::Reset& reset = rig.view.resets[0];
  const TDateTime opened = rig.clock.now();
  EXPECT_EQ(reset.maxY, 130.0f);
  EXPECT_EQ(reset.minY, 30.0f);
  EXPECT_EQ(reset.minX, opened);
  EXPECT_NEAR(reset.maxX - opened, seconds(400), 1e-9);  // 2000 points at 0.2 s
  EXPECT_EQ(reset.points, 2000);
  EXPECT_EQ(rig.recorder.lastSampleTime(), opened);
  EXPECT_TRUE(rig.recorder.realTimeRunning());
  EXPECT_EQ(rig.view.chartPoints(), 300);
}

TEST(RealTimeRun, RefusesACountThatIsNotAnInteger) {
  auto check = [](const char* countText) {
    EnglishTexts english;
    Rig rig;
    rig.run(QStringLiteral("0.1"), QString::fromLatin1(countText));
    ASSERT_EQ(rig.prompts.asked.size(), 1u) << countText;
    EXPECT_EQ(rig.prompts.asked[0].text, QString::fromLatin1(countText) + " is not valid.\n");
    EXPECT_FALSE(rig.recorder.realTimeRunning()) << countText;
    EXPECT_EQ(rig.view.chartPoints(), 2000) << countText;
    EXPECT_EQ(rig.view.blanks, 0) << countText;
    EXPECT_EQ(rig.host.runStopSets, 0) << countText;
    EXPECT_EQ(rig.recorder.realTimeRate(), 0.2f) << countText;
  };
  check(" 2000x");
  check("     ");
  check("2 00 ");
  check("-5");
}

TEST(RealTimeRun, RefusesARateThatIsNotANumber) {
  Rig rig;
  rig.run(QStringLiteral("abc"), QStringLiteral("2000x"));  // the rate is read first
  ASSERT_EQ(rig.prompts.asked.size(), 1u);
  EXPECT_EQ(rig.prompts.asked[0].kind, PromptKind::Error);
  EXPECT_EQ(rig.prompts.asked[0].text, "'abc' is not a valid floating point value");
  EXPECT_FALSE(rig.recorder.realTimeRunning());
  EXPECT_EQ(rig.recorder.realTimeRate(), 0.2f);
  EXPECT_EQ(rig.view.blanks, 0);
}

// ------------------------------------------------------------------ Clear and the preset box

TEST(RealTimeClear, EmptiesTheChartAndTheAnnotationSlotsFromThree) {
  Rig rig;
  rig.start(2000);
  for (int i = 0; i < 5; ++i) rig.feed(60.0f + static_cast<float>(i));
  rig.recorder.btnStopClick();
  for (int slot = 0; slot <= 9; ++slot) rig.view.annotations[slot] = {46000.5, 70.0, QStringLiteral("mark")};
  rig.annotationSlotCounter = 9;
  rig.clock.runFor(60000);
  const auto fieldsBefore = rig.view.fields;
  const std::size_t redraws = rig.view.redrawsAt.size();

  rig.recorder.tbntClrClick();
  const TDateTime now = rig.clock.now();
  ASSERT_EQ(rig.view.resets.size(), 2u);
  const FakeGraphView::Reset& reset = rig.view.resets[1];
  EXPECT_EQ(reset.maxY, 130.0f);
  EXPECT_EQ(reset.minY, 30.0f);
  EXPECT_EQ(reset.minX, now);
  EXPECT_EQ(reset.maxX, now + seconds(30));
  EXPECT_EQ(reset.points, 200);
  EXPECT_EQ(rig.view.chartPoints(), 200);
  EXPECT_EQ(rig.recorder.realTimePointCount(), 0);
  for (int slot = 0; slot <= 9; ++slot) {
    const bool moved = slot >= 3;
    EXPECT_EQ(rig.view.annotations[slot].x, moved ? 0.0 : 46000.5) << slot;
    EXPECT_EQ(rig.view.annotations[slot].y, moved ? 0.0 : 70.0) << slot;
    EXPECT_EQ(rig.view.annotations[slot].text, "mark") << slot;
  }
  EXPECT_EQ(rig.annotationSlotCounter, 3);
  EXPECT_EQ(rig.view.redrawsAt.size(), redraws + 1);
  EXPECT_EQ(rig.view.fields, fieldsBefore);
  EXPECT_TRUE(rig.recorder.realTimeUnsaved());

  // The graph is empty now: Run asks nothing.
  rig.start(2000);
  EXPECT_TRUE(rig.prompts.asked.empty());
  EXPECT_TRUE(rig.recorder.realTimeRunning());
}

TEST(RealTimeClear, IsIgnoredWhileRecording) {
  Rig rig;
  rig.start(2000);
  rig.feed(60.0f);
  rig.recorder.tbntClrClick();
  EXPECT_EQ(rig.recorder.realTimePointCount(), 1);
  EXPECT_EQ(rig.annotationSlotCounter, 4);
  EXPECT_EQ(rig.view.resets.size(), 1u);
}

TEST(RealTimePresetBox, ChangesTheRateOnlyWhileStopped) {
  Rig rig;
  rig.view.choosePreset(rig.recorder, 6);
  EXPECT_EQ(rig.recorder.realTimeRate(), 10.0f);
  EXPECT_TRUE(rig.prompts.asked.empty());

  rig.start(2000, "0.5");
  rig.view.choosePreset(rig.recorder, 7);
  EXPECT_EQ(rig.view.presetIndexValue, 2);
  EXPECT_EQ(rig.recorder.realTimeRate(), 0.5f);
  ASSERT_EQ(rig.prompts.asked.size(), 1u);
  EXPECT_EQ(rig.prompts.asked[0].text, "Can not change Sampling Rate while Real-Time is running.");

  rig.recorder.btnStopClick();
  rig.view.choosePreset(rig.recorder, 9);  // a text that does not read as a number
  EXPECT_EQ(rig.recorder.realTimeRate(), 0.5f);
}

}  // namespace
