#include "sim/SimulatedMeter.h"

#include <algorithm>
#include <cmath>

#include <QDateTime>

namespace {

std::uint8_t bcd(int value) { return static_cast<std::uint8_t>((value / 10) * 16 + value % 10); }

void putWord(QByteArray& frame, int at, int value) {
  value = std::clamp(value, 0, 0xFFFF);
  frame[at] = static_cast<char>(value >> 8);
  frame[at + 1] = static_cast<char>(value & 0xFF);
}

// Range limits in tenths of dB: Lo, Med, Hi, Auto.
constexpr int kRangeLow[4] = {300, 500, 800, 300};
constexpr int kRangeHigh[4] = {800, 1000, 1300, 1300};

}  // namespace

SimulatedMeter::SimulatedMeter(SimScheduler& scheduler, Send send, SimOptions options)
    : scheduler_(scheduler), send_(std::move(send)), options_(options), rng_(options.seed ? options.seed : 1),
      startMs_(scheduler.nowMs()) {}

std::uint32_t SimulatedMeter::random() {
  rng_ = rng_ * 1664525u + 1013904223u;
  return rng_ >> 8;
}

int SimulatedMeter::countOf(char letter) const {
  return static_cast<int>(std::count_if(packets_.begin(), packets_.end(),
                                        [letter](const QByteArray& p) { return p[1] == letter; }));
}

void SimulatedMeter::receive(const QByteArray& bytes) {
  input_ += bytes;
  // Packets are STX, seven bytes, ETX at offset 7; anything else costs a byte.
  while (input_.size() >= 8) {
    if (input_[0] != '\x02' || input_[7] != '\x03') {
      input_.remove(0, 1);
      continue;
    }
    const QByteArray packet = input_.left(8);
    input_.remove(0, 8);
    handlePacket(packet);
  }
}

void SimulatedMeter::handlePacket(const QByteArray& packet) {
  packets_.push_back(packet);
  const char letter = packet[1];
  switch (letter) {
    case 'A':
      sendFrame(options_.pollReplyMs);
      return;
    case 'X':
      awaitingAck_ = false;
      sendFrame(options_.frameIntervalMs);
      return;
    case 'a':
      // Starts the stream when no frame is waiting for its acknowledge; after an
      // identification the frame that started it is still on its way, and two
      // streams must not run side by side.
      if (!awaitingAck_) sendFrame(options_.frameIntervalMs);
      return;
    case 'K':
      if (options_.identifyReply) send(options_.model == 471 ? QByteArray("K471") : QByteArray("K472"), options_.identifyReplyMs);
      return;
    case 'F':
      statusA_ ^= 0x10;
      return;
    case 'C':
      statusA_ ^= 0x08;
      return;
    case 'E':
      if (options_.model == 472) statusA_ ^= 0x01;
      return;
    case 'L':  // the 471's range-up key
      statusB_ = (statusB_ & ~0x03) | ((range() + 1) & 0x03);
      return;
    case 'l':  // LEVEL: the 471 steps down, the 472 cycles up
      statusB_ = (statusB_ & ~0x03) | ((options_.model == 471 ? range() + 3 : range() + 1) & 0x03);
      return;
    case 'M':
      pressMaxMin();
      return;
    case 'N':
      statusA_ &= ~0x04;
      statusB_ &= ~0x0C;
      return;
    default:
      if (loggerSide_) loggerSide_(packet);
      return;
  }
}

void SimulatedMeter::pressMaxMin() {
  // Off -> MAX -> MIN -> MAX and MIN blinking -> MAX ...
  if (!(statusA_ & 0x04)) {
    statusA_ |= 0x04;
    statusB_ = (statusB_ & ~0x0C) | 0x04;
    maxTenths_ = 0;
    minTenths_ = 0xFFFF;
    return;
  }
  const int display = statusB_ & 0x0C;
  const int next = display == 0x04 ? 0x08 : display == 0x08 ? 0x0C : 0x04;
  statusB_ = (statusB_ & ~0x0C) | next;
}

int SimulatedMeter::nextLevelTenths() {
  if (!script_.empty()) {
    const int value = script_[std::min(scriptIndex_, script_.size() - 1)];
    if (scriptIndex_ < script_.size()) ++scriptIndex_;
    return value;
  }
  // A street at some distance: a slow swell, a faster ripple and a little noise.
  const double t = (scheduler_.nowMs() - startMs_) / 1000.0;
  const double level = 62.0 + 8.0 * std::sin(t * 2 * M_PI / 40.0) + 3.0 * std::sin(t * 2 * M_PI / 7.0) +
                       (static_cast<int>(random() % 21) - 10) * 0.1;
  return static_cast<int>(std::lround(level * 10));
}

QByteArray SimulatedMeter::buildFrame() {
  const int level = nextLevelTenths();
  const int r = range();
  statusA_ &= ~0xC0;
  if (level < kRangeLow[r]) statusA_ |= 0x40;
  if (level > kRangeHigh[r]) statusA_ |= 0x80;
  if (statusA_ & 0x04) {
    maxTenths_ = std::max(maxTenths_, level);
    minTenths_ = std::min(minTenths_, level);
  }

  QByteArray frame(15, '\0');
  frame[0] = 0x02;
  frame[1] = static_cast<char>(statusA_);
  frame[2] = static_cast<char>(statusB_ | 0xE0);
  putWord(frame, 3, level);
  putWord(frame, 5, level);
  putWord(frame, 7, (statusA_ & 0x04) ? maxTenths_ : level);
  putWord(frame, 9, (statusA_ & 0x04) ? minTenths_ : level);
  if (options_.model == 472) {
    // The meter stamps a frame with the end of the second it measured.
    const QTime time = datetime::toQDateTime(scheduler_.now()).time().addSecs(1);
    frame[11] = static_cast<char>(bcd(time.hour()));
    frame[12] = static_cast<char>(bcd(time.minute()));
    frame[13] = static_cast<char>(bcd(time.second()));
  }
  frame[14] = 0x03;
  return frame;
}

void SimulatedMeter::sendFrame(int delayMs) {
  if (options_.silent) return;
  awaitingAck_ = true;
  ++framesSent_;
  // The frame is measured when it leaves, not when it was asked for.
  scheduler_.after(delayMs, [this] {
    if (options_.silent) return;
    QByteArray frame = buildFrame();
    if (options_.garbage && random() % 4 == 0) {
      // Line noise: stray bytes, sometimes with a false start marker among them.
      QByteArray noise;
      const int count = 1 + static_cast<int>(random() % 6);
      for (int i = 0; i < count; ++i) noise += static_cast<char>(random() % 2 ? 0x02 : 0xA0 + random() % 32);
      send_(noise, 0);
    }
    if (options_.splitFrames) {
      const int cut = 1 + static_cast<int>(random() % 13);
      send_(frame.left(cut), 0);
      send_(frame.mid(cut), 3);
    } else {
      send_(frame, 0);
    }
  });
}
