#pragma once
// A virtual clock for tests and the in-process simulated meter. Time moves only when
// the test (or a delayMs of the code under test) moves it, so exchanges with
// second-long waits run in microseconds and every run is the same.
//
// Two kinds of scheduled work exist, as in the real program:
//  - peer work: what happens outside the program (the meter answering, bytes arriving
//    on the wire). It runs whenever time passes, also inside delayMs.
//  - program events: timer ticks and receive notifications. They run only from the
//    event loop, i.e. runFor()/runUntilIdle()/processEvents(), never inside delayMs.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>

#include "link/Clock.h"

class VirtualClock final : public Clock {
 public:
  explicit VirtualClock(TDateTime start = 46000.5);  // 11 Dec 2025, 12:00
  ~VirtualClock() override;

  TDateTime now() const override;
  qint64 tickMs() const override { return nowMs_; }
  void delayMs(int durationMs) override;
  void processEvents() override;
  std::unique_ptr<TickTimer> createTimer() override;

  // Event loop: advance by durationMs, running peer work and program events in time order.
  void runFor(qint64 durationMs);
  // Runs the program events already due, without moving time.
  void runPending();
  // Advance until predicate holds or the limit passes; returns whether it held.
  bool runUntil(const std::function<bool()>& predicate, qint64 limitMs);

  // Scheduling. The returned id can cancel the entry.
  using Id = std::uint64_t;
  Id schedulePeer(qint64 atMs, std::function<void()> work);
  Id postEvent(qint64 atMs, std::function<void()> event);
  void cancel(Id id);

  // Moves the wall clock (now()) without touching the monotonic tick, as a user
  // changing the system time would.
  void jumpWallClock(double seconds) { wallOffsetMs_ += seconds * 1000.0; }

 private:
  struct Entry {
    qint64 atMs;
    Id id;
    bool peer;
    std::function<void()> work;
  };
  void advanceTo(qint64 targetMs, bool withEvents);
  bool runOne(qint64 limitMs, bool withEvents);

  TDateTime start_;
  qint64 nowMs_ = 0;
  double wallOffsetMs_ = 0;
  Id nextId_ = 1;
  std::map<std::pair<qint64, Id>, Entry> queue_;
  std::set<Id> live_;
};
