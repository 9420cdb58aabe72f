#include "sim/PtyMeterThread.h"

#include "sim/PtyMeter.h"

PtyMeterThread::PtyMeterThread(SimOptions options) : options_(options) {
  thread_.setObjectName("simulated meter");
  anchor_ = new QObject;
  anchor_->moveToThread(&thread_);
  QObject::connect(&thread_, &QThread::finished, anchor_, &QObject::deleteLater);
}

PtyMeterThread::~PtyMeterThread() {
  if (thread_.isRunning()) {
    QMetaObject::invokeMethod(
        anchor_,
        [this] {
          delete meter_;
          meter_ = nullptr;
        },
        Qt::BlockingQueuedConnection);
    thread_.quit();
    thread_.wait();
  } else {
    delete anchor_;
  }
}

bool PtyMeterThread::start() {
  thread_.start();
  bool ok = false;
  // Made and started inside the thread, so that its notifier and timers belong to it.
  QMetaObject::invokeMethod(
      anchor_,
      [this, &ok] {
        meter_ = new PtyMeter(options_);
        ok = meter_->start();
        slavePath_ = meter_->slavePath();
        error_ = meter_->errorString();
      },
      Qt::BlockingQueuedConnection);
  return ok;
}
