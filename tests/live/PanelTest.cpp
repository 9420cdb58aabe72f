// The front panel drawing frames: change detection, digits, bar graph,
// annunciators and their blinking, the model look, texts, and the window itself.

#include <gtest/gtest.h>

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QSignalSpy>

#include "PanelTestSupport.h"

using paneltest::Frame;
using paneltest::LanguageGuard;
using paneltest::PanelFixture;

namespace {
constexpr int kBlank = 10;
}

TEST_F(PanelFixture, ElementsSitAtTheirPlaces) {
  auto check = [this](const char* name, QRect place) { EXPECT_EQ(element<QWidget>(name)->geometry(), place) << name; };
  check("imgPanel", QRect(-1, 0, 190, 469));
  check("img471Bottom", QRect(21, 307, 144, 154));
  check("imgMask1", QRect(57, 31, 100, 11));
  check("MainD1", QRect(51, 112, 17, 28));
  check("MainD2", QRect(69, 112, 17, 28));
  check("MainD3", QRect(86, 112, 17, 28));
  check("MainD4", QRect(108, 112, 17, 28));
  check("imgPoint", QRect(103, 133, 5, 5));
  check("lblNoConnection", QRect(40, 62, 115, 19));
  check("btnPower", QRect(36, 194, 41, 25));
  check("btnAC", QRect(108, 194, 41, 25));
  check("btnMaxMin", QRect(33, 255, 48, 25));
  check("btnFast", QRect(108, 255, 44, 25));
  check("btnREC", QRect(33, 311, 48, 30));
  check("btnLevel", QRect(105, 311, 48, 30));
  check("SpeedButton1", QRect(127, 8, 16, 14));
  check("SpeedButton2", QRect(144, 8, 16, 14));
  auto at = [this](const char* name, QPoint place) { EXPECT_EQ(element<QWidget>(name)->pos(), place) << name; };
  at("lblRangeLow", {40, 89});
  at("lblRangeHigh", {139, 89});
  at("imgColorBar", {42, 80});
  at("lblMAX", {63, 64});
  at("lblMIN", {83, 64});
  at("lblFAST", {101, 64});
  at("lbldBA", {130, 119});
  at("lblREC", {37, 109});
  at("lblTime", {63, 98});
  at("lblSegTIME", {116, 98});
  at("imgUNDER", {37, 66});
  at("imgOVER", {130, 66});
  at("imgBAT", {41, 131});
  at("imgAutoOff", {44, 123});
  EXPECT_EQ(panel->size(), QSize(190, 471));
  EXPECT_EQ(panel->objectName(), "TfrmPanel");
  for (const char* hidden : {"img471Bottom", "imgMask1", "lblMAX", "lblMIN", "lblSegTIME", "imgUNDER", "imgOVER",
                             "imgBAT", "imgAutoOff", "lblNoConnection"})
    EXPECT_TRUE(element<QWidget>(hidden)->isHidden()) << hidden;
  for (const char* key : {"btnPower", "btnAC", "btnMaxMin", "btnFast", "btnREC", "btnLevel"})
    EXPECT_EQ(element<QWidget>(key)->cursor().shape(), Qt::PointingHandCursor) << key;
}

TEST_F(PanelFixture, DigitsAreDrawnOnlyWhereTheyChange) {
  show({.level = 654});
  EXPECT_EQ(digitsShown(), (std::array<int, 4>{kBlank, 6, 5, 4}));

  // Wipe the digits: a frame that redraws one puts it back, one that does not leaves it empty.
  for (int k = 1; k <= 4; ++k) digit(k)->setPixmap(QPixmap());
  show({.level = 654});
  EXPECT_EQ(digitsShown(), (std::array<int, 4>{-1, -1, -1, -1})) << "the same value again redraws nothing";
  show({.level = 655});
  EXPECT_EQ(digitsShown(), (std::array<int, 4>{-1, -1, -1, 5})) << "only the digit that changed";
  show({.level = 1023});
  EXPECT_EQ(digitsShown(), (std::array<int, 4>{1, 0, 2, 3}));
  show({.level = 45});
  EXPECT_EQ(digitsShown(), (std::array<int, 4>{kBlank, 0, 4, 5}));
}

