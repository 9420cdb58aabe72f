// The simulated meter: its side of the protocol on its own, then its faults as the
// live link sees them.

#include <gtest/gtest.h>

#include <numeric>

#include "link/LiveLink.h"
#include "live/DisplayState.h"
#include "sim/InProcessMeter.h"
#include "support/LinkFixture.h"

using linktest::lettersOf;
using linktest::RecordingObserver;

namespace {

QByteArray packet(char letter) { return MeterCommand::withLetter(letter).toBytes(); }

struct Sent {
  qint64 atMs;  // when the meter handed it over
  int delayMs;  // after how long it leaves
  QByteArray bytes;
};

class Meter : public ::testing::Test {
 protected:
  SimulatedMeter& make(SimOptions options = {}) {
    meter = std::make_unique<SimulatedMeter>(
        scheduler, [this](const QByteArray& bytes, int delayMs) { sent.push_back({clock.tickMs(), delayMs, bytes}); },
        options);
    return *meter;
  }
  void press(const QString& letters) {
    for (QChar c : letters) meter->receive(packet(c.toLatin1()));
    clock.runFor(500);
  }

  VirtualClock clock;
  VirtualSimScheduler scheduler{clock};
  std::vector<Sent> sent;
  std::unique_ptr<SimulatedMeter> meter;
};

}  // namespace

TEST_F(Meter, KeysChangeTheStatusBits) {
  struct Case {
    int model;
    const char* keys;
    int statusA, statusB;
  };
  // From A weighting, FAST, range Lo: status A 0x18, B 0xE0.
  const Case cases[] = {
      {472, "", 0x18, 0xE0},
      {472, "F", 0x08, 0xE0},  {472, "FF", 0x18, 0xE0},   // FAST/SLOW
      {472, "C", 0x10, 0xE0},  {471, "C", 0x10, 0xE0},    // A/C
      {472, "E", 0x19, 0xE0},  {472, "EE", 0x18, 0xE0},   // REC, 472 only
      {471, "E", 0x18, 0xE0},
      {471, "L", 0x18, 0xE1},  {471, "LLL", 0x18, 0xE3}, {471, "LLLL", 0x18, 0xE0},  // 471: range up
      {471, "l", 0x18, 0xE3},  {471, "ll", 0x18, 0xE2},   // 471: range down
      {472, "l", 0x18, 0xE1},  {472, "llll", 0x18, 0xE0}, // 472: LEVEL cycles up
      {471, "Ll", 0x18, 0xE0},
      {472, "M", 0x1C, 0xE4},  {472, "MM", 0x1C, 0xE8},   // MAX, MIN,
      {472, "MMM", 0x1C, 0xEC}, {472, "MMMM", 0x1C, 0xE4},  // both blinking, MAX again
      {472, "MN", 0x18, 0xE0}, {472, "MMMN", 0x18, 0xE0}, {471, "MN", 0x18, 0xE0},
      {472, "N", 0x18, 0xE0},
      {472, "FClM", 0x04, 0xE5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.model << " keys \"" << c.keys << "\"");
    SimOptions options;
    options.model = c.model;
    make(options);
    sent.clear();
    press(c.keys);
    EXPECT_EQ(meter->statusA(), c.statusA);
    EXPECT_EQ(meter->statusB(), c.statusB);
    EXPECT_TRUE(sent.empty());  // keys are not answered
    EXPECT_EQ(meter->countOf(c.keys[0]), c.keys[0] ? static_cast<int>(std::count(c.keys, c.keys + strlen(c.keys), c.keys[0])) : 0);
  }
}

TEST_F(Meter, FramesShowTheStateTheLevelAndTheClock) {
  make();
  meter->setLevelScript({654, 250, 850, 0x0203});
  meter->receive(packet('F'));
  meter->receive(packet('M'));
  const QByteArray first = meter->buildFrame();
  ASSERT_TRUE(isValidLiveFrame(first));
  const DisplayState s = decodeLiveFrame(first);
  EXPECT_EQ(s.level, 65.4f);
  EXPECT_FALSE(s.fast);
  EXPECT_TRUE(s.weightingA);
  EXPECT_TRUE(s.maxMinActive);
  EXPECT_EQ(s.maxMinDisplay, 0x04);
  EXPECT_EQ(s.displayValue, 654);  // the MAX since MAX/MIN was pressed
  EXPECT_FALSE(s.under);
  // The meter stamps the frame with the end of the second: the panel's one-second
  // correction brings it back to the time it was taken.
  const QString now = datetime::toQDateTime(clock.now()).time().toString("HH:mm:ss");
  EXPECT_EQ(meterClockText(s.clockBytes), now);

  const DisplayState low = decodeLiveFrame(meter->buildFrame());
  EXPECT_EQ(low.level, 25.0f);
  EXPECT_TRUE(low.under);  // below the Lo range's 30 dB
  EXPECT_EQ(low.displayValue, 654);  // still the MAX
  meter->receive(packet('M'));  // MIN
  const DisplayState high = decodeLiveFrame(meter->buildFrame());
  EXPECT_TRUE(high.over);  // above 80 dB
  EXPECT_FALSE(high.under);
  EXPECT_EQ(high.displayValue, 250);
  // A level whose high byte is a start marker, and the last level is held.
  EXPECT_EQ(decodeLiveFrame(meter->buildFrame()).level, decodeLiveFrame(meter->buildFrame()).level);

  SimOptions options;
  options.model = 471;
  make(options);
  const QByteArray frame471 = meter->buildFrame();
  EXPECT_EQ(frame471.mid(11, 3), QByteArray(3, '\0'));  // no clock on a 471
}

