// The panel's keys on a live link to the simulated meter: the letters sent, the
// MAX/MIN key's short and long press, and keys pressed while the link is inside
// an exchange.

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "PanelTestSupport.h"
#include "sim/InProcessMeter.h"

using paneltest::LanguageGuard;

namespace {

// The letters of every packet the meter received, in order.
QString lettersReceived(const SimulatedMeter& meter) {
  QString letters;
  for (const QByteArray& packet : meter.packets()) letters += QChar::fromLatin1(packet[1]);
  return letters;
}

class Hook final : public LinkObserver {
 public:
  std::function<void()> onFrame;
  std::function<void()> onPollTick;
  void liveFrame(const QByteArray&) override {
    if (onFrame) onFrame();
  }
  void pollTick(TDateTime) override {
    if (onPollTick) onPollTick();
  }
};

class PanelKeysFixture : public paneltest::PanelFixture {
 protected:
  FakeSerialDevice& device = backend.addDevice("COM1");
  std::unique_ptr<InProcessMeter> meter;
  Hook hook;

  void connect(int model) {
    SimOptions options;
    options.model = model;
    meter = std::make_unique<InProcessMeter>(clock, device, options);
    link.setObserver(&hook);
    link.setPortList({"COM1"});
    ASSERT_TRUE(link.startUp(0, 472));
    ASSERT_TRUE(link.meterConnected());
    ASSERT_EQ(link.meterModel(), model);
    panel->show();
    clock.runFor(300);  // the frame stream is running
  }
  void TearDown() override {
    link.setObserver(nullptr);
    PanelFixture::TearDown();
  }
  void click(const char* key) { QTest::mouseClick(element<QWidget>(key), Qt::LeftButton); }
  int sent(char letter) const { return meter->meter().countOf(letter); }
};

}  // namespace

TEST_F(PanelKeysFixture, KeysSendTheirLetters) {
  connect(472);
  auto check = [this](const char* key, char letter) {
    const int before = sent(letter);
    click(key);
    // Written at once: the click is handled outside any exchange.
    EXPECT_EQ(sent(letter), before + 1) << key;
    EXPECT_EQ(link.liveCommand().letter(), letter) << key << ": the buffer keeps the letter";
    clock.runFor(150);
  };
  check("btnAC", 'C');
  check("btnFast", 'F');
  check("btnLevel", 'l');
  check("btnREC", 'E');
  // The meter shows the effect in its next frames.
  EXPECT_EQ(meter->meter().statusA() & 0x01, 0x01);
}

TEST_F(PanelKeysFixture, RecKeyOfThe471IsItsRangeUpKey) {
  connect(471);
  click("btnREC");
  clock.runFor(5);
  EXPECT_EQ(sent('L'), 1);
  EXPECT_EQ(sent('E'), 0);
}

TEST_F(PanelKeysFixture, PowerKeyClosesThePanelAndSendsNothing) {
  connect(472);
  QSignalSpy closed(panel.data(), &TfrmPanel::closed);
  const QString before = lettersReceived(meter->meter()).remove('X');
  click("btnPower");
  paneltest::runDeferredDeletes();
  EXPECT_EQ(closed.count(), 1);
  EXPECT_TRUE(panel.isNull());
  clock.runFor(500);
  EXPECT_EQ(lettersReceived(meter->meter()).remove('X'), before);
}

TEST_F(PanelKeysFixture, ShortMaxMinClickSendsM) {
  connect(472);
  QWidget* key = element<QWidget>("btnMaxMin");
  QTest::mousePress(key, Qt::LeftButton);
  clock.runFor(400);
  QTest::mouseRelease(key, Qt::LeftButton);
  clock.runFor(5000);
  EXPECT_EQ(sent('M'), 1);
  EXPECT_EQ(sent('N'), 0);
}

TEST_F(PanelKeysFixture, HoldingMaxMinLeavesTheModeOnceAndTheReleaseSendsNothing) {
  connect(472);
  QWidget* key = element<QWidget>("btnMaxMin");
  QTest::mousePress(key, Qt::LeftButton);
  clock.runFor(2900);
  EXPECT_EQ(sent('N'), 0);
  clock.runFor(1100);  // 4 s held
  EXPECT_EQ(sent('N'), 1);
  QTest::mouseRelease(key, Qt::LeftButton);
  clock.runFor(5000);
  EXPECT_EQ(sent('N'), 1);
  EXPECT_EQ(sent('M'), 0);
}

