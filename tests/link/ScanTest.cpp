// The start-up search for the meter and the fall-back to the remembered port.

#include <gtest/gtest.h>

#include "sim/InProcessMeter.h"
#include "support/LinkFixture.h"

using namespace linktest;

namespace {

class Scan : public LinkFixture {
 protected:
  // COM1 cannot be opened, COM3 is silent, the meter is on COM4.
  void threePorts(SimOptions options = {}) {
    backend.addDevice("COM1").failOpen = true;
    backend.addDevice("COM3");
    meter = std::make_unique<InProcessMeter>(clock, backend.addDevice("COM4"), options);
    link.setPortList({"COM1", "COM3", "COM4"});
  }
  FakeSerialDevice& device(const char* name) { return *backend.device(name); }
  std::unique_ptr<InProcessMeter> meter;
};

}  // namespace

TEST_F(Scan, UnopenablePortIsRemovedSilentOneClosedAndTheMeterFound) {
  threePorts();
  const qint64 start = clock.tickMs();
  ASSERT_TRUE(link.scanPorts());

  EXPECT_EQ(link.portList(), QStringList({"COM3", "COM4"}));
  EXPECT_EQ(link.selectedPort(), 1);
  EXPECT_EQ(link.selectedPortName(), "COM4");
  EXPECT_TRUE(link.meterConnected());
  EXPECT_EQ(link.meterModel(), 472);
  EXPECT_EQ(observer.scanned, QStringList({"COM1", "COM3", "COM4"}));
  ASSERT_EQ(observer.identified.size(), 1u);
  EXPECT_EQ(observer.identified[0], std::make_pair(true, 472));

  // COM3 was asked and closed again; the meter's port is left open.
  EXPECT_EQ(lettersOf(device("COM3").hostWritten), "K");
  EXPECT_EQ(device("COM3").openedBy, nullptr);
  EXPECT_EQ(device("COM4").openedBy, &link.comm1());
  EXPECT_EQ(lettersOf(device("COM4").hostWritten), "K");
  EXPECT_TRUE(device("COM1").hostWritten.isEmpty());
  EXPECT_TRUE(link.comm1().hasReceiveHandler());

  // 300 ms before each open, 500 ms after each question: 300 + 800 + 800.
  EXPECT_GE(clock.tickMs() - start, 1900);
}

TEST_F(Scan, StartUpThenOpensTheLinkAndFramesFlowWithoutASecondIdentification) {
  threePorts();
  ASSERT_TRUE(link.startUp(0, 472));
  EXPECT_TRUE(link.mainTimer().isActive());
  clock.runFor(3000);
  EXPECT_EQ(observer.identified.size(), 1u);
  EXPECT_GT(observer.frames.size(), 20u);
  const QString letters = lettersOf(device("COM4").hostWritten);
  EXPECT_TRUE(letters.startsWith("KaXXX")) << letters.toStdString();
  EXPECT_EQ(letters.count('A'), 0);
  EXPECT_EQ(letters.count('X'), static_cast<int>(observer.frames.size()));
}

TEST_F(Scan, TheModelComesFromTheReply) {
  SimOptions options;
  options.model = 471;
  threePorts(options);
  ASSERT_TRUE(link.scanPorts());
  EXPECT_EQ(link.meterModel(), 471);
  EXPECT_EQ(observer.identified[0], std::make_pair(true, 471));
}

TEST_F(Scan, AnUnrecognisedReplyIsNoMeter) {
  FakeSerialDevice& other = backend.addDevice("COM2");
  ScriptedDevice modem(other, link);
  modem.answer('K', "ABCD", 10);
  link.setPortList({"COM2"});
  EXPECT_FALSE(link.scanPorts());
  EXPECT_FALSE(link.meterConnected());
  EXPECT_EQ(other.openedBy, nullptr);
  EXPECT_EQ(link.portList(), QStringList({"COM2"}));
  EXPECT_TRUE(observer.identified.empty());
}

