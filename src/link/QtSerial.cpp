#include "link/QtSerial.h"

#include <QPointer>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <QTimer>

#include "link/Clock.h"

namespace {

class QtSerialPortAdapter final : public QObject, public SerialPort {
 public:
  explicit QtSerialPortAdapter(Clock& clock) : clock_(clock) {
    connect(&port_, &QSerialPort::readyRead, this, [this] { onReadyRead(); });
    connect(&port_, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
      // A vanished device (cable or USB adapter pulled) keeps signalling until the
      // port is closed; close it, and the link supervision reports the loss.
      if (error == QSerialPort::ResourceError || error == QSerialPort::PermissionError) {
        if (port_.isOpen()) port_.close();
      }
    });
  }
  ~QtSerialPortAdapter() override { close(); }

  void setDeviceName(const QString& name) override { port_.setPortName(name); }
  QString deviceName() const override { return port_.portName(); }

  bool open() override {
    if (port_.isOpen()) return true;
    if (!port_.open(QIODevice::ReadWrite)) {
      port_.clearError();
      return false;
    }
    bool ok = port_.setBaudRate(serial::kBaudRate) && port_.setDataBits(QSerialPort::Data8) &&
              port_.setParity(QSerialPort::NoParity) && port_.setStopBits(QSerialPort::OneStop) &&
              port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!ok) {
      port_.close();
      port_.clearError();
      return false;
    }
    // Pseudo-terminals and some adapters have no modem lines: the meter's DTR off /
    // RTS on is applied where it can be, and its failure is not a failure of open().
    port_.setDataTerminalReady(false);
    port_.setRequestToSend(true);
    port_.clearError();
    return true;
  }
  void close() override {
    if (port_.isOpen()) port_.close();
    port_.clearError();
  }
  bool isOpen() const override { return port_.isOpen(); }

  int bytesWaiting() override {
    if (!port_.isOpen()) return 0;
    pullFromDevice(0);
    return static_cast<int>(port_.bytesAvailable());
  }
  QByteArray read(int maxBytes) override {
    if (!port_.isOpen() || maxBytes <= 0) return {};
    if (port_.bytesAvailable() < maxBytes) pullFromDevice(0);
    return port_.read(maxBytes);
  }
  QByteArray readExactly(int count, int timeoutMs) override {
    QByteArray result;
    if (!port_.isOpen()) return result;
    const qint64 deadline = clock_.tickMs() + timeoutMs;
    for (;;) {
      result += port_.read(count - result.size());
      if (result.size() >= count || !port_.isOpen()) break;
      const qint64 left = deadline - clock_.tickMs();
      if (left < 0) break;
      pullFromDevice(static_cast<int>(std::min<qint64>(left, 50)));
    }
    return result;
  }
  bool write(const QByteArray& bytes) override {
    if (!port_.isOpen()) return false;
    if (port_.write(bytes) != bytes.size()) {
      port_.clearError();
      return false;
    }
    // Hand the bytes to the device now: the callers wait with delayMs, during
    // which no event loop would flush Qt's write buffer.
    while (port_.bytesToWrite() > 0) {
      if (!port_.waitForBytesWritten(1000)) {
        port_.clearError();
        return false;
      }
    }
    return true;
  }
  void discardInput() override {
    if (!port_.isOpen()) return;
    pullFromDevice(0);
    port_.clear(QSerialPort::Input);
    port_.readAll();
    port_.clearError();
  }
  void discardOutput() override {
    if (port_.isOpen()) port_.clear(QSerialPort::Output);
    port_.clearError();
  }

  void setReceiveHandler(std::function<void()> handler) override {
    handler_ = std::move(handler);
    if (handler_) scheduleDispatch();
  }
  bool hasReceiveHandler() const override { return static_cast<bool>(handler_); }

 private:
  // QSerialPort::bytesAvailable() counts only what Qt has fetched already; with no
  // event loop running (inside delayMs) only waitForReadyRead fetches from the
  // kernel. It emits readyRead synchronously, which must not start the handler.
  void pullFromDevice(int waitMs) {
    const bool wasPulling = pulling_;
    pulling_ = true;
    port_.waitForReadyRead(waitMs);
    pulling_ = wasPulling;
    port_.clearError();
  }
  void onReadyRead() {
    if (pulling_ || dispatching_ || !handler_) return;
    dispatch();
  }
  void dispatch() {
    dispatchQueued_ = false;
    if (!handler_ || !port_.isOpen()) return;
    dispatching_ = true;
    // Keep the handler alive even if it detaches itself while it runs.
    auto handler = handler_;
    handler();
    dispatching_ = false;
    scheduleDispatch();
  }
  // Bytes left in Qt's buffer (beyond what one event takes, or fetched while the
  // handler ran) get another receive event; readyRead would not come for them.
  void scheduleDispatch() {
    if (dispatchQueued_ || !handler_ || !port_.isOpen() || port_.bytesAvailable() == 0) return;
    dispatchQueued_ = true;
    QTimer::singleShot(0, this, [self = QPointer<QtSerialPortAdapter>(this)] {
      if (self) self->dispatch();
    });
  }

  Clock& clock_;
  QSerialPort port_;
  std::function<void()> handler_;
  bool pulling_ = false;
  bool dispatching_ = false;
  bool dispatchQueued_ = false;
};

}  // namespace

QtSerialBackend::QtSerialBackend(Clock& clock) : clock_(clock) {}

QStringList QtSerialBackend::portNames() const {
  QStringList names;
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) names << info.portName();
  return names;
}

std::unique_ptr<SerialPort> QtSerialBackend::createPort() { return std::make_unique<QtSerialPortAdapter>(clock_); }
