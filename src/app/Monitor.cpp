#include "app/Monitor.h"

#include <atomic>
#include <csignal>
#include <cstdio>

#include <QCoreApplication>
#include <QTimer>

#include "link/LiveLink.h"
#include "link/QtSerial.h"
#include "live/FrameDecoder.h"

namespace {

std::atomic<bool> interrupted{false};
void onInterrupt(int) { interrupted = true; }

class MonitorObserver final : public LinkObserver {
 public:
  MonitorObserver(LiveLink& link, FrameDecoder& decoder) : link_(link), decoder_(decoder) {}

  void liveFrame(const QByteArray& frame) override { decoder_.decode(frame); }
  void meterIdentified(bool) override {
    std::fprintf(stderr, "identified: model %d on %s\n", link_.meterModel(), qPrintable(link_.selectedPortName()));
    std::fflush(stderr);
  }
  void linkLost(bool wasConnected) override {
    // Unidentified links are declared lost again every third silent tick; only the
    // loss of a working link is news.
    if (!wasConnected) return;
    std::fprintf(stderr, "link lost\n");
    std::fflush(stderr);
  }

 private:
  LiveLink& link_;
  FrameDecoder& decoder_;
};

}  // namespace

int runPortsCommand(const QStringList& extraPorts) {
  SystemClock clock;
  QtSerialBackend backend(clock);
  QStringList ports = backend.portNames();
  for (const QString& port : extraPorts)
    if (!ports.contains(port)) ports << port;
  for (const QString& port : ports) std::printf("%s\n", qPrintable(port));
  return 0;
}

int runMonitorCommand(const QStringList& ports, bool portsGiven, double seconds) {
  SystemClock clock;
  QtSerialBackend backend(clock);
  LiveLink link(clock, backend);
  FrameDecoder decoder(clock);
  MonitorObserver observer(link, decoder);
  link.setObserver(&observer);
  decoder.frameSink = [&link](const DisplayState& state, TDateTime received) {
    std::printf("%s\n", qPrintable(monitorLine(state, received, link.meterModel())));
    std::fflush(stdout);
  };

  link.setPortList(portsGiven ? ports : backend.portNames());
  if (link.portList().isEmpty()) {
    std::fprintf(stderr, "ml472: no serial port to monitor\n");
    return 1;
  }

  std::signal(SIGINT, onInterrupt);
  std::signal(SIGTERM, onInterrupt);
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [] {
    if (interrupted) QCoreApplication::quit();
  });
  watch.start(50);
  // A precise timer: Qt's default coarse timer may end a 10 s run half a second early.
  if (seconds > 0)
    QTimer::singleShot(static_cast<int>(seconds * 1000), Qt::PreciseTimer, [] { QCoreApplication::quit(); });

  // No remembered settings here: without a meter the link stays on the first port.
  link.startUp(0, 472);
  if (interrupted) return 0;
  QCoreApplication::exec();
  link.closeRequest();
  return 0;
}
