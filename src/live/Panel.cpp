#include "live/Panel.h"

#include <algorithm>

#include <QCloseEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>

#include "live/PanelArt.h"
#include "live/PanelKey.h"
#include "live/PanelLogic.h"
#include "text/Texts.h"

namespace {

// Visibility is changed only where it differs from the wanted state, so a frame
// that changes nothing repaints nothing.
void setShown(QWidget* widget, bool shown) {
  if (widget->isHidden() == shown) widget->setVisible(shown);
}

void setTextIfChanged(QLabel* label, const QString& text) {
  if (label->text() != text) label->setText(text);
}

QFont lcdFont(int pixelSize) {
  QFont font;
  font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans"), QStringLiteral("Arial")});
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixelSize);
  font.setBold(true);
  font.setStretch(QFont::SemiCondensed);
  return font;
}

constexpr int kNoConnectionPixelSize = 16;

}  // namespace

TfrmPanel::TfrmPanel(PanelContext context, QWidget* parent)
    : QWidget(parent), context_(context), keys_(context.clock, context.link), MMATimer_(context.clock.createTimer()) {
  setObjectName(QStringLiteral("TfrmPanel"));
  setAttribute(Qt::WA_DeleteOnClose);
  setFixedSize(kClientWidth, kClientHeight);
  setAutoFillBackground(true);
  QPalette background = palette();
  background.setColor(QPalette::Window, QColor::fromRgb(panelArt::kSurroundRgb));
  setPalette(background);

  MMATimer_->setInterval(kMMAIntervalMs);
  MMATimer_->onTimeout = [this] { MMATimerTimer(); };

  createElements();
  retranslate();
  connect(&texts::LanguageNotifier::instance(), &texts::LanguageNotifier::languageChanged, this,
          &TfrmPanel::retranslate);
  context_.memory.attachBlink(this, [this](bool shown) { showBlink(shown); });
}

TfrmPanel::~TfrmPanel() {
  MMATimer_->stop();
  context_.memory.detachBlink(this);
}

// ---------------------------------------------------------------- elements

