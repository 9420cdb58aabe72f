#include "link/VirtualClock.h"

#include <algorithm>

namespace {

class VirtualTimer final : public TickTimer {
 public:
  explicit VirtualTimer(VirtualClock& clock) : clock_(clock) {}
  ~VirtualTimer() override { stop(); }
  void setInterval(int intervalMs) override {
    interval_ = std::max(0, intervalMs);
    if (isActive()) start();
  }
  int interval() const override { return interval_; }
  void start() override {
    stop();
    armed_ = clock_.postEvent(clock_.tickMs() + std::max(1, interval_), [this] { fire(); });
  }
  void stop() override {
    if (armed_) clock_.cancel(armed_);
    armed_ = 0;
  }
  bool isActive() const override { return armed_ != 0; }

 private:
  void fire() {
    armed_ = clock_.postEvent(clock_.tickMs() + std::max(1, interval_), [this] { fire(); });
    if (onTimeout) onTimeout();
  }
  VirtualClock& clock_;
  int interval_ = 0;
  VirtualClock::Id armed_ = 0;
};

}  // namespace

VirtualClock::VirtualClock(TDateTime start) : start_(start) {}
VirtualClock::~VirtualClock() = default;

TDateTime VirtualClock::now() const { return start_ + (nowMs_ + wallOffsetMs_) / datetime::kMsPerDay; }

void VirtualClock::delayMs(int durationMs) {
  // The real delay ends once more than durationMs have passed on the tick.
  advanceTo(nowMs_ + std::max(0, durationMs) + 1, false);
}

void VirtualClock::processEvents() {
  runPending();
  // A pump that finds nothing to do lets a little time pass, so that a wait loop
  // around it cannot hang the test.
  advanceTo(nowMs_ + 1, true);
}

std::unique_ptr<TickTimer> VirtualClock::createTimer() { return std::make_unique<VirtualTimer>(*this); }

void VirtualClock::runFor(qint64 durationMs) { advanceTo(nowMs_ + std::max<qint64>(0, durationMs), true); }

void VirtualClock::runPending() {
  while (runOne(nowMs_, true)) {
  }
}

bool VirtualClock::runUntil(const std::function<bool()>& predicate, qint64 limitMs) {
  const qint64 end = nowMs_ + limitMs;
  while (!predicate()) {
    if (nowMs_ >= end) return false;
    advanceTo(nowMs_ + 1, true);
  }
  return true;
}

VirtualClock::Id VirtualClock::schedulePeer(qint64 atMs, std::function<void()> work) {
  const Id id = nextId_++;
  const qint64 at = std::max(atMs, nowMs_);
  queue_.emplace(std::make_pair(at, id), Entry{at, id, true, std::move(work)});
  live_.insert(id);
  return id;
}

VirtualClock::Id VirtualClock::postEvent(qint64 atMs, std::function<void()> event) {
  const Id id = nextId_++;
  const qint64 at = std::max(atMs, nowMs_);
  queue_.emplace(std::make_pair(at, id), Entry{at, id, false, std::move(event)});
  live_.insert(id);
  return id;
}

void VirtualClock::cancel(Id id) {
  if (!live_.erase(id)) return;
  for (auto it = queue_.begin(); it != queue_.end(); ++it) {
    if (it->second.id == id) {
      queue_.erase(it);
      return;
    }
  }
}

bool VirtualClock::runOne(qint64 limitMs, bool withEvents) {
  for (auto it = queue_.begin(); it != queue_.end() && it->first.first <= limitMs; ++it) {
    if (!withEvents && !it->second.peer) continue;
    Entry entry = std::move(it->second);
    queue_.erase(it);
    live_.erase(entry.id);
    nowMs_ = std::max(nowMs_, entry.atMs);
    entry.work();
    return true;
  }
  return false;
}

void VirtualClock::advanceTo(qint64 targetMs, bool withEvents) {
  while (runOne(targetMs, withEvents)) {
  }
  nowMs_ = std::max(nowMs_, targetMs);
}
