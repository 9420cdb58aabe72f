#pragma once
// The serial seam: the operations the link and logger code use, by role, and
// nothing else. Production uses QSerialPort; tests use FakeSerial.h. The protocol
// code takes the port it is given and never opens a device by itself.
//
// Settings are fixed by the meter: 9600 baud, 8 data bits, no parity, one stop
// bit, DTR off, RTS on. Every implementation applies them on open().

#include <functional>
#include <memory>

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace serial {
inline constexpr int kBaudRate = 9600;
// Time one byte takes on the wire at 9600 8N1 (10 bits), in microseconds.
inline constexpr int kByteMicros = 1042;
}  // namespace serial

class SerialPort {
 public:
  virtual ~SerialPort() = default;

  // The port name as listed in the port list ("COM12", "ttyUSB0", "/dev/pts/3").
  virtual void setDeviceName(const QString& name) = 0;
  virtual QString deviceName() const = 0;

  // Opening or closing never throws and never shows anything; open() says whether it worked.
  virtual bool open() = 0;
  virtual void close() = 0;
  virtual bool isOpen() const = 0;

  // Bytes received and not yet read, including those the OS holds but the port
  // object has not fetched yet.
  virtual int bytesWaiting() = 0;
  // Up to maxBytes of what is waiting now, without waiting.
  virtual QByteArray read(int maxBytes) = 0;
  // Waits until count bytes have come or timeoutMs has passed (on the clock the
  // port was made with); returns what came, possibly fewer.
  virtual QByteArray readExactly(int count, int timeoutMs) = 0;
  // Writes all bytes; false when the port is closed or the write failed.
  virtual bool write(const QByteArray& bytes) = 0;
  virtual void discardInput() = 0;
  virtual void discardOutput() = 0;

  // The receive event. The handler runs as an ordinary event when bytes arrive and
  // is never re-entered: bytes that arrive while it runs give one more event after it.
  // An empty function detaches it.
  virtual void setReceiveHandler(std::function<void()> handler) = 0;
  virtual bool hasReceiveHandler() const = 0;
};

// Makes ports and lists the system's port names.
class SerialBackend {
 public:
  virtual ~SerialBackend() = default;
  virtual QStringList portNames() const = 0;
  virtual std::unique_ptr<SerialPort> createPort() = 0;
};
