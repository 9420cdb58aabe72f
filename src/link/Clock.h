#pragma once
// The clock seam. Every wait, time limit and time stamp of the link and logger code
// goes through a Clock, so the protocol runs against a virtual clock in tests.

#include <functional>
#include <memory>

#include <QtGlobal>

#include "link/TDateTime.h"

// A repeating timer owned by whoever creates it (the main window's MainTimer, the
// panel's blink and long-press timers). Its timeout runs as an ordinary event.
class TickTimer {
 public:
  virtual ~TickTimer() = default;
  virtual void setInterval(int intervalMs) = 0;  // restarts a running timer, as before
  virtual int interval() const = 0;
  virtual void start() = 0;
  virtual void stop() = 0;
  virtual bool isActive() const = 0;
  void setEnabled(bool enabled) { enabled ? start() : stop(); }

  std::function<void()> onTimeout;
};

class Clock {
 public:
  virtual ~Clock() = default;
  // Current local date and time.
  virtual TDateTime now() const = 0;
  // Monotonic milliseconds; deadlines and periods are measured on this, never on now().
  virtual qint64 tickMs() const = 0;
  // Blocks for at least durationMs; no other event of the program runs meanwhile
  // (receive events and timers wait), which is what lets an exchange read its reply
  // straight from the port.
  virtual void delayMs(int durationMs) = 0;
  // Runs pending events of the program (the message pump of the "wait until a flag
  // clears" loops).
  virtual void processEvents() = 0;
  virtual std::unique_ptr<TickTimer> createTimer() = 0;
};

// The real clock: QDateTime, QElapsedTimer, sleeping waits and QTimer.
class SystemClock final : public Clock {
 public:
  SystemClock();
  TDateTime now() const override;
  qint64 tickMs() const override;
  void delayMs(int durationMs) override;
  void processEvents() override;
  std::unique_ptr<TickTimer> createTimer() override;

 private:
  struct Impl;
  std::shared_ptr<Impl> impl_;
};
