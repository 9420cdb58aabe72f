// The poll timer: link loss after silent ticks, the poll 'A', the period correction,
// the port change, and a device that goes away and comes back.

#include <gtest/gtest.h>

#include "sim/InProcessMeter.h"
#include "support/LinkFixture.h"

using namespace linktest;

namespace {

class Supervision : public LinkFixture {
 protected:
  // Runs the event loop until the next MainTimer tick has run.
  void runToNextTick() {
    const int before = observer.ticks();
    ASSERT_TRUE(clock.runUntil([&] { return observer.ticks() > before; }, 5000));
  }
  // A meter on COM4 found by the start-up, frames flowing.
  InProcessMeter& meterOnCom4(SimOptions options = {}) {
    meter = std::make_unique<InProcessMeter>(clock, backend.addDevice("COM4"), options);
    link.setPortList({"COM4"});
    EXPECT_TRUE(link.startUp(0, 472));
    clock.runFor(2500);
    EXPECT_TRUE(link.meterConnected());
    return *meter;
  }
  std::unique_ptr<InProcessMeter> meter;
};

}  // namespace

TEST_F(Supervision, ThirdSilentTickLosesTheLinkEmptiesTheBufferAndPolls) {
  ScriptedDevice& device = connectedByHand();
  link.mainTimerTick();  // takes the frame of the identification
  deliver(device.device(), liveFrame().left(9));
  ASSERT_EQ(link.rxBuffer().size(), 9);

  link.mainTimerTick();
  link.mainTimerTick();
  EXPECT_TRUE(link.meterConnected());
  EXPECT_EQ(link.missedTicks(), 2);
  EXPECT_TRUE(observer.lost.empty());
  EXPECT_EQ(device.letters(), "");  // an identified link is not polled

  link.mainTimerTick();
  EXPECT_FALSE(link.meterConnected());
  EXPECT_EQ(link.missedTicks(), 0);
  ASSERT_EQ(observer.lost.size(), 1u);
  EXPECT_TRUE(observer.lost[0].second);
  EXPECT_TRUE(link.rxBuffer().isEmpty());
  EXPECT_EQ(device.letters(), "A");  // the same tick already polls
  EXPECT_FALSE(link.pollBusy());
}

TEST_F(Supervision, UnidentifiedLinkIsPolledEveryTickAndKeepsItsBuffer) {
  ScriptedDevice& device = connectedByHand();
  for (int i = 0; i < 4; ++i) link.mainTimerTick();
  ASSERT_FALSE(link.meterConnected());
  device.forget();
  observer.lost.clear();
  deliver(device.device(), liveFrame().left(5));
  for (int i = 0; i < 3; ++i) link.mainTimerTick();
  EXPECT_EQ(device.letters(), "AAA");
  // Lost again, but it had not been identified: what waits in the buffer stays.
  ASSERT_EQ(observer.lost.size(), 1u);
  EXPECT_FALSE(observer.lost[0].second);
  EXPECT_EQ(link.rxBuffer(), liveFrame().left(5));
}

TEST_F(Supervision, AFrameBetweenTicksRestartsTheCount) {
  ScriptedDevice& device = connectedByHand();
  link.mainTimerTick();
  link.mainTimerTick();
  link.mainTimerTick();
  EXPECT_EQ(link.missedTicks(), 2);
  deliver(device.device(), liveFrame());
  link.mainTimerTick();
  EXPECT_EQ(link.missedTicks(), 0);
  link.mainTimerTick();
  link.mainTimerTick();
  EXPECT_TRUE(link.meterConnected());
  link.mainTimerTick();
  EXPECT_FALSE(link.meterConnected());
}