void TfrmPanel::createElements() {
  // The device pixel ratio of the sharpest screen, so the pictures stay crisp on any.
  const qreal dpr = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;

  auto image = [this](const char* name, const QRect& place, const QPixmap& picture, bool shown) {
    auto* label = new QLabel(this);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setPixmap(picture);
    label->setGeometry(place);
    label->setVisible(shown);
    return label;
  };
  auto text = [this](const char* name, const QRect& place, const QString& caption, int pixelSize, bool shown) {
    auto* label = new QLabel(caption, this);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setFont(lcdFont(pixelSize));
    QPalette ink = label->palette();
    ink.setColor(QPalette::WindowText, QColor::fromRgb(panelArt::kSegmentRgb));
    label->setPalette(ink);
    label->setGeometry(place);
    label->setVisible(shown);
    // Clicks go through to the picture, which drags the window.
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
  };
  auto key = [this](const char* name, const QRect& place) {
    auto* area = new PanelKey(this);
    area->setObjectName(QString::fromLatin1(name));
    area->setGeometry(place);
    return area;
  };

  imgPanel = image("imgPanel", QRect(panelArt::kFrontAt, panelArt::kFrontSize), panelArt::meterFront(dpr), true);
  img471Bottom = image("img471Bottom", QRect(panelArt::kBottom471At, panelArt::kBottom471Size),
                       panelArt::bottom471(dpr), false);
  imgMask1 = image("imgMask1", QRect(panelArt::kTitleMaskAt, panelArt::kTitleMaskSize), panelArt::titleMask(dpr), false);
  img471Bottom->setAttribute(Qt::WA_TransparentForMouseEvents);
  imgMask1->setAttribute(Qt::WA_TransparentForMouseEvents);

  const int digitLeft[4] = {51, 69, 86, 108};
  const QPixmap blank = context_.lcdDigits[panel::kBlankDigit];
  for (int k = 0; k < 4; ++k) {
    const QByteArray name = "MainD" + QByteArray::number(k + 1);
    MainD[k] = image(name.constData(), QRect(QPoint(digitLeft[k], 112), panelArt::kDigitSize), blank, true);
  }
  imgPoint = image("imgPoint", QRect(QPoint(103, 133), panelArt::kPointSize), panelArt::decimalPoint(dpr), true);
  imgColorBar = image("imgColorBar", QRect(42, 80, 0, panelArt::kBarScaleSize.height()), panelArt::barScale(dpr), true);
  imgUNDER = image("imgUNDER", QRect(QPoint(37, 66), panelArt::kRangeMarkSize), panelArt::underMark(dpr), false);
  imgOVER = image("imgOVER", QRect(QPoint(130, 66), panelArt::kRangeMarkSize), panelArt::overMark(dpr), false);
  imgBAT = image("imgBAT", QRect(QPoint(41, 131), panelArt::kBatterySize), panelArt::batteryMark(dpr), false);
  imgAutoOff = image("imgAutoOff", QRect(QPoint(44, 123), panelArt::kAutoOffSize), panelArt::autoOffMark(dpr), false);
  for (QLabel* mark : {imgPoint, imgColorBar, imgUNDER, imgOVER, imgBAT, imgAutoOff})
    mark->setAttribute(Qt::WA_TransparentForMouseEvents);

  lblRangeLow = text("lblRangeLow", QRect(40, 89, 22, 10), QStringLiteral("30"), 8, true);
  lblRangeHigh = text("lblRangeHigh", QRect(139, 89, 21, 10), QStringLiteral("80"), 8, true);
  lblMAX = text("lblMAX", QRect(63, 64, 20, 10), QStringLiteral("MAX"), 8, false);
  lblMIN = text("lblMIN", QRect(83, 64, 18, 10), QStringLiteral("MIN"), 8, false);
  lblFAST = text("lblFAST", QRect(101, 64, 29, 10), QStringLiteral("FAST"), 8, true);
  lbldBA = text("lbldBA", QRect(130, 119, 30, 14), QStringLiteral("dBA"), 11, true);
  lblREC = text("lblREC", QRect(37, 109, 27, 10), QString(), 8, true);
  lblTime = text("lblTime", QRect(63, 98, 46, 10), QString(), 8, true);
  lblSegTIME = text("lblSegTIME", QRect(116, 98, 44, 10), QStringLiteral("TIME"), 8, false);

  lblNoConnection = new QLabel(this);
  lblNoConnection->setObjectName(QStringLiteral("lblNoConnection"));
  lblNoConnection->setGeometry(40, 62, 115, 19);
  lblNoConnection->setAlignment(Qt::AlignCenter);
  lblNoConnection->setAutoFillBackground(true);
  {
    QPalette look = lblNoConnection->palette();
    look.setColor(QPalette::Window, look.color(QPalette::Button));
    look.setColor(QPalette::WindowText, Qt::red);
    lblNoConnection->setPalette(look);
  }
  lblNoConnection->setAttribute(Qt::WA_TransparentForMouseEvents);
  lblNoConnection->hide();

  btnPower = key("btnPower", QRect(36, 194, 41, 25));
  btnAC = key("btnAC", QRect(108, 194, 41, 25));
  btnMaxMin = key("btnMaxMin", QRect(33, 255, 48, 25));
  btnFast = key("btnFast", QRect(108, 255, 44, 25));
  btnREC = key("btnREC", QRect(33, 311, 48, 30));
  btnLevel = key("btnLevel", QRect(105, 311, 48, 30));
  SpeedButton1 = key("SpeedButton1", QRect(QPoint(127, 8), panelArt::kFlatButtonSize));
  SpeedButton2 = key("SpeedButton2", QRect(QPoint(144, 8), panelArt::kFlatButtonSize));
  SpeedButton1->setGlyph(panelArt::minimizeGlyph(dpr));
  SpeedButton2->setGlyph(panelArt::closeGlyph(dpr));
  for (PanelKey* flat : {SpeedButton1, SpeedButton2}) {
    flat->setHoverHighlight(true);
    flat->setCursor(Qt::ArrowCursor);
  }

  connect(btnPower, &PanelKey::clicked, this, &TfrmPanel::closePanel);
  connect(SpeedButton2, &PanelKey::clicked, this, &TfrmPanel::closePanel);
  connect(SpeedButton1, &PanelKey::clicked, this, &TfrmPanel::minimizePanel);
  connect(btnAC, &PanelKey::clicked, this, &TfrmPanel::btnACClick);
  connect(btnFast, &PanelKey::clicked, this, &TfrmPanel::btnFastClick);
  connect(btnREC, &PanelKey::clicked, this, &TfrmPanel::btnRECClick);
  connect(btnLevel, &PanelKey::clicked, this, &TfrmPanel::btnLevelClick);
  connect(btnMaxMin, &PanelKey::pressed, this, &TfrmPanel::btnMaxMinMouseDown);
  connect(btnMaxMin, &PanelKey::released, this, &TfrmPanel::btnMaxMinMouseUp);

  imgPanel->installEventFilter(this);
  for (QLabel* digit : MainD) digit->installEventFilter(this);
}

