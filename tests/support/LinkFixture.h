#pragma once
// Shared pieces of the live-link tests: hand-built live frames, the packets a device
// received, an observer that records what the link reports, and a device that plays
// the meter by hand (records every packet with the link's state at that moment and
// answers chosen letters). Everything runs on the virtual clock.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "link/FakeSerial.h"
#include "link/LiveFrame.h"
#include "link/LiveLink.h"
#include "link/VirtualClock.h"

namespace linktest {

struct FrameFields {
  std::uint8_t statusA = 0x18;  // A weighting, FAST
  std::uint8_t statusB = 0xE0;  // range Lo
  int level = 650;
  int display = -1;  // -1: same as level
  int max = -1;
  int min = -1;
  std::uint8_t hours = 0x12, minutes = 0x34, seconds = 0x56;
};

inline QByteArray liveFrame(const FrameFields& f = {}) {
  QByteArray frame(kLiveFrameSize, '\0');
  auto put = [&frame](int at, int value) {
    frame[at] = static_cast<char>((value >> 8) & 0xFF);
    frame[at + 1] = static_cast<char>(value & 0xFF);
  };
  frame[0] = 0x02;
  frame[1] = static_cast<char>(f.statusA);
  frame[2] = static_cast<char>(f.statusB);
  put(3, f.level);
  put(5, f.display < 0 ? f.level : f.display);
  put(7, f.max < 0 ? f.level : f.max);
  put(9, f.min < 0 ? f.level : f.min);
  frame[11] = static_cast<char>(f.hours);
  frame[12] = static_cast<char>(f.minutes);
  frame[13] = static_cast<char>(f.seconds);
  frame[14] = 0x03;
  return frame;
}

inline QByteArray frameWithLevel(int level) {
  FrameFields f;
  f.level = level;
  return liveFrame(f);
}

// The 8-byte packets of a write log. A log that is not made of whole, well-framed
// packets fails the calling test.
inline std::vector<QByteArray> packetsOf(const QByteArray& written) {
  std::vector<QByteArray> packets;
  EXPECT_EQ(written.size() % 8, 0) << "the program wrote a partial packet: " << written.toHex(' ').constData();
  for (qsizetype at = 0; at + 8 <= written.size(); at += 8) {
    const QByteArray packet = written.mid(at, 8);
    EXPECT_EQ(packet[0], '\x02') << packet.toHex(' ').constData();
    EXPECT_EQ(packet[7], '\x03') << packet.toHex(' ').constData();
    packets.push_back(packet);
  }
  return packets;
}

// The letters of a write log, in order ("KaX").
inline QString lettersOf(const QByteArray& written) {
  QString letters;
  for (const QByteArray& packet : packetsOf(written)) letters += QChar::fromLatin1(packet[1]);
  return letters;
}

class RecordingObserver : public LinkObserver {
 public:
  explicit RecordingObserver(LiveLink& link) : link_(link) {}

  void scanningPort(const QString& portName) override { scanned << portName; }
  void liveFrame(const QByteArray& frame) override {
    frames.push_back(frame);
    if (onFrame) onFrame(frame);
  }
  void meterIdentified(bool byScan) override { identified.push_back({byScan, link_.meterModel()}); }
  void linkLost(bool wasConnected) override { lost.push_back({link_.clock().tickMs(), wasConnected}); }
  void pollTick(TDateTime) override { tickTimes.push_back(link_.clock().tickMs()); }

  int ticks() const { return static_cast<int>(tickTimes.size()); }

  std::function<void(const QByteArray&)> onFrame;  // runs inside liveFrame, before the acknowledge
  QStringList scanned;
  std::vector<QByteArray> frames;
  std::vector<std::pair<bool, int>> identified;  // byScan, model
  std::vector<std::pair<qint64, bool>> lost;     // when, wasConnected
  std::vector<qint64> tickTimes;

 private:
  LiveLink& link_;
};

// Plays the meter by hand on one device: answers chosen letters and records, for
// every packet, the link's state as the packet reached the device.
class ScriptedDevice {
 public:
  struct Seen {
    char letter;
    qint64 atMs;
    bool timerActive;
    bool handlerAttached;
  };

  ScriptedDevice(FakeSerialDevice& device, LiveLink& link) : device_(device), link_(link) {
    device_.onHostWrite = [this](const QByteArray& bytes) {
      for (const QByteArray& packet : packetsOf(bytes)) {
        const char letter = packet[1];
        seen.push_back({letter, link_.clock().tickMs(), link_.mainTimer().isActive(), link_.comm1().hasReceiveHandler()});
        auto reply = replies.find(letter);
        if (reply != replies.end()) device_.sendToHost(reply->second.first, reply->second.second);
      }
    };
  }
  ~ScriptedDevice() { device_.onHostWrite = nullptr; }

  void answer(char letter, const QByteArray& bytes, int delayMs) { replies[letter] = {bytes, delayMs}; }
  QString letters() const {
    QString out;
    for (const Seen& s : seen) out += QChar::fromLatin1(s.letter);
    return out;
  }
  void forget() { seen.clear(); }
  FakeSerialDevice& device() { return device_; }

  std::vector<Seen> seen;
  std::map<char, std::pair<QByteArray, int>> replies;

 private:
  FakeSerialDevice& device_;
  LiveLink& link_;
};

class LinkFixture : public ::testing::Test {
 protected:
  LinkFixture() { link.setObserver(&observer); }

  // Comm1 opened on one port with the receive handler, as the start-up leaves it
  // after a scan that found nothing ('a' sent, MainTimer running).
  void openOn(const QString& name) {
    link.setPortList({name});
    link.openLiveLink();
  }

  // A meter played by hand on "COM4", identified (no reply to 'K', so a 472) on a
  // first frame, with the logs then cleared and MainTimer stopped, so that a test
  // sees only what its own bytes cause.
  ScriptedDevice& connectedByHand() {
    FakeSerialDevice& device = backend.addDevice("COM4");
    scripted_ = std::make_unique<ScriptedDevice>(device, link);
    openOn("COM4");
    device.sendToHost(liveFrame());
    clock.runFor(1200);
    EXPECT_TRUE(link.meterConnected());
    EXPECT_EQ(observer.frames.size(), 1u);
    link.mainTimer().stop();
    observer.frames.clear();
    scripted_->forget();
    return *scripted_;
  }

  // Delivers bytes now and runs the receive events they cause.
  void deliver(FakeSerialDevice& device, const QByteArray& bytes) {
    device.sendToHost(bytes);
    clock.runFor(5);
  }

  VirtualClock clock;
  FakeSerialBackend backend{clock};
  LiveLink link{clock, backend};
  RecordingObserver observer{link};

 private:
  std::unique_ptr<ScriptedDevice> scripted_;
};

}  // namespace linktest
