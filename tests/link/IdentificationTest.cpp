// The identification exchange on the first valid frame of an unidentified link, and
// the live command buffer as it goes out on the wire.

#include <gtest/gtest.h>

#include "sim/InProcessMeter.h"
#include "support/LinkFixture.h"

using namespace linktest;

namespace {

class Identification : public LinkFixture {
 protected:
  // An unidentified link on COM4 (start-up without a meter), the logs cleared.
  ScriptedDevice& unidentified() {
    FakeSerialDevice& device = backend.addDevice("COM4");
    scripted = std::make_unique<ScriptedDevice>(device, link);
    openOn("COM4");
    link.mainTimer().stop();
    scripted->forget();
    return *scripted;
  }
  std::unique_ptr<ScriptedDevice> scripted;
};

}  // namespace

TEST_F(Identification, ModelFromTheFourByteReply) {
  struct Case {
    QByteArray reply;  // empty: no reply
    int replyDelayMs;  // after 'K'
    int model;
  };
  const Case cases[] = {
      {"K471", 30, 471},
      {"K472", 30, 472},
      {{}, 0, 472},          // no reply: the data-logging model
      {"471K", 30, 471},     // "471" anywhere in the four bytes
      {"K47", 30, 472},      // short reply
      {"xK471", 30, 472},    // only four bytes are read: "xK47"
      {"ABCD", 30, 472},     // unrecognised
      {"K471", 950, 471},    // the reply is read 1000 ms after 'K'
      {"K471", 1100, 472},   // too late for that read
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.reply.constData() << " after " << c.replyDelayMs << " ms");
    VirtualClock caseClock;
    FakeSerialBackend caseBackend(caseClock);
    LiveLink caseLink(caseClock, caseBackend);
    RecordingObserver caseObserver(caseLink);
    caseLink.setObserver(&caseObserver);
    FakeSerialDevice& device = caseBackend.addDevice("COM4");
    ScriptedDevice meter(device, caseLink);
    if (!c.reply.isEmpty()) meter.answer('K', c.reply, c.replyDelayMs);
    caseLink.setPortList({"COM4"});
    caseLink.openLiveLink();
    caseLink.mainTimer().stop();
    meter.forget();

    const QByteArray frame = liveFrame();
    device.sendToHost(frame);
    caseClock.runFor(1500);

    EXPECT_TRUE(caseLink.meterConnected());
    EXPECT_EQ(caseLink.meterModel(), c.model);
    ASSERT_EQ(caseObserver.identified.size(), 1u);
    EXPECT_EQ(caseObserver.identified[0], std::make_pair(false, c.model));
    // The frame that started it is then decoded and acknowledged.
    ASSERT_EQ(caseObserver.frames.size(), 1u);
    EXPECT_EQ(caseObserver.frames[0], frame);
    EXPECT_EQ(meter.letters(), "KaX");
  }
}

TEST_F(Identification, OwnsThePortWhileItRuns) {
  ScriptedDevice& meter = unidentified();
  meter.answer('K', "K471", 30);
  link.mainTimer().start();
  clock.runFor(1);
  const qint64 arrival = clock.tickMs();
  meter.device().sendToHost(liveFrame());
  clock.runFor(1500);

  ASSERT_EQ(meter.letters(), "KaX");
  const auto& k = meter.seen[0];
  const auto& a = meter.seen[1];
  const auto& x = meter.seen[2];
  // 'K' goes out 100 ms after the frame, with the poll timer stopped and the receive
  // handler detached, so that the reply is read straight from the port.
  EXPECT_GE(k.atMs - arrival, 100);
  EXPECT_FALSE(k.timerActive);
  EXPECT_FALSE(k.handlerAttached);
  // 'a' after the 1000 ms wait for the reply, with the handler back; the timer is
  // started only after it.
  EXPECT_GE(a.atMs - k.atMs, 1000);
  EXPECT_TRUE(a.handlerAttached);
  EXPECT_FALSE(a.timerActive);
  EXPECT_TRUE(x.timerActive);
  EXPECT_TRUE(link.mainTimer().isActive());
  // The reply was consumed by the exchange, not left for the frame splitter.
  EXPECT_TRUE(link.rxBuffer().isEmpty());
}

TEST_F(Identification, StaleInputIsDiscardedBeforeTheQuestion) {
  // More than one event's worth: the frame and 241 bytes go into the buffer, the
  // last 29 bytes (ending in what looks like a 471's reply) are still queued in the
  // port when the exchange starts, and must not be taken as its answer.
  ScriptedDevice& meter = unidentified();
  const QByteArray frame = liveFrame();
  QByteArray stale = QByteArray(285 - 15 - 4, '\x55') + "K471";
  meter.device().sendToHost(frame + stale);
  clock.runFor(1500);
  EXPECT_TRUE(link.meterConnected());
  EXPECT_EQ(link.meterModel(), 472);
  ASSERT_EQ(observer.frames.size(), 1u);
  EXPECT_EQ(observer.frames[0], frame);
}

