// Receive buffer and frame splitting: examineFrameHead on its own, then the receive
// handler on an identified link fed by hand-built bytes.

#include <gtest/gtest.h>

#include <random>

#include "support/LinkFixture.h"

using namespace linktest;

namespace {

QByteArray bytes(std::initializer_list<int> values) {
  QByteArray out;
  for (int v : values) out += static_cast<char>(v);
  return out;
}

QByteArray withByte(QByteArray frame, int at, int value) {
  frame[at] = static_cast<char>(value);
  return frame;
}

// 14 bytes with no start marker, the last of them not ETX.
const QByteArray kFourteenNoStart = QByteArray(14, '\x55');

}  // namespace

// ------------------------------------------------------------ examineFrameHead

TEST(ExamineFrameHead, OneStepOfTheResynchronisation) {
  const QByteArray frame = liveFrame();
  auto check = [](QByteArray buffer, FrameHead result, const QByteArray& left) {
    const QByteArray input = buffer;
    EXPECT_EQ(examineFrameHead(buffer), result) << input.toHex(' ').constData();
    EXPECT_EQ(buffer.toHex(' ').toStdString(), left.toHex(' ').toStdString()) << input.toHex(' ').constData();
  };
  check(frame, FrameHead::Valid, frame);
  check(frame + frame.left(3), FrameHead::Valid, frame + frame.left(3));
  check(frame.left(14), FrameHead::NeedMore, frame.left(14));
  check(QByteArray(14, '\x55'), FrameHead::NeedMore, QByteArray(14, '\x55'));  // too short even to drop
  check(QByteArray(20, '\x55'), FrameHead::Dropped, {});                       // no start marker at all
  check(bytes({0xAA, 0xBB}) + frame, FrameHead::Dropped, frame);              // garbage up to the marker
  for (int tag : {0xDF, 0xC0, 0x7F, 0x00})  // status tag fails
    check(withByte(frame, 2, tag), FrameHead::Dropped, withByte(frame, 2, tag).mid(1));
  check(withByte(frame, 14, 0x04), FrameHead::Dropped, withByte(frame, 14, 0x04).mid(1));  // no ETX at byte 14
  check(withByte(frame, 2, 0xE0), FrameHead::Valid, withByte(frame, 2, 0xE0));  // lowest tagged byte
  check(withByte(frame, 2, 0xFF), FrameHead::Valid, withByte(frame, 2, 0xFF));
  // A lone start marker: only that byte goes, the rest waits for the next look.
  check(QByteArray(1, '\x02') + kFourteenNoStart + frame, FrameHead::Dropped, kFourteenNoStart + frame);
}

// ------------------------------------------------------------ receive handler

class ReceiveHandler : public LinkFixture {
 protected:
  void SetUp() override {
    meter = &connectedByHand();
    // Each frame's acknowledge must come after the decoder has seen it, and before
    // the next frame is handed over.
    observer.onFrame = [this](const QByteArray&) {
      acksBeforeFrame.push_back(static_cast<int>(meter->letters().count('X')));
    };
  }
  FakeSerialDevice& device() { return meter->device(); }
  void expectFramesAcknowledgedInTurn() {
    for (std::size_t i = 0; i < acksBeforeFrame.size(); ++i) EXPECT_EQ(acksBeforeFrame[i], static_cast<int>(i));
    EXPECT_EQ(meter->letters(), QString(static_cast<int>(observer.frames.size()), 'X'));
  }

  ScriptedDevice* meter = nullptr;
  std::vector<int> acksBeforeFrame;
};

TEST_F(ReceiveHandler, TwoBackToBackFramesAreDecodedInOneEventEachWithItsAcknowledge) {
  const QByteArray first = frameWithLevel(600), second = frameWithLevel(601);
  device().sendToHost(first + second);
  clock.runPending();  // one receive event, no time passing
  ASSERT_EQ(observer.frames.size(), 2u);
  EXPECT_EQ(observer.frames[0], first);
  EXPECT_EQ(observer.frames[1], second);
  expectFramesAcknowledgedInTurn();
  EXPECT_TRUE(link.rxBuffer().isEmpty());
  EXPECT_FALSE(link.rxBusy());
}

TEST_F(ReceiveHandler, FrameSplitOverTwoEventsIsDecodedOnTheSecond) {
  const QByteArray frame = frameWithLevel(0x028E);
  device().sendToHost(frame.left(9));
  clock.runPending();
  EXPECT_TRUE(observer.frames.empty());
  EXPECT_EQ(link.rxBuffer(), frame.left(9));
  EXPECT_EQ(meter->letters(), "");

  device().sendToHost(frame.mid(9));
  clock.runPending();
  ASSERT_EQ(observer.frames.size(), 1u);
  EXPECT_EQ(observer.frames[0], frame);
  expectFramesAcknowledgedInTurn();
}

