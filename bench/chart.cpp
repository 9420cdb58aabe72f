// The chart at the sizes the program meets: a million logged points plotted and
// redrawn, a cursor moved over them, one reading appended to a long real-time
// recording. Every figure includes painting the widget (offscreen, 1200 x 700).

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include <QApplication>
#include <QDateTime>

#include <qcustomplot.h>

#include "graph/Chart.h"

namespace {

constexpr int kMillion = 1'000'000;
const TDateTime kStart = datetime::fromQDateTime(QDateTime(QDate(2024, 3, 1), QTime(8, 0, 0)));

void series(int count, std::vector<TDateTime>& times, std::vector<float>& levels) {
  times.resize(count);
  levels.resize(count);
  for (int i = 0; i < count; ++i) {
    times[i] = kStart + datetime::fromSeconds(i);
    levels[i] = 60.0f + 12.0f * std::sin(static_cast<float>(i) / 500.0f) + static_cast<float>((i * 7919) % 100) / 10.0f;
  }
}

struct BenchChart {
  explicit BenchChart(int count) {
    chart.resize(1200, 700);
    chart.show();
    series(count, times, levels);
    chart.reset(count, {30, 130}, {times.front(), times.back() + datetime::fromSeconds(1)});
    chart.setYAxisLabel(QStringLiteral("dB"));
    chart.applyBuiltInLook();
  }
  void fill() {
    chart.setXValues(times);
    chart.setYValues(levels);
  }
  // What a redraw costs the user: the plot redrawn and the widget painted.
  void show() {
    chart.redrawNow();
    chart.plot()->repaint();
  }
  Chart chart;
  std::vector<TDateTime> times;
  std::vector<float> levels;
};

void BM_PlotMillionPoints(benchmark::State& state) {
  BenchChart bench(kMillion);
  for (auto _ : state) {
    bench.fill();
    bench.show();
  }
  state.SetItemsProcessed(state.iterations() * kMillion);
}
BENCHMARK(BM_PlotMillionPoints)->Unit(benchmark::kMillisecond);

void BM_RedrawMillionPoints(benchmark::State& state) {
  BenchChart bench(kMillion);
  bench.fill();
  bench.show();
  for (auto _ : state) {
    // A whole replot, as after a change of data, range or look.
    bench.chart.plot()->replot(QCustomPlot::rpImmediateRefresh);
  }
}
BENCHMARK(BM_RedrawMillionPoints)->Unit(benchmark::kMillisecond);

void BM_RedrawMillionPointsZoomed(benchmark::State& state) {
  BenchChart bench(kMillion);
  bench.fill();
  bench.show();
  const QRect area = bench.chart.plotArea();
  bench.chart.zoomToRect(QRect(area.left() + 100, area.top() + 100, area.width() / 10, area.height() / 2));
  bench.show();
  for (auto _ : state) bench.chart.plot()->replot(QCustomPlot::rpImmediateRefresh);
}
BENCHMARK(BM_RedrawMillionPointsZoomed)->Unit(benchmark::kMillisecond);

void BM_MoveCursorOverMillionPoints(benchmark::State& state) {
  BenchChart bench(kMillion);
  bench.fill();
  bench.show();
  int step = 0;
  for (auto _ : state) {
    // What the slider's change handler does: place both lines, label them, redraw.
    const int a = (step * 997) % kMillion;
    const int b = (a + kMillion / 3) % kMillion;
    bench.chart.setCursorLinePosition(chart::kCursorA, bench.times[a]);
    bench.chart.setCursorLineText(chart::kCursorA, QStringLiteral("|t%1\n%2dB").arg(a).arg(bench.levels[a], 0, 'f', 1));
    bench.chart.setCursorLinePosition(chart::kCursorB, bench.times[b]);
    bench.chart.setCursorLineText(chart::kCursorB, QStringLiteral("|t%1\n%2dB").arg(b).arg(bench.levels[b], 0, 'f', 1));
    bench.show();
    ++step;
  }
}
BENCHMARK(BM_MoveCursorOverMillionPoints)->Unit(benchmark::kMillisecond);

void BM_AppendToRecording(benchmark::State& state) {
  // A real-time recording planned for 200,000 points with 99,999 recorded; each
  // iteration records the next reading and redraws, as appendRealTimeReading does.
  constexpr int kRecorded = 99'999;
  constexpr int kPlanned = 200'000;
  BenchChart bench(kPlanned);
  bench.chart.blankPoints();
  for (int i = 0; i < kRecorded; ++i) {
    bench.chart.setX(i, bench.times[i]);
    bench.chart.setY(i, bench.levels[i]);
  }
  bench.chart.setXRange(bench.times.front(), bench.times[kRecorded + 5000]);
  bench.show();
  int next = kRecorded;
  for (auto _ : state) {
    bench.chart.setX(next, bench.times[next]);
    bench.chart.setY(next, bench.levels[next]);
    bench.show();
    ++next;
  }
}
BENCHMARK(BM_AppendToRecording)->Unit(benchmark::kMillisecond)->Iterations(2000);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
