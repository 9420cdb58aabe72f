#pragma once
// TfrmPanel, the virtual front panel: a picture of the meter that mirrors its
// display (digits, range, bar graph, annunciators, clock) from each decoded live
// frame, and whose pictured keys send the meter's key letters.
//
// The main window puts it in a frameless QMdiSubWindow (it has no caption bar of
// its own: it is dragged by its picture and has its own minimize and close
// buttons), keeps one reference to it, and calls updatePanel for every frame while
// it exists. The panel frees itself when closed and then emits closed().

#include <array>
#include <memory>

#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include "link/Clock.h"
#include "link/LiveLink.h"
#include "live/DisplayState.h"
#include "live/PanelKeys.h"
#include "live/PanelMemory.h"
#include "text/Prompts.h"

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class PanelKey;

// What the panel uses of the main window. Everything referred to outlives the panel.
struct PanelContext {
  Clock& clock;
  LiveLink& link;       // keys, meterConnected, meterModel
  Prompts& prompts;     // the "No Connection" message
  PanelMemory& memory;  // rendering memory and MaxMinTimer, kept between panels
  const std::array<QPixmap, 16>& lcdDigits;
};

class TfrmPanel : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kClientWidth = 190;
  static constexpr int kClientHeight = 471;
  static constexpr int kMaxMinHoldTicks = 3;  // MMATimer ticks of a long press
  static constexpr int kMMAIntervalMs = 1000;

  explicit TfrmPanel(PanelContext context, QWidget* parent = nullptr);
  ~TfrmPanel() override;

  // Draws one decoded frame, touching only what changed since the last one drawn
  // (or everything when the memory's panelRefreshAll is set).
  void updatePanel(const DisplayState& state);
  // 471: its lower part with two LEVEL keys, no data-logger title, no clock.
  void applyModelLook(int model);
  // lblNoConnection, shown while the meter is not identified.
  void showNoConnection(bool shown);

  // Closes the panel (its sub-window too, when it is in one); the panel then frees itself.
  void closePanel();
  void minimizePanel();

 signals:
  // The panel is closing: the main window clears its reference and unchecks ControlPanel1.
  void closed();
  // The panel became the active child window.
  void activated();

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void createElements();
  void retranslate();
  void showAnnunciators(const DisplayState& state);
  void showBlink(bool shown);
  void followMdiArea();
  QMdiSubWindow* subWindow() const;
  QWidget* dragTarget();
  void fitNoConnectionFont();

  // Key handlers.
  void btnACClick();
  void btnFastClick();
  void btnRECClick();
  void btnLevelClick();
  void btnMaxMinMouseDown();
  void btnMaxMinMouseUp();
  void MMATimerTimer();

  PanelContext context_;
  PanelKeys keys_;
  std::unique_ptr<TickTimer> MMATimer_;
  bool maxMinPressed_ = false;
  int heldTicks_ = 0;
  bool framesDrawn_ = false;
  bool closedSent_ = false;

  bool dragging_ = false;
  QPoint dragStartGlobal_;
  QPoint dragStartWindow_;
  QPointer<QMdiArea> followedArea_;

  // The elements, named as their object names.
  QLabel* imgPanel = nullptr;
  QLabel* img471Bottom = nullptr;
  QLabel* imgMask1 = nullptr;
  std::array<QLabel*, 4> MainD{};
  QLabel* imgPoint = nullptr;
  QLabel* lblRangeLow = nullptr;
  QLabel* lblRangeHigh = nullptr;
  QLabel* imgColorBar = nullptr;
  QLabel* lblMAX = nullptr;
  QLabel* lblMIN = nullptr;
  QLabel* lblFAST = nullptr;
  QLabel* lbldBA = nullptr;
  QLabel* lblREC = nullptr;
  QLabel* lblTime = nullptr;
  QLabel* lblSegTIME = nullptr;
  QLabel* imgUNDER = nullptr;
  QLabel* imgOVER = nullptr;
  QLabel* imgBAT = nullptr;
  QLabel* imgAutoOff = nullptr;
  QLabel* lblNoConnection = nullptr;
  PanelKey* btnPower = nullptr;
  PanelKey* btnAC = nullptr;
  PanelKey* btnMaxMin = nullptr;
  PanelKey* btnFast = nullptr;
  PanelKey* btnREC = nullptr;
  PanelKey* btnLevel = nullptr;
  PanelKey* SpeedButton1 = nullptr;
  PanelKey* SpeedButton2 = nullptr;
};