TEST_F(LinkFixture, PeriodCorrectionTakesTheLatenessOffTheNextInterval) {
  // Ticks run by hand with the timer stopped, so the gaps are exactly the test's.
  FakeSerialDevice& device = backend.addDevice("COM4");
  (void)device;
  openOn("COM4");
  link.mainTimer().stop();
  EXPECT_EQ(link.mainTimer().interval(), LiveLink::kDesignIntervalMs);
  link.mainTimerTick();  // the first tick only records its time
  EXPECT_EQ(link.mainTimer().interval(), LiveLink::kDesignIntervalMs);

  auto check = [this](int intervalMs, int gapMs, int expectedMs) {
    link.mainTimer().setInterval(intervalMs);
    clock.runFor(gapMs);
    link.mainTimerTick();
    EXPECT_EQ(link.mainTimer().interval(), expectedMs) << intervalMs << " ms, tick " << gapMs << " ms after the previous";
  };
  check(100, 100, 1000);    // the design interval: the second tick makes it a second
  check(1000, 1000, 1000);
  check(1000, 1300, 700);
  check(1000, 1700, 500);
  check(1000, 1600, 500);   // 400 would be below the floor
  check(1000, 1499, 501);
  check(1000, 800, 1200);   // early: the next one waits longer
  check(700, 700, 1000);
  check(500, 5000, 500);
  EXPECT_FALSE(link.mainTimer().isActive());  // setting the interval does not start it
}

TEST_F(Supervision, TicksKeepOneSecondApartAndIgnoreWallClockJumps) {
  backend.addDevice("COM4");
  link.setPortList({"COM4"});
  link.startUp(0, 472);
  clock.runFor(3500);
  ASSERT_GE(observer.ticks(), 3);
  EXPECT_EQ(observer.tickTimes[1] - observer.tickTimes[0], LiveLink::kDesignIntervalMs);
  EXPECT_EQ(link.mainTimer().interval(), 1000);

  // The user sets the system time an hour forward, back, and a little back.
  for (double jump : {3600.0, -7200.0, -0.4, 0.6}) {
    SCOPED_TRACE(jump);
    clock.jumpWallClock(jump);
    runToNextTick();
    runToNextTick();
    EXPECT_EQ(link.mainTimer().interval(), 1000);
    const auto& t = observer.tickTimes;
    EXPECT_EQ(t[t.size() - 1] - t[t.size() - 2], 1000);
  }
}

TEST_F(Supervision, AfterAnIdentificationTheFirstTickSets500AndTheNextRestoresASecond) {
  SimOptions options;
  options.silent = true;
  InProcessMeter silentAtFirst(clock, backend.addDevice("COM4"), options);
  link.setPortList({"COM4"});
  ASSERT_FALSE(link.startUp(0, 472));
  clock.runFor(4500);
  ASSERT_EQ(link.mainTimer().interval(), 1000);

  silentAtFirst->setSilent(false);
  ASSERT_TRUE(clock.runUntil([&] { return link.meterConnected(); }, 3000));
  const qint64 identifiedAt = clock.tickMs();
  runToNextTick();
  // MainTimer stood still for the 1.1 s of the exchange: a long gap.
  EXPECT_GT(observer.tickTimes.back() - observer.tickTimes[observer.tickTimes.size() - 2], 2000);
  EXPECT_EQ(link.mainTimer().interval(), LiveLink::kMinIntervalMs);
  EXPECT_LE(observer.tickTimes.back() - identifiedAt, 1001);
  runToNextTick();
  EXPECT_NEAR(link.mainTimer().interval(), 1000, 10);
  EXPECT_TRUE(link.meterConnected());
}

