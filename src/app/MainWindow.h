#pragma once
// TfrmMain: the MDI frame of the program. It owns the live link, the decoder, the
// front panel's memory and the settings for the whole run, builds the menus, tool
// buttons, port list and status bar, runs the start-up sequence, and shows what the
// link reports (it is the link's observer).

#include <array>
#include <memory>

#include <QList>
#include <QMainWindow>
#include <QPixmap>
#include <QPointer>

#include "app/Settings.h"
#include "data/DataSetCollection.h"
#include "graph/Annotation.h"
#include "graph/GraphWindow.h"
#include "text/Formats.h"
#include "link/LiveLink.h"
#include "live/FrameDecoder.h"
#include "live/Panel.h"
#include "live/RealTimeRecorder.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolButton;
class Prompts;
class TfrmAbout;

class PanelMemory;

struct MainServices {
  Clock& clock;
  SerialBackend& backend;
  Prompts& prompts;
  // Ports put before the system's (the demo's simulated meter) and after them (--port).
  QStringList leadingPorts;
  QStringList extraPorts;
  // The settings store; empty: the program's own (openSettingsStore()).
  std::unique_ptr<QSettings> settingsStore;
  // The splash window shown during start-up, if any; closed at its end.
  TfrmAbout* splash = nullptr;
  // The folder of "template/graph.ghf"; empty: the program's folder.
  QString dataFolder;
};

class RealTimeGraphAdapter;

class TfrmMain : public QMainWindow, private LinkObserver, private RealTimeHost {
  Q_OBJECT
 public:
  explicit TfrmMain(MainServices services, QWidget* parent = nullptr);
  ~TfrmMain() override;

  // The start-up sequence, run once when the window is first shown.
  void startUp();

  LiveLink& link() { return *link_; }
  FrameDecoder& decoder() { return decoder_; }
  QMdiArea* mdiArea() const { return mdiArea_; }
  TfrmPanel* panel() const { return panel_; }
  const AppSettings& settings() const { return settings_; }
  // From the user's short date format, for reading dates the meter reports.
  QChar dateSeparator() const { return dateFormat_.dateSeparator; }
  int dateOrder() const { return dateFormat_.dateOrder; }
  const std::array<QPixmap, 16>& lcdDigits() const { return lcdDigits_; }
  // Status bar panel 0 (port), 1 (connection), 2 (automatic download).
  QString statusText(int panel) const;

  // View menu, "Control Panel": restore the panel or create it at the top left.
  void showPanel();

  // The DataLogger window, made when there is none.
  TfrmGraph* openDataLoggerGraph();
  TfrmGraph* dataLoggerGraphWindow() const { return dataLoggerGraphWindow_; }
  DataSetCollection& collection() { return collection_; }

  // The Real-Time Graph window: openRealTimeGraph makes it; RealTimeGraph1Click
  // restores it when it is open.
  void openRealTimeGraph() override;
  void RealTimeGraph1Click();
  TfrmGraph* realTimeGraphWindow() const { return realTimeGraphWindow_; }
  RealTimeRecorder& recorder() { return *recorder_; }
  // The save command (File, Save) for the given window: a graph file of the chart.
  void saveSingleDataSet(TfrmGraph& window);
  void Save1Click();
  void Open1Click();
  // The next Run takes these answers instead of asking with the setup dialog
  // (scripted runs and tests).
  void answerNextSetup(const QString& rateText, const QString& countText);
  GraphShared& graphShared() { return *graphShared_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  // LinkObserver
  void scanningPort(const QString& portName) override;
  void portListChanged() override;
  void liveFrame(const QByteArray& frame) override;
  void meterIdentified(bool byScan) override;
  void linkLost(bool wasConnected) override;

  void buildMenus();
  void buildToolPanel();
  void buildStatusBar();
  void retranslate();
  void setStatus(int panel, const QString& text);
  void setStatusKey(const char* key);
  void setNoConnectionLabel(bool visible);
  void applyModelLook(int model);
  void setRunStop(bool runEnabled, bool stopEnabled) override;
  void setDataLogger(bool visible, bool enabled);
  void updateWindowMenu();
  void portPicked(int index);
  void openHelp();
  void showAbout();
  void exitProgram();
  bool realTimeRunning() const { return recorder_ && recorder_->realTimeRunning(); }
  // RealTimeHost
  bool meterConnected() const override { return link_->meterConnected(); }
  void showRejectedReadings(const QString& text) override;
  QMdiSubWindow* addGraphWindow(TfrmGraph* window);
  void graphWindowClosed(TfrmGraph& window);

  MainServices services_;
  std::unique_ptr<QSettings> settingsStore_;
  AppSettings settings_;
  formats::DateFormatInfo dateFormat_;
  std::unique_ptr<LiveLink> link_;
  FrameDecoder decoder_;
  DataSetCollection collection_;
  AnnotationState annotations_;
  std::unique_ptr<GraphShared> graphShared_;
  QPointer<TfrmGraph> dataLoggerGraphWindow_;
  QPointer<TfrmGraph> realTimeGraphWindow_;
  std::unique_ptr<RealTimeGraphAdapter> realTimeView_;
  std::unique_ptr<RealTimeRecorder> recorder_;
  std::optional<RealTimeSetupAnswer> scriptedSetup_;
  std::unique_ptr<PanelMemory> panelMemory_;
  std::array<QPixmap, 16> lcdDigits_;
  QPointer<TfrmPanel> panel_;
  QPointer<QMdiSubWindow> panelWindow_;
  bool startedUp_ = false;
  bool closing_ = false;
  const char* connectionKey_ = nullptr;  // the key shown in status panel 1

  QMdiArea* mdiArea_ = nullptr;
  QComboBox* ComboBoxDeviceName = nullptr;
  QLineEdit* Edit1 = nullptr;
  QLineEdit* MaskEdit1 = nullptr;
  std::array<QLabel*, 3> statusPanels_{};
  QMenu* Window1 = nullptr;
  QAction* windowListSeparator_ = nullptr;
  QList<QAction*> windowListActions_;
  QMenu* DataLogger1 = nullptr;
  QAction *Run1 = nullptr, *Stop1 = nullptr, *ControlPanel1 = nullptr, *RealTimeGraph1 = nullptr;
  QToolButton *btnRun = nullptr, *btnStop = nullptr, *btnDataLogger = nullptr, *btnOutputToGraph = nullptr;
};