TEST_F(PanelFixture, ValuesBeyondTheDisplayLeaveTheDigits) {
  show({.level = 654});
  show({.level = 650, .display = 11000});
  EXPECT_EQ(digitsShown(), (std::array<int, 4>{kBlank, 6, 5, 4}));
  // The value was still taken as drawn: coming back to 654 compares digit by digit.
  digit(2)->setPixmap(QPixmap());
  show({.level = 654});
  EXPECT_EQ(digitShown(2), -1);
  show({.level = 664});
  EXPECT_EQ(digitsShown(), (std::array<int, 4>{kBlank, -1, 6, 4})) << "only the third digit changed";
}

TEST_F(PanelFixture, AnnunciatorsChangeOnlyWithTheStatusBytes) {
  LanguageGuard english(Language::English);
  QLabel* fast = element("lblFAST");
  show({.statusA = 0x18});
  EXPECT_EQ(fast->text(), "FAST");
  EXPECT_EQ(element("lbldBA")->text(), "dBA");
  show({.statusA = 0x08});
  EXPECT_EQ(fast->text(), "SLOW");

  // Spoil every annunciator: an unchanged frame must not touch any of them.
  fast->setText("x");
  element("lbldBA")->setText("x");
  element("lblRangeLow")->setText("x");
  element("lblREC")->setText("x");
  element<QWidget>("imgBAT")->show();
  element<QWidget>("imgOVER")->show();
  show({.statusA = 0x08, .level = 700});
  EXPECT_EQ(fast->text(), "x");
  EXPECT_EQ(element("lbldBA")->text(), "x");
  EXPECT_EQ(element("lblRangeLow")->text(), "x");
  EXPECT_EQ(element("lblREC")->text(), "x");
  EXPECT_FALSE(element<QWidget>("imgBAT")->isHidden());
  EXPECT_FALSE(element<QWidget>("imgOVER")->isHidden());

  // A change of status B alone redraws them all.
  show({.statusA = 0x08, .statusB = 0x10, .level = 700});
  EXPECT_EQ(fast->text(), "SLOW");
  EXPECT_EQ(element("lbldBA")->text(), "dBA");
  EXPECT_EQ(element("lblRangeLow")->text(), "30");
  EXPECT_EQ(element("lblREC")->text(), "FULL");
  EXPECT_TRUE(element<QWidget>("imgBAT")->isHidden());
  EXPECT_TRUE(element<QWidget>("imgOVER")->isHidden());
}

TEST_F(PanelFixture, AnnunciatorsFollowTheStatusBits) {
  LanguageGuard english(Language::English);
  struct Case {
    std::uint8_t a, b;
    const char* rec;
    const char* fast;
    const char* weighting;
    const char* low;
    const char* high;
    bool battery, under, over;
  };
  const Case cases[] = {
      {0x18, 0x00, "", "FAST", "dBA", "30", "80", false, false, false},
      {0x01, 0x01, "REC", "SLOW", "dBC", "50", "100", false, false, false},
      {0x11, 0x12, "REC", "FAST", "dBC", "80", "130", false, false, false},  // REC over FULL
      {0x20, 0x13, "FULL", "SLOW", "dBC", "30", "130", true, false, false},
      {0x48, 0x00, "", "SLOW", "dBA", "30", "80", false, true, false},
      {0x88, 0x02, "", "SLOW", "dBA", "80", "130", false, false, true},
  };
  for (const Case& c : cases) {
    show({.statusA = c.a, .statusB = c.b});
    const QString where = QString("status %1 %2").arg(c.a, 2, 16).arg(c.b, 2, 16);
    EXPECT_EQ(element("lblREC")->text(), c.rec) << where.toStdString();
    EXPECT_EQ(element("lblFAST")->text(), c.fast) << where.toStdString();
    EXPECT_EQ(element("lbldBA")->text(), c.weighting) << where.toStdString();
    EXPECT_EQ(element("lblRangeLow")->text(), c.low) << where.toStdString();
    EXPECT_EQ(element("lblRangeHigh")->text(), c.high) << where.toStdString();
    EXPECT_EQ(!element<QWidget>("imgBAT")->isHidden(), c.battery) << where.toStdString();
    EXPECT_EQ(!element<QWidget>("imgUNDER")->isHidden(), c.under) << where.toStdString();
    EXPECT_EQ(!element<QWidget>("imgOVER")->isHidden(), c.over) << where.toStdString();
    EXPECT_TRUE(element<QWidget>("imgAutoOff")->isHidden());
  }
}

