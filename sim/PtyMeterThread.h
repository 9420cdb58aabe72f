#pragma once
// The simulated meter on a pseudo-terminal, served from a thread of its own. The
// program's waits block its own thread (as they block the event loop against a
// real meter), so a meter living in the same process must not share it.

#include <memory>

#include <QString>
#include <QThread>

#include "sim/SimulatedMeter.h"

class PtyMeter;

class PtyMeterThread {
 public:
  explicit PtyMeterThread(SimOptions options);
  ~PtyMeterThread();

  // Opens the pseudo-terminal and starts serving; false with errorString() on failure.
  bool start();
  QString slavePath() const { return slavePath_; }
  QString errorString() const { return error_; }

 private:
  SimOptions options_;
  QThread thread_;
  QObject* anchor_ = nullptr;  // lives in thread_, runs work there
  PtyMeter* meter_ = nullptr;  // lives in thread_
  QString slavePath_;
  QString error_;
};