void TfrmPanel::retranslate() {
  // The live texts of lblFAST stay until the next annunciator change; only the
  // design caption of a panel that has shown no frame yet follows the language.
  const QString liveFast = lblFAST->text();
  texts::retranslate(this, TextTable::Panel);
  if (framesDrawn_) lblFAST->setText(liveFast);
  fitNoConnectionFont();
}

void TfrmPanel::fitNoConnectionFont() {
  // Red, bold, 16 px; smaller only where the language's text would not fit the label.
  QFont font = lcdFont(kNoConnectionPixelSize);
  font.setStretch(QFont::Unstretched);
  const int room = lblNoConnection->width() - 4;
  while (font.pixelSize() > 9 && QFontMetrics(font).horizontalAdvance(lblNoConnection->text()) > room)
    font.setPixelSize(font.pixelSize() - 1);
  lblNoConnection->setFont(font);
}

// ---------------------------------------------------------------- drawing

void TfrmPanel::updatePanel(const DisplayState& state) {
  PanelMemory& memory = context_.memory;
  const bool refreshAll = memory.panelRefreshAll;

  if (context_.link.meterModel() == 472) {
    const std::uint8_t seconds = state.clockBytes[2];
    if (seconds != memory.lastClockSeconds || refreshAll) {
      setTextIfChanged(lblTime, meterClockText(state.clockBytes));
      memory.lastClockSeconds = seconds;
    }
  }

  if (state.displayValue != memory.lastDisplayValue || refreshAll) {
    if (const auto digits = panel::digitsOf(state.displayValue)) {
      for (int k = 0; k < 4; ++k) {
        const int index = (*digits)[k];
        if (index == memory.lastDigits[k] && !refreshAll) continue;
        MainD[k]->setPixmap(context_.lcdDigits[index]);
        memory.lastDigits[k] = index;
      }
    }
    memory.lastDisplayValue = state.displayValue;
  }

  if (panel::annunciatorsDue(memory, state)) showAnnunciators(state);

  const int barWidth = std::max(0, panel::barWidth(state.level, state.range));
  if (imgColorBar->width() != barWidth) imgColorBar->resize(barWidth, imgColorBar->height());

  memory.panelRefreshAll = false;
  framesDrawn_ = true;
}

void TfrmPanel::showAnnunciators(const DisplayState& state) {
  PanelMemory& memory = context_.memory;
  TickTimer& blinkTimer = memory.maxMinTimer();
  switch (panel::maxMinLook(state)) {
    case panel::MaxMinLook::HideBoth:
      blinkTimer.stop();
      setShown(lblMAX, false);
      setShown(lblMIN, false);
      break;
    case panel::MaxMinLook::StopBlinking:
      blinkTimer.stop();
      break;
    case panel::MaxMinLook::ShowMax:
      setShown(lblMAX, true);
      setShown(lblMIN, false);
      blinkTimer.stop();
      break;
    case panel::MaxMinLook::ShowMin:
      setShown(lblMAX, false);
      setShown(lblMIN, true);
      blinkTimer.stop();
      break;
    case panel::MaxMinLook::Blink:
      if (!blinkTimer.isActive()) blinkTimer.start();
      break;
  }

  const char* recordKey = panel::recordTextKey(state);
  setTextIfChanged(lblREC, recordKey ? texts::textOf(TextTable::Main, recordKey) : QString());
  setShown(imgAutoOff, false);
  setShown(imgBAT, state.lowBattery);
  setTextIfChanged(lblFAST, texts::textOf(TextTable::Main, panel::timeWeightingTextKey(state)));
  setTextIfChanged(lbldBA, state.weightingA ? QStringLiteral("dBA") : QStringLiteral("dBC"));
  setShown(imgUNDER, state.under);
  setShown(imgOVER, state.over);
  const RangeInfo& range = rangeInfo(state.range);
  setTextIfChanged(lblRangeLow, QString::fromLatin1(range.lowLabel));
  setTextIfChanged(lblRangeHigh, QString::fromLatin1(range.highLabel));

  memory.lastStatusA = state.statusA;
  memory.lastStatusB = state.statusB;
}

void TfrmPanel::showBlink(bool shown) {
  setShown(lblMAX, shown);
  setShown(lblMIN, shown);
}

void TfrmPanel::applyModelLook(int model) {
  const bool is471 = model == 471;
  setShown(img471Bottom, is471);
  setShown(imgMask1, is471);
  setTextIfChanged(lblREC, QString());
  setShown(lblSegTIME, !is471);
  setShown(lblTime, !is471);
}

void TfrmPanel::showNoConnection(bool shown) { setShown(lblNoConnection, shown); }