TEST_F(PanelFixture, FrenchTexts) {
  LanguageGuard french(Language::French);
  show({.statusA = 0x19});
  EXPECT_EQ(element("lblFAST")->text(), "Rapide");
  EXPECT_EQ(element("lblREC")->text(), "ENR");
  // The French text of SLOW is empty: the English one shows.
  show({.statusA = 0x00, .statusB = 0x10});
  EXPECT_EQ(element("lblFAST")->text(), "SLOW");
  EXPECT_EQ(element("lblREC")->text(), "PLEIN");
  EXPECT_EQ(element("lblSegTIME")->text(), "HEURE");
  EXPECT_EQ(element("lblNoConnection")->text(), "Pas de connexion");
  EXPECT_EQ(panel->windowTitle(), "Panneau de contrôle");
}

TEST_F(PanelFixture, LanguageSwitchRetranslatesButKeepsTheLiveTimeWeighting) {
  LanguageGuard french(Language::French);
  EXPECT_EQ(element("lblFAST")->text(), "Rapide");  // design caption, before any frame
  show({.statusA = 0x18});
  texts::setLanguage(Language::English);
  EXPECT_EQ(element<QWidget>("btnAC")->toolTip(), "Frequency Weighting select button");
  EXPECT_EQ(element<QWidget>("btnMaxMin")->toolTip(),
            "single click to change MAX/MIN mode, mouse down 2 seconds  to cancel .");
  EXPECT_EQ(element("lblSegTIME")->text(), "TIME");
  EXPECT_EQ(panel->windowTitle(), "Control Panel");
  // The live label changes with the next annunciator change, not with the switch.
  EXPECT_EQ(element("lblFAST")->text(), "Rapide");
  show({.statusA = 0x18});
  EXPECT_EQ(element("lblFAST")->text(), "Rapide");
  show({.statusA = 0x19});
  EXPECT_EQ(element("lblFAST")->text(), "FAST");
}

TEST_F(PanelFixture, BarWidthFollowsLevelAndRange) {
  QWidget* bar = element<QWidget>("imgColorBar");
  auto check = [&](int levelTenths, std::uint8_t range, int width) {
    show({.statusB = range, .level = levelTenths});
    EXPECT_EQ(bar->width(), width) << levelTenths << " range " << int(range);
    EXPECT_EQ(bar->height(), 8);
  };
  check(2000, 0, 101);
  check(250, 0, 0);  // below the range: no bar
  check(1300, 3, 81);
  check(654, 0, 71);
  check(300, 0, 1);
}

TEST_F(PanelFixture, MaxAndMinBlinkTogetherOnTheMaxMinTimer) {
  QWidget* max = element<QWidget>("lblMAX");
  QWidget* min = element<QWidget>("lblMIN");
  show({.statusA = 0x1C, .statusB = 0x0C});
  ASSERT_TRUE(memory.maxMinTimer().isActive());
  EXPECT_EQ(memory.maxMinTimer().interval(), 500);
  std::vector<std::pair<bool, bool>> seen;
  for (int tick = 0; tick < 4; ++tick) {
    clock.runFor(500);
    seen.emplace_back(!max->isHidden(), !min->isHidden());
  }
  EXPECT_EQ(seen, (std::vector<std::pair<bool, bool>>{{true, true}, {false, false}, {true, true}, {false, false}}));

  // Another frame with the same mode does not restart the timer (its phase stays).
  clock.runFor(250);
  show({.statusA = 0x1C, .statusB = 0x0C, .level = 700});
  clock.runFor(250);
  EXPECT_FALSE(max->isHidden());

  // MAX/MIN mode ends: the blinking stops and both go.
  show({.statusA = 0x18, .statusB = 0x00});
  EXPECT_FALSE(memory.maxMinTimer().isActive());
  EXPECT_TRUE(max->isHidden());
  EXPECT_TRUE(min->isHidden());
  clock.runFor(2000);
  EXPECT_TRUE(max->isHidden());
  EXPECT_TRUE(min->isHidden());
}

