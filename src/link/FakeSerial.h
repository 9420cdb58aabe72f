#pragma once
// An in-memory serial bus on the virtual clock: named devices, each with a peer
// (normally the simulated meter) on its far side. Ports made by FakeSerialBackend
// behave like the real ones where the protocol code can tell: a device opens in
// one port at a time, bytes arrive over time and raise receive events only from the
// event loop, and what a closed port would have received is lost.

#include <functional>
#include <map>
#include <memory>

#include "link/SerialPort.h"
#include "link/VirtualClock.h"

class FakeSerialPort;

class FakeSerialDevice {
 public:
  FakeSerialDevice(VirtualClock& clock, QString name) : clock_(clock), name_(std::move(name)) {}

  const QString& name() const { return name_; }

  // --- the far side (the peer) ---
  // Bytes the program wrote, as they reach the device.
  std::function<void(const QByteArray&)> onHostWrite;
  // Sends bytes to the program. They start arriving after delayMs; with pacing on,
  // one byte every 1.042 ms as at 9600 baud, else all at once.
  void sendToHost(const QByteArray& bytes, int delayMs = 0);
  bool pacing = false;
  // The device cannot be opened (a port that the system lists but that is in use or broken).
  bool failOpen = false;
  // Every byte the program wrote to this device, in order.
  QByteArray hostWritten;
  // Number of times a port opened the device.
  int openCount = 0;

  // --- the near side (used by FakeSerialPort) ---
  FakeSerialPort* openedBy = nullptr;
  QByteArray received;  // arrived, not yet read

 private:
  void deliver(const QByteArray& bytes);
  VirtualClock& clock_;
  QString name_;
  qint64 busyUntilUs_ = 0;  // pacing: when the wire is free again
};

class FakeSerialPort final : public SerialPort {
 public:
  FakeSerialPort(VirtualClock& clock, std::function<FakeSerialDevice*(const QString&)> lookup);
  ~FakeSerialPort() override;

  void setDeviceName(const QString& name) override { name_ = name; }
  QString deviceName() const override { return name_; }
  bool open() override;
  void close() override;
  bool isOpen() const override { return device_ != nullptr; }
  int bytesWaiting() override;
  QByteArray read(int maxBytes) override;
  QByteArray readExactly(int count, int timeoutMs) override;
  bool write(const QByteArray& bytes) override;
  void discardInput() override;
  void discardOutput() override {}
  void setReceiveHandler(std::function<void()> handler) override;
  bool hasReceiveHandler() const override { return static_cast<bool>(handler_); }

  // Called by the device when bytes arrived.
  void bytesArrived();

 private:
  void scheduleDispatch(int delayMs);
  void dispatch();

  VirtualClock& clock_;
  std::function<FakeSerialDevice*(const QString&)> lookup_;
  QString name_;
  FakeSerialDevice* device_ = nullptr;
  std::function<void()> handler_;
  VirtualClock::Id pendingDispatch_ = 0;
  bool dispatching_ = false;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

class FakeSerialBackend final : public SerialBackend {
 public:
  explicit FakeSerialBackend(VirtualClock& clock) : clock_(clock) {}

  // Adds a device that the system lists under name.
  FakeSerialDevice& addDevice(const QString& name);
  // Adds a device that opens by name but is not in the system's list (a pseudo-terminal).
  FakeSerialDevice& addHiddenDevice(const QString& name);
  FakeSerialDevice* device(const QString& name);

  QStringList portNames() const override { return listed_; }
  std::unique_ptr<SerialPort> createPort() override;

 private:
  VirtualClock& clock_;
  std::map<QString, std::unique_ptr<FakeSerialDevice>> devices_;
  QStringList listed_;
};