// ---------------------------------------------------------------- keys

void TfrmPanel::btnACClick() { keys_.sendKey(letter::kFrequencyWeighting); }

void TfrmPanel::btnFastClick() { keys_.sendKey(letter::kTimeWeighting); }

void TfrmPanel::btnRECClick() {
  // The 471 has no logger: its key in the REC place is the range-up key.
  keys_.sendKey(context_.link.meterModel() == 472 ? letter::kRecord : letter::kRangeUp);
}

void TfrmPanel::btnLevelClick() { keys_.sendKey(letter::kRange); }

void TfrmPanel::btnMaxMinMouseDown() {
  maxMinPressed_ = true;
  heldTicks_ = 0;
  MMATimer_->start();
}

void TfrmPanel::btnMaxMinMouseUp() {
  if (!context_.link.meterConnected()) {
    // MMATimer is left to run out: its last tick sends nothing without a meter.
    context_.prompts.message(PromptKind::Information, texts::textOf(TextTable::Panel, "IDS_0"));
    return;
  }
  // A long press already left MAX/MIN mode: the release does nothing more.
  if (!maxMinPressed_) return;
  maxMinPressed_ = false;
  heldTicks_ = 0;
  MMATimer_->stop();
  keys_.sendMaxMinKey(letter::kMaxMin);
}

void TfrmPanel::MMATimerTimer() {
  if (++heldTicks_ < kMaxMinHoldTicks) return;
  keys_.sendMaxMinKey(letter::kLeaveMaxMin);
  maxMinPressed_ = false;
  heldTicks_ = 0;
  MMATimer_->stop();
}

// ---------------------------------------------------------------- window

QMdiSubWindow* TfrmPanel::subWindow() const {
  for (QWidget* up = parentWidget(); up; up = up->parentWidget()) {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(up)) return sub;
  }
  return nullptr;
}

QWidget* TfrmPanel::dragTarget() {
  if (QMdiSubWindow* sub = subWindow()) return sub;
  return window();
}

void TfrmPanel::closePanel() {
  // Through the sub-window, which closes the panel and goes away with it.
  if (QMdiSubWindow* sub = subWindow()) sub->close();
  else close();
}

void TfrmPanel::minimizePanel() {
  if (QMdiSubWindow* sub = subWindow()) sub->showMinimized();
  else showMinimized();
}

void TfrmPanel::followMdiArea() {
  QMdiSubWindow* sub = subWindow();
  QMdiArea* area = sub ? sub->mdiArea() : nullptr;
  if (area == followedArea_) return;
  if (followedArea_) disconnect(followedArea_, nullptr, this, nullptr);
  followedArea_ = area;
  if (!area) return;
  connect(area, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* active) {
    if (active && active == subWindow()) emit activated();
  });
}

bool TfrmPanel::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::ParentChange:
      followMdiArea();
      break;
    case QEvent::WindowActivate:
      // A panel of its own (not in an MDI area) is activated as a window.
      if (isWindow()) emit activated();
      break;
    default:
      break;
  }
  return QWidget::event(event);
}

void TfrmPanel::showEvent(QShowEvent* event) {
  followMdiArea();
  QWidget::showEvent(event);
}

void TfrmPanel::closeEvent(QCloseEvent* event) {
  // A blink tick that let other events run would still be drawing: let it finish.
  // Bounded, so a tick that never ends cannot keep the panel open for ever.
  for (int rounds = 0; context_.memory.blinkBusy && rounds < 1000; ++rounds) context_.clock.processEvents();
  event->accept();
  MMATimer_->stop();
  context_.memory.detachBlink(this);
  if (!closedSent_) {
    closedSent_ = true;
    emit closed();
  }
}

bool TfrmPanel::eventFilter(QObject* watched, QEvent* event) {
  // imgPanel and the digits drag the window: the panel has no caption bar to drag.
  const bool dragSource = watched == imgPanel || std::find(MainD.begin(), MainD.end(), watched) != MainD.end();
  if (!dragSource) return QWidget::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() != Qt::LeftButton) break;
      dragging_ = true;
      dragStartGlobal_ = mouse->globalPosition().toPoint();
      dragStartWindow_ = dragTarget()->pos();
      return true;
    }
    case QEvent::MouseMove: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (!dragging_ || !(mouse->buttons() & Qt::LeftButton)) break;
      dragTarget()->move(dragStartWindow_ + (mouse->globalPosition().toPoint() - dragStartGlobal_));
      return true;
    }
    case QEvent::MouseButtonRelease:
      if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) dragging_ = false;
      break;
    default:
      break;
  }
  return QWidget::eventFilter(watched, event);
}