TEST_F(PanelFixture, MaxOrMinAloneStopsTheBlinking) {
  QWidget* max = element<QWidget>("lblMAX");
  QWidget* min = element<QWidget>("lblMIN");
  show({.statusA = 0x1C, .statusB = 0x0C});
  show({.statusA = 0x1C, .statusB = 0x04});
  EXPECT_FALSE(memory.maxMinTimer().isActive());
  EXPECT_FALSE(max->isHidden());
  EXPECT_TRUE(min->isHidden());
  show({.statusA = 0x1C, .statusB = 0x08});
  EXPECT_TRUE(max->isHidden());
  EXPECT_FALSE(min->isHidden());
  // Mode on with no MAX/MIN display: the labels stay as they are.
  show({.statusA = 0x1C, .statusB = 0x00});
  EXPECT_TRUE(max->isHidden());
  EXPECT_FALSE(min->isHidden());
  clock.runFor(1500);
  EXPECT_FALSE(min->isHidden());
}

TEST_F(PanelFixture, ClosingWhileBlinkingIsSafe) {
  QSignalSpy closed(panel.data(), &TfrmPanel::closed);
  show({.statusA = 0x1C, .statusB = 0x0C});
  clock.runFor(500);
  panel->closePanel();
  EXPECT_EQ(closed.count(), 1);
  paneltest::runDeferredDeletes();
  EXPECT_TRUE(panel.isNull()) << "a closed panel frees itself";
  // The timer is the main window's and goes on; its ticks now change nothing.
  const bool before = memory.blink;
  clock.runFor(500);
  EXPECT_NE(memory.blink, before);
  clock.runFor(5000);
  EXPECT_FALSE(memory.blinkBusy);
}

TEST_F(PanelFixture, AReopenedPanelRedrawsEverythingOnItsFirstFrame) {
  LanguageGuard english(Language::English);
  const Frame frame{.statusA = 0x25, .statusB = 0x02, .level = 1023, .clock = {0x10, 0x20, 0x31}};
  show(frame);
  panel->closePanel();
  paneltest::runDeferredDeletes();
  ASSERT_TRUE(panel.isNull());

  panel = openPanel();
  show(frame);  // the very frame the old panel drew last
  EXPECT_EQ(digitsShown(), (std::array<int, 4>{1, 0, 2, 3}));
  EXPECT_EQ(element("lblFAST")->text(), "SLOW");
  EXPECT_EQ(element("lbldBA")->text(), "dBC");
  EXPECT_EQ(element("lblREC")->text(), "REC");
  EXPECT_EQ(element("lblRangeLow")->text(), "80");
  EXPECT_EQ(element("lblRangeHigh")->text(), "130");
  EXPECT_FALSE(element<QWidget>("imgBAT")->isHidden());
  EXPECT_EQ(element("lblTime")->text(), "10:20:30");
  EXPECT_EQ(element<QWidget>("imgColorBar")->width(), 45);
  EXPECT_FALSE(memory.panelRefreshAll);
}

TEST_F(PanelFixture, ClockShowsForThe472WhenItsSecondsChange) {
  show({.clock = {0x09, 0x05, 0x30}});
  QLabel* time = element("lblTime");
  EXPECT_EQ(time->text(), "09:05:29");
  time->setText("x");
  show({.level = 700, .clock = {0x09, 0x06, 0x30}});  // same seconds byte
  EXPECT_EQ(time->text(), "x");
  show({.clock = {0x12, 0x61, 0x00}});
  EXPECT_EQ(time->text(), "12:61:00");  // not a time: shown raw
}

TEST_F(PanelFixture, The471HasNoClock) {
  link.selectRememberedPort(0, 471);
  ASSERT_EQ(link.meterModel(), 471);
  show({.clock = {0x09, 0x05, 0x30}});
  EXPECT_EQ(element("lblTime")->text(), "");
}

TEST_F(PanelFixture, ModelLook) {
  auto shown = [this](const char* name) { return !element<QWidget>(name)->isHidden(); };
  element("lblREC")->setText("REC");
  panel->applyModelLook(471);
  EXPECT_TRUE(shown("img471Bottom"));
  EXPECT_TRUE(shown("imgMask1"));
  EXPECT_FALSE(shown("lblSegTIME"));
  EXPECT_FALSE(shown("lblTime"));
  EXPECT_EQ(element("lblREC")->text(), "");
  element("lblREC")->setText("REC");
  panel->applyModelLook(472);
  EXPECT_FALSE(shown("img471Bottom"));
  EXPECT_FALSE(shown("imgMask1"));
  EXPECT_TRUE(shown("lblSegTIME"));
  EXPECT_TRUE(shown("lblTime"));
  EXPECT_EQ(element("lblREC")->text(), "");
  panel->showNoConnection(true);
  EXPECT_TRUE(shown("lblNoConnection"));
  panel->showNoConnection(false);
  EXPECT_FALSE(shown("lblNoConnection"));
}

