#include "sim/PtyMeter.h"

#include <QDateTime>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

PtyMeter::PtyMeter(SimOptions options, QObject* parent) : QObject(parent), options_(options) {
  elapsed_.start();
  meter_ = std::make_unique<SimulatedMeter>(
      static_cast<SimScheduler&>(*this), [this](const QByteArray& bytes, int delayMs) { writeMaster(bytes, delayMs); },
      options_);
}

PtyMeter::~PtyMeter() {
  notifier_.reset();
  if (master_ >= 0) ::close(master_);
  if (slaveKeeper_ >= 0) ::close(slaveKeeper_);
}

bool PtyMeter::start() {
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
  if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
    error_ = QString::fromLocal8Bit(std::strerror(errno));
    return false;
  }
  slavePath_ = QString::fromLocal8Bit(::ptsname(master_));
  // Keep the slave side open ourselves: with no slave open, the master reports
  // hang-up continuously and everything written would be lost. This way the
  // device behaves like a serial line that is there whether or not a program has
  // it open.
  slaveKeeper_ = ::open(::ptsname(master_), O_RDWR | O_NOCTTY);
  if (slaveKeeper_ < 0) {
    error_ = QString::fromLocal8Bit(std::strerror(errno));
    return false;
  }
  termios raw{};
  ::tcgetattr(slaveKeeper_, &raw);
  ::cfmakeraw(&raw);
  ::cfsetispeed(&raw, B9600);
  ::cfsetospeed(&raw, B9600);
  ::tcsetattr(slaveKeeper_, TCSANOW, &raw);
  ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
  notifier_ = std::make_unique<QSocketNotifier>(master_, QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { readMaster(); });
  return true;
}

TDateTime PtyMeter::now() const { return datetime::fromQDateTime(QDateTime::currentDateTime()); }

void PtyMeter::after(int delayMs, std::function<void()> work) {
  QTimer::singleShot(std::max(0, delayMs), Qt::PreciseTimer, this, std::move(work));
}

void PtyMeter::readMaster() {
  char buffer[512];
  for (;;) {
    const ssize_t n = ::read(master_, buffer, sizeof buffer);
    if (n <= 0) break;
    meter_->receive(QByteArray(buffer, static_cast<int>(n)));
  }
  const auto& packets = meter_->packets();
  for (; reportedPackets_ < packets.size(); ++reportedPackets_) emit packetReceived(packets[reportedPackets_]);
}

void PtyMeter::writeMaster(const QByteArray& bytes, int delayMs) {
  auto write = [this, bytes] {
    if (pacing_) {
      pacedQueue_ += bytes;
      if (!pacedRunning_) flushPaced();
      return;
    }
    qsizetype done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::write(master_, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
      if (n <= 0) break;  // a full line buffer: the rest is lost, as on an overrun line
      done += n;
    }
  };
  if (delayMs <= 0) write();
  else after(delayMs, write);
}

void PtyMeter::flushPaced() {
  if (pacedQueue_.isEmpty()) {
    pacedRunning_ = false;
    return;
  }
  pacedRunning_ = true;
  const char byte = pacedQueue_.at(0);
  pacedQueue_.remove(0, 1);
  (void)!::write(master_, &byte, 1);
  // One byte a millisecond: 9600 baud is 1.042 ms a byte, the timer's grain is 1 ms.
  QTimer::singleShot(1, Qt::PreciseTimer, this, [this] { flushPaced(); });
}