TEST_F(Meter, PacketsAreFoundAcrossSplitWritesAndGarbage) {
  make();
  const QByteArray stream = QByteArray("\xAA\x03", 2) + packet('F') + QByteArray("\x02\x00\x00", 3) + packet('C') +
                            packet('K') + QByteArray(1, '\x02');
  for (char byte : stream) meter->receive(QByteArray(1, byte));
  ASSERT_EQ(meter->packets().size(), 3u);
  EXPECT_EQ(meter->packets()[0], packet('F'));
  EXPECT_EQ(meter->packets()[1], packet('C'));
  EXPECT_EQ(meter->packets()[2], packet('K'));
  meter->receive(packet('A').mid(1));  // completes the trailing start marker
  EXPECT_EQ(meter->countOf('A'), 1);
  EXPECT_EQ(meter->statusA(), 0x18 ^ 0x10 ^ 0x08);
}

TEST_F(Meter, AnswersAndTheirTiming) {
  SimOptions options;
  options.frameIntervalMs = 150;
  options.pollReplyMs = 20;
  options.identifyReplyMs = 30;
  make(options);
  auto frameAfter = [this](char letter, int expectedDelay) {
    sent.clear();
    const qint64 asked = clock.tickMs();
    meter->receive(packet(letter));
    clock.runFor(expectedDelay - 1);
    EXPECT_TRUE(sent.empty()) << letter << ": too early";
    clock.runFor(1);
    ASSERT_EQ(sent.size(), 1u) << letter;
    EXPECT_EQ(sent[0].atMs - asked, expectedDelay) << letter;
    EXPECT_TRUE(isValidLiveFrame(sent[0].bytes)) << letter;
    EXPECT_EQ(sent[0].bytes.size(), 15);
  };
  frameAfter('A', 20);
  frameAfter('X', 150);
  frameAfter('X', 150);
  EXPECT_EQ(meter->framesSent(), 3);

  sent.clear();
  meter->receive(packet('K'));
  clock.runFor(100);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].bytes, QByteArray("K472"));
  EXPECT_EQ(sent[0].delayMs, 30);
}

TEST_F(Meter, StartsTheStreamOnAOnlyWhenNoFrameAwaitsItsAcknowledge) {
  make();
  meter->receive(packet('a'));
  clock.runFor(500);
  EXPECT_EQ(sent.size(), 1u);  // one frame, then it waits for 'X'
  meter->receive(packet('a'));
  clock.runFor(500);
  EXPECT_EQ(sent.size(), 1u);  // the first frame still awaits its 'X'
  meter->receive(packet('X'));
  clock.runFor(500);
  EXPECT_EQ(sent.size(), 2u);
  // A poll is always answered, acknowledged or not.
  meter->receive(packet('A'));
  clock.runFor(500);
  EXPECT_EQ(sent.size(), 3u);
}

TEST_F(Meter, IdentifyAnswersPerModelAndOption) {
  auto reply = [this](int model, bool identifyReply) {
    SimOptions options;
    options.model = model;
    options.identifyReply = identifyReply;
    make(options);
    sent.clear();
    meter->receive(packet('K'));
    clock.runFor(200);
    return sent.empty() ? QByteArray() : sent[0].bytes;
  };
  EXPECT_EQ(reply(472, true), "K472");
  EXPECT_EQ(reply(471, true), "K471");
  EXPECT_EQ(reply(471, false), QByteArray());
}

TEST_F(Meter, SilentAnswersNothingButStillHearsAndTalksAgain) {
  SimOptions options;
  options.silent = true;
  make(options);
  for (char letter : {'A', 'K', 'a', 'X', 'F'}) meter->receive(packet(letter));
  clock.runFor(1000);
  EXPECT_TRUE(sent.empty());
  EXPECT_EQ(meter->packets().size(), 5u);
  EXPECT_EQ(meter->statusA(), 0x08);  // the key still worked
  meter->setSilent(false);
  meter->receive(packet('A'));
  clock.runFor(100);
  EXPECT_EQ(sent.size(), 1u);
}