TEST_F(PanelFixture, MaskCoversTheTitleSeamlessly) {
  // The mask and the 471's lower part repeat the front's background exactly, so the
  // 471 picture has no edges where they lie: compare the pixels just around them.
  panel->applyModelLook(471);
  panel->resize(190, 471);
  const QImage shot = panel->grab().toImage();
  const QImage front = panelArt::meterFront(1.0).toImage();
  auto frontPixel = [&](int x, int y) { return front.pixel(x + 1, y); };  // imgPanel sits at x = -1
  int differing = 0;
  for (int x = 57; x < 157; ++x) {
    differing += qAbs(qRed(shot.pixel(x, 31)) - qRed(shot.pixel(x, 30))) > 24;  // top edge of the mask
  }
  EXPECT_LT(differing, 3);
  // The title itself is gone.
  int titleInk = 0;
  for (int y = 31; y < 42; ++y)
    for (int x = 57; x < 157; ++x) titleInk += qRed(frontPixel(x, y)) > 150 && qRed(shot.pixel(x, y)) < 150;
  EXPECT_GT(titleInk, 20);
}

TEST_F(PanelFixture, DraggingThePictureMovesTheSubWindow) {
  QMdiArea area;
  area.resize(800, 600);
  QMdiSubWindow* sub = area.addSubWindow(panel, Qt::FramelessWindowHint);
  area.show();
  sub->move(0, 0);
  QWidget* picture = element<QWidget>("imgPanel");
  auto send = [&](QEvent::Type type, QPoint local, Qt::MouseButtons buttons) {
    QMouseEvent event(type, local, picture->mapToGlobal(local), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(picture, &event);
  };
  send(QEvent::MouseButtonPress, {60, 30}, Qt::LeftButton);
  // The picture moves under the mouse, so each move is given where the mouse is on the screen.
  const QPoint pressGlobal = picture->mapToGlobal(QPoint(60, 30));
  QMouseEvent move(QEvent::MouseMove, QPointF(60, 30), QPointF(pressGlobal + QPoint(40, 25)), Qt::NoButton,
                   Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(picture, &move);
  EXPECT_EQ(sub->pos(), QPoint(40, 25));
  send(QEvent::MouseButtonRelease, {60, 30}, Qt::NoButton);
  QMouseEvent after(QEvent::MouseMove, QPointF(60, 30), QPointF(pressGlobal + QPoint(90, 90)), Qt::NoButton,
                    Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(picture, &after);
  EXPECT_EQ(sub->pos(), QPoint(40, 25)) << "released: no more dragging";
  area.removeSubWindow(panel);
}

TEST_F(PanelFixture, SubWindowButtonsMinimizeCloseAndActivate) {
  QMdiArea area;
  area.resize(800, 600);
  QMdiSubWindow* sub = area.addSubWindow(panel, Qt::FramelessWindowHint);
  QPointer<QMdiSubWindow> subAlive(sub);
  area.show();
  sub->show();
  QSignalSpy activated(panel.data(), &TfrmPanel::activated);
  QSignalSpy closed(panel.data(), &TfrmPanel::closed);
  area.setActiveSubWindow(nullptr);
  area.setActiveSubWindow(sub);
  EXPECT_GE(activated.count(), 1);

  element<PanelKey>("SpeedButton1")->clicked();
  EXPECT_TRUE(sub->isMinimized());
  sub->showNormal();

  element<PanelKey>("SpeedButton2")->clicked();
  EXPECT_EQ(closed.count(), 1);
  paneltest::runDeferredDeletes();
  EXPECT_TRUE(panel.isNull());
  EXPECT_TRUE(subAlive.isNull()) << "the sub-window goes with the panel";
  EXPECT_TRUE(area.subWindowList().isEmpty());
}
