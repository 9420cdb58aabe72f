#pragma once
// SerialPort over QSerialPort, and the system's port list over QSerialPortInfo.

#include "link/SerialPort.h"

class Clock;

class QtSerialBackend final : public SerialBackend {
 public:
  explicit QtSerialBackend(Clock& clock);
  QStringList portNames() const override;
  std::unique_ptr<SerialPort> createPort() override;

 private:
  Clock& clock_;
};
