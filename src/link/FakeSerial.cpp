#include "link/FakeSerial.h"

#include <algorithm>

void FakeSerialDevice::sendToHost(const QByteArray& bytes, int delayMs) {
  if (bytes.isEmpty()) return;
  const qint64 startUs = std::max<qint64>((clock_.tickMs() + delayMs) * 1000, busyUntilUs_);
  if (!pacing) {
    clock_.schedulePeer(startUs / 1000, [this, bytes] { deliver(bytes); });
    return;
  }
  qint64 atUs = startUs;
  for (char byte : bytes) {
    atUs += serial::kByteMicros;
    clock_.schedulePeer(atUs / 1000, [this, byte] { deliver(QByteArray(1, byte)); });
  }
  busyUntilUs_ = atUs;
}

void FakeSerialDevice::deliver(const QByteArray& bytes) {
  if (!openedBy) return;  // nobody listening: lost, as on a real line
  received += bytes;
  openedBy->bytesArrived();
}

FakeSerialPort::FakeSerialPort(VirtualClock& clock, std::function<FakeSerialDevice*(const QString&)> lookup)
    : clock_(clock), lookup_(std::move(lookup)) {}

FakeSerialPort::~FakeSerialPort() {
  *alive_ = false;
  close();
}

bool FakeSerialPort::open() {
  if (device_) return true;
  FakeSerialDevice* device = lookup_(name_);
  if (!device || device->failOpen || device->openedBy) return false;
  device_ = device;
  device->openedBy = this;
  device->received.clear();
  ++device->openCount;
  return true;
}

void FakeSerialPort::close() {
  if (!device_) return;
  device_->openedBy = nullptr;
  device_->received.clear();
  device_ = nullptr;
  if (pendingDispatch_) clock_.cancel(pendingDispatch_);
  pendingDispatch_ = 0;
}

int FakeSerialPort::bytesWaiting() { return device_ ? static_cast<int>(device_->received.size()) : 0; }

QByteArray FakeSerialPort::read(int maxBytes) {
  if (!device_ || maxBytes <= 0) return {};
  QByteArray out = device_->received.left(maxBytes);
  device_->received.remove(0, out.size());
  return out;
}

QByteArray FakeSerialPort::readExactly(int count, int timeoutMs) {
  QByteArray out;
  const qint64 deadline = clock_.tickMs() + timeoutMs;
  while (device_) {
    out += read(count - static_cast<int>(out.size()));
    if (out.size() >= count || clock_.tickMs() >= deadline) break;
    clock_.delayMs(0);  // lets a millisecond of peer work happen
  }
  return out;
}

bool FakeSerialPort::write(const QByteArray& bytes) {
  if (!device_) return false;
  FakeSerialDevice* device = device_;
  device->hostWritten += bytes;
  if (device->onHostWrite) device->onHostWrite(bytes);
  return true;
}

void FakeSerialPort::discardInput() {
  if (device_) device_->received.clear();
}

void FakeSerialPort::setReceiveHandler(std::function<void()> handler) {
  handler_ = std::move(handler);
  if (handler_ && bytesWaiting() > 0) scheduleDispatch(0);
}

void FakeSerialPort::bytesArrived() {
  if (handler_ && !dispatching_) scheduleDispatch(0);
}

void FakeSerialPort::scheduleDispatch(int delayMs) {
  if (pendingDispatch_) return;
  pendingDispatch_ = clock_.postEvent(clock_.tickMs() + delayMs, [this, alive = alive_] {
    if (!*alive) return;
    pendingDispatch_ = 0;
    dispatch();
  });
}

void FakeSerialPort::dispatch() {
  if (!handler_ || !device_ || device_->received.isEmpty()) return;
  auto handler = handler_;
  dispatching_ = true;
  handler();
  dispatching_ = false;
  // What the handler left (or what came while it ran) raises one more event.
  if (handler_ && bytesWaiting() > 0) scheduleDispatch(1);
}

FakeSerialDevice& FakeSerialBackend::addDevice(const QString& name) {
  FakeSerialDevice& device = addHiddenDevice(name);
  if (!listed_.contains(name)) listed_ << name;
  return device;
}

FakeSerialDevice& FakeSerialBackend::addHiddenDevice(const QString& name) {
  auto& slot = devices_[name];
  if (!slot) slot = std::make_unique<FakeSerialDevice>(clock_, name);
  return *slot;
}

FakeSerialDevice* FakeSerialBackend::device(const QString& name) {
  auto it = devices_.find(name);
  return it == devices_.end() ? nullptr : it->second.get();
}

std::unique_ptr<SerialPort> FakeSerialBackend::createPort() {
  return std::make_unique<FakeSerialPort>(clock_, [this](const QString& name) { return device(name); });
}
