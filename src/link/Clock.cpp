#include "link/Clock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>

namespace {

class QtTickTimer final : public TickTimer {
 public:
  QtTickTimer() {
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (onTimeout) onTimeout();
    });
  }
  void setInterval(int intervalMs) override { timer_.setInterval(intervalMs); }
  int interval() const override { return timer_.interval(); }
  void start() override { timer_.start(); }
  void stop() override { timer_.stop(); }
  bool isActive() const override { return timer_.isActive(); }

 private:
  QTimer timer_;
};

}  // namespace

struct SystemClock::Impl {
  QElapsedTimer elapsed;
};

SystemClock::SystemClock() : impl_(std::make_shared<Impl>()) { impl_->elapsed.start(); }

TDateTime SystemClock::now() const { return datetime::fromQDateTime(QDateTime::currentDateTime()); }

qint64 SystemClock::tickMs() const { return impl_->elapsed.elapsed(); }

void SystemClock::delayMs(int durationMs) {
  // Sleep rather than spin: the wait must not hold a core at 100%. The serial
  // device keeps what arrives in the kernel meanwhile.
  const qint64 start = tickMs();
  for (;;) {
    const qint64 left = durationMs - (tickMs() - start);
    if (left < 0) break;
    QThread::msleep(static_cast<unsigned long>(std::max<qint64>(1, std::min<qint64>(left + 1, 50))));
  }
}

void SystemClock::processEvents() {
  if (QCoreApplication::instance()) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  else QThread::msleep(1);
}

std::unique_ptr<TickTimer> SystemClock::createTimer() { return std::make_unique<QtTickTimer>(); }