TEST_F(PanelKeysFixture, AnyMouseButtonPressesMaxMin) {
  connect(472);
  QWidget* key = element<QWidget>("btnMaxMin");
  QTest::mousePress(key, Qt::RightButton);
  QTest::mouseRelease(key, Qt::RightButton);
  clock.runFor(5);
  EXPECT_EQ(sent('M'), 1);
}

TEST_F(PanelKeysFixture, MaxMinWithoutConnectionSaysSo) {
  LanguageGuard french(Language::French);
  // No meter: the link is not connected and its port is closed.
  QWidget* key = element<QWidget>("btnMaxMin");
  QTest::mousePress(key, Qt::LeftButton);
  QTest::mouseRelease(key, Qt::LeftButton);
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(prompts.asked[0].text, "Pas de connexion");
  // The long-press timer runs out by itself and sends nothing.
  clock.runFor(5000);
  EXPECT_EQ(device.hostWritten, QByteArray());
  EXPECT_EQ(link.liveCommand().letter(), 'K');
  EXPECT_EQ(prompts.asked.size(), 1u);
}

TEST_F(PanelKeysFixture, AKeyPressedWhileAFrameIsHandledWaitsForItsAcknowledge) {
  connect(472);
  // A handler that let events run while it holds rxBusy: the click arrives in the
  // middle of the frame's handling. The key must follow the frame's 'X', not cut in.
  bool clicked = false;
  int acknowledgesBefore = 0;
  hook.onFrame = [&] {
    if (clicked) return;
    clicked = true;
    ASSERT_TRUE(link.rxBusy());
    acknowledgesBefore = sent('X');
    click("btnAC");
    EXPECT_EQ(sent('C'), 0) << "written into the frame's handling";
  };
  clock.runUntil([&] { return sent('C') > 0; }, 2000);
  hook.onFrame = nullptr;
  const QString letters = lettersReceived(meter->meter());
  const qsizetype at = letters.indexOf('C');
  ASSERT_GT(at, 0) << letters.toStdString();
  EXPECT_GE(letters.left(at).count('X'), acknowledgesBefore + 1) << letters.toStdString();
  EXPECT_EQ(letters[at - 1], 'X') << letters.toStdString();
  EXPECT_EQ(sent('C'), 1);
}

TEST_F(PanelKeysFixture, PlainKeysWaitForThePollTickButMaxMinDoesNot) {
  connect(472);
  PanelKeys keys(clock, link);
  bool pressed = false;
  hook.onPollTick = [&] {
    if (pressed) return;
    pressed = true;
    ASSERT_TRUE(link.pollBusy());
    keys.sendMaxMinKey('M');
    keys.sendKey('F');
    EXPECT_EQ(sent('M'), 1) << "the MAX/MIN key waits only for frames";
    EXPECT_EQ(sent('F'), 0) << "not inside the poll tick";
  };
  clock.runUntil([&] { return pressed; }, 3000);
  ASSERT_TRUE(pressed);
  EXPECT_EQ(keys.heldKeys(), 1);
  clock.runFor(50);
  EXPECT_EQ(sent('F'), 1);
  EXPECT_EQ(keys.heldKeys(), 0);
}

TEST_F(PanelKeysFixture, AHeldMaxMinKeyIsDroppedAfterThreeSecondsRatherThanCutIn) {
  connect(472);
  PanelKeys keys(clock, link);
  bool done = false;
  hook.onFrame = [&] {
    if (done) return;
    done = true;
    keys.sendMaxMinKey('M');
    keys.sendKey('C');
    // A frame handler that pumps events for 3.5 s while it holds rxBusy.
    const qint64 until = clock.tickMs() + 3500;
    while (clock.tickMs() < until) clock.processEvents();
    EXPECT_EQ(sent('M'), 0);
    EXPECT_EQ(sent('C'), 0);
  };
  clock.runUntil([&] { return done; }, 2000);
  hook.onFrame = nullptr;
  clock.runFor(100);
  EXPECT_EQ(sent('M'), 0) << "dropped after its 3 s";
  EXPECT_EQ(sent('C'), 1) << "a plain key waits longer, and keeps its place behind it";
}
