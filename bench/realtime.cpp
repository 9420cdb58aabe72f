// The recorder's own cost per live reading: a full 99,999-point recording at the
// 0.1-second preset (redraw on every second point) into a view that does nothing,
// so the figure is the gate, the filter, the maximum and minimum, the fields' texts
// and the axis rule. What the real chart adds per point is in bench_chart.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "live/RealTimeRecorder.h"

namespace {

constexpr int kPoints = 99'999;

// A clock that moves only when told.
class SteppedClock final : public Clock {
 public:
  TDateTime now() const override { return start_ + ms_ / datetime::kMsPerDay; }
  qint64 tickMs() const override { return ms_; }
  void delayMs(int durationMs) override { ms_ += durationMs; }
  void processEvents() override {}
  std::unique_ptr<TickTimer> createTimer() override { return nullptr; }
  void advance(qint64 ms) { ms_ += ms; }

 private:
  TDateTime start_ = 46000.5;
  qint64 ms_ = 0;
};

class TrivialView final : public RealTimeGraphView {
 public:
  void restoreWindow() override {}
  void focusWindow() override {}
  void resetChart(float, float, TDateTime maxX, TDateTime minX, int points) override {
    x_.assign(points, 0);
    y_.assign(points, 0);
    minX_ = minX;
    maxX_ = maxX;
  }
  int chartPoints() const override { return static_cast<int>(y_.size()); }
  void setChartPoints(int count) override {
    x_.resize(count);
    y_.resize(count);
  }
  void blankChart() override {
    std::fill(x_.begin(), x_.end(), 0.0);
    std::fill(y_.begin(), y_.end(), 0.0f);
  }
  void setPoint(int index, TDateTime time, float level) override {
    x_[index] = time;
    y_[index] = level;
  }
  float pointLevel(int index) const override { return y_[index]; }
  TDateTime manualMinX() const override { return minX_; }
  TDateTime manualMaxX() const override { return maxX_; }
  void setManualXRange(TDateTime minX, TDateTime maxX) override {
    minX_ = minX;
    maxX_ = maxX;
  }
  void resetAnnotationSlots(int, int) override {}
  void redrawChart() override { ++redraws; }
  void setField(RealTimeField, const QString& text) override { benchmark::DoNotOptimize(text.size()); }
  void clearCursorFields() override {}
  void setSlider(int, int, int, int) override {}
  int presetIndex() const override { return preset_; }
  void setPresetIndex(int index) override { preset_ = index; }
  QString presetText() const override { return QStringLiteral("0.1"); }
  void setClearEnabled(bool) override {}

  int redraws = 0;

 private:
  std::vector<TDateTime> x_;
  std::vector<float> y_;
  TDateTime minX_ = 0, maxX_ = 0;
  int preset_ = 0;
};

class QuietHost final : public RealTimeHost {
 public:
  bool meterConnected() const override { return true; }
  void setRunStop(bool, bool) override {}
  void showRejectedReadings(const QString&) override {}
  void openRealTimeGraph() override {}
};

class NoPrompts final : public Prompts {
 public:
  void message(PromptKind, const QString&) override {}
  PromptButton ask(PromptKind, const QString&, const std::vector<PromptButton>&) override { return PromptButton::No; }
  FileDialogResult openFile(const FileDialogRequest&) override { return {}; }
  FileDialogResult saveFile(const FileDialogRequest&) override { return {}; }
};

void BM_RecordFullChartAtTenthSecond(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    SteppedClock clock;
    NoPrompts prompts;
    QuietHost host;
    TrivialView view;
    int counter = 4;
    bool unsaved = false;
    RealTimeRecorder recorder(
        RealTimeContext{clock, prompts, host, counter, unsaved, [] {},
                        [](const RealTimeSetupRequest&) {
                          return std::optional<RealTimeSetupAnswer>(
                              RealTimeSetupAnswer{QStringLiteral("0.1"), QString::number(kPoints)});
                        }},
        0.1f);
    recorder.windowOpened(view);
    recorder.btnRunClick();
    state.ResumeTiming();
    for (int i = 0; i < kPoints; ++i) {
      clock.advance(100);
      // A level that wanders through new maxima and minima now and then.
      recorder.appendRealTimeReading(40.0f + static_cast<float>((i * 7919) % 900) / 10.0f, clock.now());
    }
    if (recorder.realTimeRunning() || recorder.realTimePointCount() != kPoints) {
      state.SkipWithError("the recording did not fill the chart");
      break;
    }
    benchmark::DoNotOptimize(view.redraws);
  }
  state.SetItemsProcessed(state.iterations() * kPoints);
  state.counters["ns_per_point"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * kPoints, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_RecordFullChartAtTenthSecond)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
