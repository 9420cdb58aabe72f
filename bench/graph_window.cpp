// The graph windows as the user drives them: a cursor dragged over a million
// logged points (cursor fields, the A-B statistics over the points between the
// cursors, the cursor lines and a redraw painted on screen), and one reading
// recorded into a full 99,999-point real-time chart through the recorder, with the
// 0.1-second preset's redraw rule. Offscreen, the window 1200 x 800.

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include <QApplication>
#include <QDateTime>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <qcustomplot.h>

#include "app/RealTimeGraphAdapter.h"
#include "data/DataSetCollection.h"
#include "graph/Annotation.h"
#include "graph/Chart.h"
#include "graph/GraphWindow.h"
#include "graph/Slider2.h"
#include "link/VirtualClock.h"
#include "live/RealTimeRecorder.h"
#include "text/Prompts.h"

namespace {

constexpr int kMillion = 1'000'000;
const TDateTime kStart = datetime::fromQDateTime(QDateTime(QDate(2024, 3, 1), QTime(8, 0, 0)));

struct Shared {
  VirtualClock clock{kStart};
  ScriptedPrompts prompts;
  DataSetCollection collection;
  AnnotationState annotations;
  GraphShared graph{clock, prompts, collection, annotations};
};

void paint(TfrmGraph& window) {
  window.chart().redrawNow();
  window.chart().plot()->repaint();
}

void BM_CursorMoveOverMillionPoints(benchmark::State& state) {
  Shared shared;
  std::vector<ParsedDataSet> sets(1);
  sets[0].header = {kStart, 1, kMillion, 0, 0, 0x08};
  sets[0].levels.resize(kMillion);
  for (int i = 0; i < kMillion; ++i)
    sets[0].levels[i] = static_cast<float>(std::round((60 + 12 * std::sin(i / 500.0) + (static_cast<long long>(i) * 7919 % 100) / 10.0) * 10) / 10);
  shared.collection.replaceFromImage(sets);
  TfrmGraph window(shared.graph, kDataLoggerCaption);
  window.setAttribute(Qt::WA_DeleteOnClose, false);
  window.resize(1200, 800);
  window.show();
  window.plotDataSet(0);
  paint(window);
  // The worst case: thumb A swept while B sits at the far end, so every move
  // scans up to a million points for the statistics between them.
  window.slider().SetValue2(kMillion - 1);
  int value = 0;
  for (auto _ : state) {
    value = (value + 997) % (kMillion / 2);
    window.slider().SetValue1(value);  // the drag's change event: fields, statistics, lines
    paint(window);
  }
  state.counters["points_between"] = kMillion - value;
}
BENCHMARK(BM_CursorMoveOverMillionPoints)->Unit(benchmark::kMillisecond)->MinTime(2.0);

class QuietHost final : public RealTimeHost {
 public:
  bool meterConnected() const override { return true; }
  void setRunStop(bool, bool) override {}
  void showRejectedReadings(const QString&) override {}
  void openRealTimeGraph() override {}
};

void BM_RecordIntoFullRealTimeChart(benchmark::State& state) {
  constexpr int kPoints = 99'999;
  Shared shared;
  QMdiArea area;
  area.resize(1200, 800);
  area.show();
  auto* window = new TfrmGraph(shared.graph, kRealTimeCaption);
  QMdiSubWindow* frame = area.addSubWindow(window);
  frame->setGeometry(0, 0, 1200, 800);
  frame->show();
  RealTimeGraphAdapter view(*window, frame, &area);
  QuietHost host;
  bool unsaved = false;
  RealTimeRecorder recorder(RealTimeContext{shared.clock, shared.prompts, host, shared.annotations.annotationSlotCounter,
                                            unsaved, [] {},
                                            [](const RealTimeSetupRequest&) {
                                              return std::optional<RealTimeSetupAnswer>(
                                                  RealTimeSetupAnswer{QStringLiteral("0.1"), QString::number(kPoints)});
                                            }},
                            0.1f);
  recorder.windowOpened(view);
  recorder.btnRunClick();
  // Fill all but the last few hundred points as 0.1-second readings.
  int recorded = 0;
  auto reading = [&] {
    shared.clock.runFor(100);
    recorder.appendRealTimeReading(static_cast<float>(55 + (recorded % 300) / 10.0), shared.clock.now());
    ++recorded;
  };
  while (recorded < kPoints - 400) reading();
  paint(*window);
  for (auto _ : state) {
    if (!recorder.realTimeRunning()) {
      state.SkipWithError("the chart filled up; raise the headroom");
      break;
    }
    reading();
    // The recorder asked for a redraw (on even counts at this preset); the event
    // loop would now draw it.
    QCoreApplication::processEvents();
  }
  state.counters["points"] = recorder.realTimePointCount();
}
BENCHMARK(BM_RecordIntoFullRealTimeChart)->Unit(benchmark::kMillisecond)->Iterations(300);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