TEST_F(Supervision, PortChangeReopensComm1AndLeavesTheLinkStateToTheTicks) {
  SimOptions options;
  options.model = 471;
  FakeSerialDevice& silentPort = backend.addDevice("COM3");
  meter = std::make_unique<InProcessMeter>(clock, backend.addDevice("COM4"), options);
  link.setPortList({"COM3", "COM4"});
  ASSERT_TRUE(link.startUp(0, 472));
  clock.runFor(2500);
  FakeSerialDevice& meterPort = meter->device();
  const int silentOpens = silentPort.openCount;
  silentPort.hostWritten.clear();

  link.changePort(0);
  EXPECT_EQ(meterPort.openedBy, nullptr);
  EXPECT_EQ(silentPort.openedBy, &link.comm1());
  EXPECT_EQ(silentPort.openCount, silentOpens + 1);
  EXPECT_EQ(link.selectedPortName(), "COM3");
  EXPECT_TRUE(link.meterConnected());
  EXPECT_EQ(link.meterModel(), 471);

  // Frames that came from the old port since the last tick count for the first tick.
  const int silentTicksNeeded = LiveLink::missedTickLimit + (link.frameSeen() ? 1 : 0);
  const QByteArray meterPortBefore = meterPort.hostWritten;
  for (int tick = 1; tick < silentTicksNeeded; ++tick) {
    runToNextTick();
    EXPECT_TRUE(link.meterConnected()) << tick;
  }
  EXPECT_EQ(silentPort.hostWritten, QByteArray());
  runToNextTick();
  EXPECT_FALSE(link.meterConnected());
  ASSERT_EQ(observer.lost.size(), 1u);
  EXPECT_EQ(lettersOf(silentPort.hostWritten), "A");  // polled on the new port, on that tick
  EXPECT_EQ(meterPort.hostWritten, meterPortBefore);

  // And back: the poll finds the meter again.
  link.changePort(1);
  EXPECT_EQ(silentPort.openedBy, nullptr);
  ASSERT_TRUE(clock.runUntil([&] { return link.meterConnected(); }, 3000));
  const std::size_t framesBefore = observer.frames.size();
  clock.runFor(1500);
  EXPECT_GT(observer.frames.size(), framesBefore + 5);
  EXPECT_EQ(observer.identified.size(), 2u);
}

TEST_F(Supervision, ADeviceThatGoesAwayComesBackWhenItReturns) {
  InProcessMeter& sim = meterOnCom4();
  FakeSerialDevice& device = sim.device();
  const int opens = device.openCount;

  // The adapter is pulled: the port closes by itself and cannot be opened.
  device.openedBy->close();
  device.failOpen = true;
  ASSERT_FALSE(link.comm1().isOpen());
  ASSERT_TRUE(clock.runUntil([&] { return !link.meterConnected(); }, 5000));
  ASSERT_EQ(observer.lost.size(), 1u);
  EXPECT_TRUE(observer.lost[0].second);
  clock.runFor(5000);
  EXPECT_FALSE(link.comm1().isOpen());
  EXPECT_EQ(device.openCount, opens);

  // Plugged in again: a tick reopens the port, polls, and the meter is identified.
  device.failOpen = false;
  const int packetsBefore = static_cast<int>(sim->packets().size());
  runToNextTick();
  EXPECT_TRUE(link.comm1().isOpen());
  EXPECT_EQ(device.openCount, opens + 1);
  ASSERT_GT(static_cast<int>(sim->packets().size()), packetsBefore);
  EXPECT_EQ(sim->packets()[packetsBefore][1], 'A');
  ASSERT_TRUE(clock.runUntil([&] { return link.meterConnected(); }, 3000));
  const std::size_t framesBefore = observer.frames.size();
  clock.runFor(1500);
  EXPECT_GT(observer.frames.size(), framesBefore + 5);
  EXPECT_EQ(observer.identified.size(), 2u);
}

TEST_F(Supervision, AClosedPortOfAnIdentifiedLinkIsNotReopenedBeforeTheLoss) {
  InProcessMeter& sim = meterOnCom4();
  FakeSerialDevice& device = sim.device();
  const int opens = device.openCount;
  device.openedBy->close();  // the device stays pluggable
  runToNextTick();
  runToNextTick();
  EXPECT_TRUE(link.meterConnected());
  EXPECT_FALSE(link.comm1().isOpen());
  EXPECT_EQ(device.openCount, opens);
  ASSERT_TRUE(clock.runUntil([&] { return !link.meterConnected(); }, 3000));
  EXPECT_TRUE(link.comm1().isOpen());  // reopened on the tick that lost the link
  EXPECT_EQ(device.openCount, opens + 1);
}