TEST_F(ReceiveHandler, GarbageAndFalseStartsAreDroppedAndTheFrameBehindThemDecoded) {
  struct Case {
    const char* name;
    QByteArray in;
  };
  const QByteArray frame = frameWithLevel(777);
  const Case cases[] = {
      {"two stray bytes", bytes({0xAA, 0xBB}) + frame},
      {"lone start marker and 14 bytes", QByteArray(1, '\x02') + kFourteenNoStart + frame},
      {"frame with a bad status tag", withByte(liveFrame(), 2, 0xDF) + frame},
      {"frame without ETX", withByte(liveFrame(), 14, 0x00) + frame},
      {"start markers in the garbage", bytes({0x02, 0x02, 0xA1, 0x02}) + frame},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    observer.frames.clear();
    acksBeforeFrame.clear();
    meter->forget();
    deliver(device(), c.in);
    ASSERT_EQ(observer.frames.size(), 1u);
    EXPECT_EQ(observer.frames[0], frame);
    expectFramesAcknowledgedInTurn();
    EXPECT_TRUE(link.rxBuffer().isEmpty());
  }
}

TEST_F(ReceiveHandler, LoneStartMarkerThenFrameInALaterEvent) {
  const QByteArray frame = frameWithLevel(555);
  deliver(device(), QByteArray(1, '\x02') + kFourteenNoStart);
  // Only the false start went; the 14 bytes wait, as they could begin a frame.
  EXPECT_EQ(link.rxBuffer(), kFourteenNoStart);
  deliver(device(), frame);
  ASSERT_EQ(observer.frames.size(), 1u);
  EXPECT_EQ(observer.frames[0], frame);
  EXPECT_TRUE(link.rxBuffer().isEmpty());
}

TEST_F(ReceiveHandler, TwentyBytesWithoutStartMarkerEmptyTheBuffer) {
  deliver(device(), QByteArray(20, '\x41'));
  EXPECT_TRUE(link.rxBuffer().isEmpty());
  EXPECT_TRUE(observer.frames.empty());
  EXPECT_EQ(meter->letters(), "");
}

TEST_F(ReceiveHandler, RejectedFrameCostsOneByteAndIsNotAcknowledged) {
  for (int bad : {0xDF, 0x00, 0x7F, 0xC0}) {
    SCOPED_TRACE(bad);
    const QByteArray frame = withByte(liveFrame(), 2, bad);
    deliver(device(), frame);
    EXPECT_EQ(link.rxBuffer(), frame.mid(1));
    EXPECT_TRUE(observer.frames.empty());
    EXPECT_EQ(meter->letters(), "");
    // The rest of the rejected frame is garbage in front of the next frame.
    deliver(device(), liveFrame());
    EXPECT_EQ(observer.frames.size(), 1u);
    EXPECT_TRUE(link.rxBuffer().isEmpty());
    observer.frames.clear();
    acksBeforeFrame.clear();
    meter->forget();
  }
}

TEST_F(ReceiveHandler, AtMost256BytesAreTakenPerEvent) {
  QByteArray stream;
  for (int i = 0; i < 20; ++i) stream += frameWithLevel(400 + i);  // 300 bytes
  device().sendToHost(stream);
  clock.runPending();  // the first event only
  EXPECT_EQ(link.comm1().bytesWaiting(), 300 - 256);
  EXPECT_EQ(observer.frames.size(), 256u / 15);
  EXPECT_EQ(link.rxBuffer().size(), 256 % 15);

  clock.runFor(5);  // the rest comes with the next event
  ASSERT_EQ(observer.frames.size(), 20u);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(observer.frames[i], frameWithLevel(400 + i)) << i;
  expectFramesAcknowledgedInTurn();
  EXPECT_EQ(link.comm1().bytesWaiting(), 0);
}

TEST_F(ReceiveHandler, BufferNeverHoldsMoreThan14BytesBetweenEventsAndEveryFrameComesThrough) {
  // Frames and line noise (with false start markers, never a tagged byte) in random
  // pieces; between events the buffer may only hold the start of a frame.
  std::mt19937 random(7);
  QByteArray stream;
  std::vector<QByteArray> sent;
  for (int i = 0; i < 200; ++i) {
    if (random() % 3 == 0) {
      const int noise = 1 + static_cast<int>(random() % 20);
      for (int k = 0; k < noise; ++k) stream += static_cast<char>(random() % 4 == 0 ? 0x02 : 0x80 + random() % 0x60);
    }
    FrameFields f;
    f.level = 0x0200 + i;  // the level's high byte is a start marker
    f.statusA = static_cast<std::uint8_t>(random() % 0x20);
    f.statusB = static_cast<std::uint8_t>(0xE0 | (random() % 0x20));
    sent.push_back(liveFrame(f));
    stream += sent.back();
  }
  qsizetype at = 0;
  while (at < stream.size()) {
    const qsizetype piece = 1 + static_cast<qsizetype>(random() % 40);
    device().sendToHost(stream.mid(at, piece));
    at += piece;
    clock.runFor(2);
    ASSERT_LE(link.rxBuffer().size(), 14) << "after " << at << " bytes";
    ASSERT_FALSE(link.rxBusy());
  }
  ASSERT_EQ(observer.frames.size(), sent.size());
  for (std::size_t i = 0; i < sent.size(); ++i) EXPECT_EQ(observer.frames[i], sent[i]) << i;
  expectFramesAcknowledgedInTurn();
}

TEST_F(ReceiveHandler, ValidFrameSetsFrameSeenAndRejectedOneDoesNot) {
  // A tick clears frameSeen.
  link.mainTimerTick();
  ASSERT_FALSE(link.frameSeen());
  deliver(device(), withByte(liveFrame(), 2, 0xDF));
  EXPECT_FALSE(link.frameSeen());
  deliver(device(), liveFrame());
  EXPECT_TRUE(link.frameSeen());
}