TEST_F(Meter, FallingSilentDropsTheFrameOnItsWay) {
  make();
  meter->receive(packet('A'));
  meter->setSilent(true);
  clock.runFor(500);
  EXPECT_TRUE(sent.empty());
}

TEST_F(Meter, UnknownLettersGoToTheLoggerSide) {
  make();
  std::vector<QByteArray> logger;
  meter->setPacketHandler([&](const QByteArray& p) {
    logger.push_back(p);
    return true;
  });
  meter->receive(packet('r') + packet('A') + packet('V'));
  ASSERT_EQ(logger.size(), 2u);
  EXPECT_EQ(logger[0][1], 'r');
  EXPECT_EQ(logger[1][1], 'V');
}

// ------------------------------------------------------------ through the live link

namespace {

class MeterOnLink : public ::testing::Test {
 protected:
  InProcessMeter& start(SimOptions options, bool expectFound = true) {
    meter = std::make_unique<InProcessMeter>(clock, backend.addDevice("COM4"), options);
    link.setObserver(&observer);
    link.setPortList({"COM4"});
    EXPECT_EQ(link.startUp(0, 472), expectFound);
    return *meter;
  }
  void everyFrameArrives(bool paced) {
    SimOptions options;
    options.garbage = true;
    options.splitFrames = true;
    options.seed = 20251211;
    InProcessMeter& sim = start(options);
    sim.device().pacing = paced;
    // One distinct level per frame; 512-767 put a start marker in the level's high byte.
    std::vector<int> script(400);
    std::iota(script.begin(), script.end(), 450);
    sim->setLevelScript(script);

    clock.runFor(20000);
    const std::vector<int> levels = decodedLevels();
    ASSERT_GT(levels.size(), 100u);
    ASSERT_LT(levels.size(), script.size());
    EXPECT_EQ(levels, std::vector<int>(script.begin(), script.begin() + static_cast<long>(levels.size())));
    // All but the frame on its way when the run stopped.
    EXPECT_GE(static_cast<int>(levels.size()), sim->framesSent() - 1);
    EXPECT_EQ(sim->countOf('X'), static_cast<int>(levels.size()));
    EXPECT_EQ(observer.identified.size(), 1u);
    EXPECT_TRUE(observer.lost.empty());
  }
  std::vector<int> decodedLevels() const {
    std::vector<int> levels;
    for (const QByteArray& frame : observer.frames)
      levels.push_back(static_cast<std::uint8_t>(frame[3]) * 256 + static_cast<std::uint8_t>(frame[4]));
    return levels;
  }

  VirtualClock clock;
  FakeSerialBackend backend{clock};
  LiveLink link{clock, backend};
  RecordingObserver observer{link};
  std::unique_ptr<InProcessMeter> meter;
};

}  // namespace

TEST_F(MeterOnLink, GarbageAndSplitFramesStillDeliverEveryFrameInOrder) { everyFrameArrives(false); }
TEST_F(MeterOnLink, GarbageAndSplitFramesAtLinePaceStillDeliverEveryFrameInOrder) { everyFrameArrives(true); }

TEST_F(MeterOnLink, NoIdentifyReplyMakesEvenA471A472) {
  SimOptions options;
  options.model = 471;
  options.identifyReply = false;
  start(options, false);
  ASSERT_TRUE(clock.runUntil([&] { return link.meterConnected(); }, 5000));
  EXPECT_EQ(link.meterModel(), 472);
  clock.runFor(2000);
  EXPECT_GT(observer.frames.size(), 10u);
}

TEST_F(MeterOnLink, ASilentMeterIsPolledOnceASecondAndNeverIdentified) {
  SimOptions options;
  options.silent = true;
  InProcessMeter& sim = start(options, false);
  clock.runFor(2000);
  const int before = sim->countOf('A');
  clock.runFor(10000);
  EXPECT_EQ(sim->countOf('A') - before, 10);
  EXPECT_FALSE(link.meterConnected());
  EXPECT_TRUE(observer.frames.empty());
  EXPECT_EQ(lettersOf(sim.device().hostWritten).left(2), "Ka");
}

TEST_F(MeterOnLink, KeysSentThroughTheLinkShowInTheFrames) {
  InProcessMeter& sim = start({});
  clock.runFor(1000);
  link.sendLiveCommand('C');
  link.sendLiveCommand('l');
  clock.runFor(1000);
  const DisplayState s = decodeLiveFrame(observer.frames.back());
  EXPECT_FALSE(s.weightingA);
  EXPECT_EQ(s.range, 1);
  EXPECT_EQ(sim->statusA(), s.statusA);
}
