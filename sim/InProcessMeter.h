#pragma once
// The simulated meter on a device of the fake serial bus, timed by the virtual clock.

#include <memory>

#include "link/FakeSerial.h"
#include "sim/SimulatedMeter.h"

class VirtualSimScheduler final : public SimScheduler {
 public:
  explicit VirtualSimScheduler(VirtualClock& clock) : clock_(clock) {}
  qint64 nowMs() const override { return clock_.tickMs(); }
  TDateTime now() const override { return clock_.now(); }
  void after(int delayMs, std::function<void()> work) override {
    clock_.schedulePeer(clock_.tickMs() + delayMs, std::move(work));
  }

 private:
  VirtualClock& clock_;
};

class InProcessMeter {
 public:
  InProcessMeter(VirtualClock& clock, FakeSerialDevice& device, SimOptions options = {})
      : scheduler_(clock),
        device_(device),
        meter_(scheduler_, [&device](const QByteArray& bytes, int delayMs) { device.sendToHost(bytes, delayMs); },
               options) {
    device_.onHostWrite = [this](const QByteArray& bytes) { meter_.receive(bytes); };
  }
  ~InProcessMeter() { device_.onHostWrite = nullptr; }

  SimulatedMeter& meter() { return meter_; }
  SimulatedMeter* operator->() { return &meter_; }
  FakeSerialDevice& device() { return device_; }

 private:
  VirtualSimScheduler scheduler_;
  FakeSerialDevice& device_;
  SimulatedMeter meter_;
};
