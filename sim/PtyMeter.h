#pragma once
// The simulated meter behind a pseudo-terminal, for end-to-end runs over a real
// serial device node: the program opens slavePath() as it would open a COM port.
// POSIX only; runs in a Qt event loop.

#include <memory>

#include <QElapsedTimer>
#include <QObject>
#include <QSocketNotifier>

#include "sim/SimulatedMeter.h"

class PtyMeter : public QObject, private SimScheduler {
  Q_OBJECT
 public:
  explicit PtyMeter(SimOptions options, QObject* parent = nullptr);
  ~PtyMeter() override;

  // Opens the pseudo-terminal pair; false with errorString() set when that fails.
  bool start();
  QString slavePath() const { return slavePath_; }
  QString errorString() const { return error_; }
  // Send each byte on its own, 1.042 ms apart, as the meter's 9600-baud line does.
  void setPacing(bool pacing) { pacing_ = pacing; }

  SimulatedMeter& meter() { return *meter_; }

 signals:
  // One packet from the program (8 bytes).
  void packetReceived(const QByteArray& packet);

 private:
  qint64 nowMs() const override { return elapsed_.elapsed(); }
  TDateTime now() const override;
  void after(int delayMs, std::function<void()> work) override;
  void readMaster();
  void writeMaster(const QByteArray& bytes, int delayMs);
  void flushPaced();

  SimOptions options_;
  std::unique_ptr<SimulatedMeter> meter_;
  QElapsedTimer elapsed_;
  int master_ = -1;
  int slaveKeeper_ = -1;
  QString slavePath_;
  QString error_;
  std::unique_ptr<QSocketNotifier> notifier_;
  bool pacing_ = false;
  QByteArray pacedQueue_;
  bool pacedRunning_ = false;
  std::size_t reportedPackets_ = 0;
};