TEST_F(Identification, AFrameArrivingBeforeTheQuestionIsNotTakenForTheReply) {
  // The first tick's poll and the stream started by 'a' both bring a frame: the
  // second lands while the exchange waits its 100 ms before 'K'.
  ScriptedDevice& meter = unidentified();
  meter.answer('K', "K471", 30);
  meter.device().sendToHost(frameWithLevel(500));
  meter.device().sendToHost(frameWithLevel(501), 20);
  clock.runFor(1500);
  EXPECT_EQ(link.meterModel(), 471);
  ASSERT_EQ(observer.frames.size(), 1u);
  EXPECT_EQ(observer.frames[0], frameWithLevel(500));
}

TEST_F(Identification, BytesBeyondTheReplyAreDiscarded) {
  // A frame behind the reply is dropped with the rest of the port's input.
  ScriptedDevice& meter = unidentified();
  meter.answer('K', QByteArray("K471") + frameWithLevel(999), 30);
  meter.device().sendToHost(liveFrame());
  clock.runFor(1500);
  EXPECT_EQ(link.meterModel(), 471);
  ASSERT_EQ(observer.frames.size(), 1u);
  EXPECT_EQ(observer.frames[0], liveFrame());
  EXPECT_EQ(meter.letters(), "KaX");
}

TEST_F(Identification, SecondFrameInTheSameEventIsDecodedAsAConnectedOne) {
  ScriptedDevice& meter = unidentified();
  meter.device().sendToHost(frameWithLevel(500) + frameWithLevel(501));
  clock.runFor(1500);
  ASSERT_EQ(observer.frames.size(), 2u);
  EXPECT_EQ(observer.frames[1], frameWithLevel(501));
  EXPECT_EQ(meter.letters(), "KaXX");
  EXPECT_EQ(observer.identified.size(), 1u);
}

TEST_F(Identification, HappensOncePerConnection) {
  ScriptedDevice& meter = unidentified();
  for (int i = 0; i < 5; ++i) {
    meter.device().sendToHost(frameWithLevel(600 + i), 0);
    clock.runFor(i == 0 ? 1500 : 100);
  }
  EXPECT_EQ(observer.identified.size(), 1u);
  EXPECT_EQ(observer.frames.size(), 5u);
  EXPECT_EQ(meter.letters(), "KaXXXXX");
}

// ------------------------------------------------------------ the live command buffer

TEST_F(LinkFixture, FirstPacketOfTheStartUpScanCarriesTheInitialK) {
  FakeSerialDevice& device = backend.addDevice("COM1");
  link.setPortList({"COM1"});
  link.startUp(0, 472);
  ASSERT_GE(device.hostWritten.size(), 8);
  EXPECT_EQ(device.hostWritten.left(8).toHex(' '), QByteArray("02 4b 00 00 00 00 00 03"));
  // Then the start-up's 'a' on the reopened port.
  EXPECT_EQ(lettersOf(device.hostWritten), "Ka");
}

TEST_F(LinkFixture, ArgumentBytesOfTheLiveCommandAreZeroInEveryPacketEverSent) {
  FakeSerialDevice& device = backend.addDevice("COM4");
  InProcessMeter meter(clock, device);
  link.setPortList({"COM4"});
  ASSERT_TRUE(link.startUp(0, 472));
  clock.runFor(3000);
  for (char key : {'F', 'C', 'E', 'L', 'l', 'M', 'N'}) {
    link.sendLiveCommand(key);
    // The letter written last stays in the buffer until the next send.
    EXPECT_EQ(link.liveCommand().letter(), key);
    clock.runFor(50);
  }
  // A loss and a new identification, for the poll and the exchange's packets.
  meter->setSilent(true);
  clock.runFor(5000);
  meter->setSilent(false);
  clock.runFor(5000);
  EXPECT_EQ(observer.identified.size(), 2u);

  const auto packets = packetsOf(device.hostWritten);
  ASSERT_GT(packets.size(), 50u);
  QString letters;
  for (const QByteArray& packet : packets) {
    EXPECT_EQ(packet.mid(2, 5), QByteArray(5, '\0')) << packet.toHex(' ').constData();
    if (!letters.contains(QChar::fromLatin1(packet[1]))) letters += QChar::fromLatin1(packet[1]);
  }
  for (char used : {'K', 'a', 'X', 'A', 'F', 'C', 'E', 'L', 'l', 'M', 'N'}) EXPECT_TRUE(letters.contains(QChar::fromLatin1(used))) << used;
  EXPECT_EQ(link.liveCommand().toBytes().mid(2, 5), QByteArray(5, '\0'));
}

TEST_F(LinkFixture, SendingOnAClosedPortDoesNothing) {
  FakeSerialDevice& device = backend.addDevice("COM4");
  link.setPortList({"COM4"});
  ASSERT_FALSE(link.comm1().isOpen());
  link.sendLiveCommand('F');
  EXPECT_TRUE(device.hostWritten.isEmpty());
  EXPECT_EQ(link.liveCommand().letter(), 'F');
}