TEST_F(Scan, EachPortThatOpensCostsAtLeast800Ms) {
  QStringList ports;
  for (int i = 1; i <= 8; ++i) {
    ports << QString("COM%1").arg(i);
    backend.addDevice(ports.back());
  }
  link.setPortList(ports);
  const qint64 start = clock.tickMs();
  EXPECT_FALSE(link.scanPorts());
  EXPECT_GE(clock.tickMs() - start, 8 * 800);
  EXPECT_EQ(link.portList(), ports);
  for (const QString& port : ports) {
    EXPECT_EQ(backend.device(port)->openedBy, nullptr) << port.toStdString();
    EXPECT_EQ(lettersOf(backend.device(port)->hostWritten), "K") << port.toStdString();
  }
}

TEST_F(Scan, PortsThatDoNotOpenAreAllRemoved) {
  for (const char* name : {"COM1", "COM2", "COM3"}) backend.addDevice(name).failOpen = true;
  link.setPortList({"COM1", "COM2", "COM3"});
  EXPECT_FALSE(link.scanPorts());
  EXPECT_TRUE(link.portList().isEmpty());
  EXPECT_EQ(link.selectedPortName(), "");
}

TEST_F(LinkFixture, StartUpWithoutMeterFallsBackToTheRememberedPortAndModel) {
  auto check = [](int lastPort, int lastModel, int selected, int model) {
    SCOPED_TRACE(testing::Message() << "LastConnectedPort " << lastPort << ", LastConnectedModel " << lastModel);
    VirtualClock clock;
    FakeSerialBackend backend(clock);
    backend.addDevice("COM0").failOpen = true;  // removed by the scan
    for (const char* name : {"COM1", "COM2", "COM3"}) backend.addDevice(name);
    LiveLink link(clock, backend);
    link.setPortList({"COM0", "COM1", "COM2", "COM3"});
    EXPECT_FALSE(link.startUp(lastPort, lastModel));
    EXPECT_EQ(link.portList().size(), 3);
    EXPECT_EQ(link.selectedPort(), selected);
    EXPECT_EQ(link.meterModel(), model);
    EXPECT_FALSE(link.meterConnected());
    // The live link is open on that port, 'a' went out there after the scan's 'K',
    // and the poll timer runs.
    FakeSerialDevice& chosen = *backend.device(link.selectedPortName());
    EXPECT_EQ(chosen.openedBy, &link.comm1());
    EXPECT_EQ(lettersOf(chosen.hostWritten), "Ka");
    EXPECT_TRUE(link.mainTimer().isActive());
    // Not identified: polled with 'A' from the first tick on.
    clock.runFor(2500);
    EXPECT_TRUE(lettersOf(chosen.hostWritten).startsWith("KaAAA"));
  };
  check(5, 472, 0, 472);   // not below the 3 entries left
  check(3, 472, 0, 472);
  check(-1, 472, 0, 472);
  check(2, 471, 2, 471);
  check(1, 5, 1, 472);     // an unknown model is a 472
  check(0, 0, 0, 472);
}

TEST_F(LinkFixture, AMeterTooSlowForTheScanIsFoundByThePoll) {
  // The scan waits 500 ms for the reply, the identification 1000 ms. The start-up's
  // 'a' starts the stream while the first ticks poll, so a second frame crosses the
  // exchange: it must not be read as the reply.
  FakeSerialDevice& device = backend.addDevice("COM4");
  SimOptions options;
  options.model = 471;
  options.identifyReplyMs = 700;
  InProcessMeter meter(clock, device, options);
  link.setPortList({"COM4"});
  EXPECT_FALSE(link.startUp(0, 472));
  EXPECT_FALSE(link.meterConnected());
  clock.runFor(4000);
  EXPECT_TRUE(link.meterConnected());
  EXPECT_EQ(link.meterModel(), 471);
  ASSERT_EQ(observer.identified.size(), 1u);
  EXPECT_EQ(observer.identified[0], std::make_pair(false, 471));
  EXPECT_GT(observer.frames.size(), 5u);
}
