#include "app/MainWindow.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include "app/AboutBox.h"
#include "app/RealTimeGraphAdapter.h"
#include "graph/Chart.h"
#include "graph/GraphFile.h"
#include "live/SetupRealTime.h"
#include "app/ToolIcons.h"
#include "live/Panel.h"
#include "live/PanelArt.h"
#include "live/PanelMemory.h"
#include "text/Prompts.h"
#include "text/Texts.h"

namespace {
constexpr int kStatusWidths[3] = {100, 150, 50};
}

TfrmMain::TfrmMain(MainServices services, QWidget* parent)
    : QMainWindow(parent), services_(std::move(services)), decoder_(services_.clock) {
  setObjectName("TfrmMain");
  resize(821, 583 + 32 + 22);

  // Creation, in this order: date formats (read where they are used), settings,
  // digit pictures, port list.
  dateFormat_ = formats::analyseShortDateFormat(QLocale().dateFormat(QLocale::ShortFormat));
  settingsStore_ = services_.settingsStore ? std::move(services_.settingsStore) : openSettingsStore();
  settings_ = readSettings(*settingsStore_);
  lcdDigits_ = makeLcdDigits(devicePixelRatioF());
  panelMemory_ = std::make_unique<PanelMemory>(services_.clock);

  link_ = std::make_unique<LiveLink>(services_.clock, services_.backend);
  graphShared_ = std::make_unique<GraphShared>(services_.clock, services_.prompts, collection_, annotations_);
  graphShared_->applicationFolder =
      services_.dataFolder.isEmpty() ? QCoreApplication::applicationDirPath() : services_.dataFolder;
  graphShared_->windowActivated = [this] { btnOutputToGraph->setEnabled(false); };
  graphShared_->windowClosed = [this](TfrmGraph& window) { graphWindowClosed(window); };
  graphShared_->saveWindow = [this](TfrmGraph& window) { saveSingleDataSet(window); };

  recorder_ = std::make_unique<RealTimeRecorder>(
      RealTimeContext{services_.clock, services_.prompts, *this, annotations_.annotationSlotCounter,
                      graphShared_->realTimeUnsaved,
                      [this] {
                        if (realTimeGraphWindow_) saveSingleDataSet(*realTimeGraphWindow_);
                      },
                      [this](const RealTimeSetupRequest& request) {
                        if (scriptedSetup_) {
                          std::optional<RealTimeSetupAnswer> answer = scriptedSetup_;
                          scriptedSetup_.reset();
                          return answer;
                        }
                        return askRealTimeSetup(services_.prompts, this, request);
                      }},
      settings_.realTimeRate);
  graphShared_->clearRealTime = [this] { recorder_->tbntClrClick(); };
  graphShared_->samplingRateChanged = [this](int) { recorder_->txtSamplingRateChange(); };
  decoder_.recordingActive = [this] { return recorder_->realTimeRunning() && realTimeGraphWindow_; };
  decoder_.recordingSink = [this](float level, TDateTime received) {
    recorder_->appendRealTimeReading(level, received);
  };

  mdiArea_ = new QMdiArea(this);
  mdiArea_->setObjectName("MDIClient");
  mdiArea_->setFrameShape(QFrame::NoFrame);
  mdiArea_->setBackground(QColor(128, 128, 128));
  setCentralWidget(mdiArea_);

  buildMenus();
  buildToolPanel();
  buildStatusBar();

  link_->setObserver(this);
  QStringList ports = services_.leadingPorts;
  ports << services_.backend.portNames() << services_.extraPorts;
  link_->setPortList(ports);

  retranslate();
  connect(&texts::LanguageNotifier::instance(), &texts::LanguageNotifier::languageChanged, this,
          &TfrmMain::retranslate);
}

TfrmMain::~TfrmMain() {
  link_->setObserver(nullptr);
  decoder_.panelSink = nullptr;
  decoder_.recordingSink = nullptr;
  // The child windows refer to the panel memory, the graph state and the recorder,
  // which are members: they must go before the members do, not after with the
  // rest of the widget tree.
  delete mdiArea_;
  mdiArea_ = nullptr;
}

// ---------------------------------------------------------------- building

void TfrmMain::buildMenus() {
  auto menu = [this](const char* name) {
    QMenu* m = menuBar()->addMenu(QString());
    m->setObjectName(name);
    m->menuAction()->setObjectName(QString(name) + "Action");
    return m;
  };
  auto item = [this](QMenu* m, const char* name, auto handler) {
    QAction* action = m->addAction(QString());
    action->setObjectName(name);
    action->setParent(this);
    m->addAction(action);
    connect(action, &QAction::triggered, this, handler);
    return action;
  };
  auto ignore = [] {};

  QMenu* File1 = menu("File1");
  item(File1, "Open1", [this] { Open1Click(); });
  item(File1, "Save1", [this] { Save1Click(); });
  File1->addSeparator();
  item(File1, "Print1", ignore);
  item(File1, "PrinterSetup1", ignore);
  File1->addSeparator();
  item(File1, "Exit1", [this] { exitProgram(); });

  QMenu* RealTime1 = menu("RealTime1");
  Run1 = item(RealTime1, "Run1", [this] { recorder_->btnRunClick(); });
  Stop1 = item(RealTime1, "Stop1", [this] { recorder_->btnStopClick(); });
  Run1->setEnabled(false);
  Stop1->setEnabled(false);

  DataLogger1 = menu("DataLogger1");
  item(DataLogger1, "LoadData1", ignore);
  item(DataLogger1, "EraseMemory1", ignore);
  // The logger setup and the scheduled download are not offered in this build.
  for (const char* hidden : {"Setup1", "StartAutoLoading1", "StopAutoLoading1", "dumpandclearmemory1",
                             "estLoadingEvery1Minute1"})
    item(DataLogger1, hidden, ignore)->setVisible(false);

  QMenu* View1 = menu("View1");
  ControlPanel1 = item(View1, "ControlPanel1", [this] { showPanel(); });
  ControlPanel1->setCheckable(true);
  ControlPanel1->setChecked(true);
  RealTimeGraph1 = item(View1, "RealTimeGraph1", [this] { RealTimeGraph1Click(); });
  RealTimeGraph1->setCheckable(true);
  RealTimeGraph1->setChecked(true);

  Window1 = menu("Window1");
  item(Window1, "Tile1", [this] { mdiArea_->tileSubWindows(); });
  item(Window1, "Cascade1", [this] { mdiArea_->cascadeSubWindows(); });
  windowListSeparator_ = Window1->addSeparator();
  connect(Window1, &QMenu::aboutToShow, this, &TfrmMain::updateWindowMenu);

  QMenu* Help1 = menu("Help1");
  item(Help1, "Contents1", [this] { openHelp(); });
  item(Help1, "About1", [this] { showAbout(); });

  QMenu* Language1 = menu("Language1");
  auto* languages = new QActionGroup(this);
  QAction* English1 = item(Language1, "English1", [] { texts::setLanguage(Language::English); });
  QAction* French1 = item(Language1, "French1", [] { texts::setLanguage(Language::French); });
  for (QAction* action : {English1, French1}) {
    action->setCheckable(true);
    languages->addAction(action);
  }
  (texts::language() == Language::French ? French1 : English1)->setChecked(true);
}

void TfrmMain::buildToolPanel() {
  auto* Panel1 = new QToolBar(this);
  Panel1->setObjectName("Panel1");
  Panel1->setMovable(false);
  Panel1->setFloatable(false);
  Panel1->setIconSize(QSize(22, 22));
  Panel1->setFixedHeight(32);
  Panel1->setContextMenuPolicy(Qt::PreventContextMenu);
  addToolBar(Qt::TopToolBarArea, Panel1);

  auto button = [this, Panel1](const char* name, ToolIcon icon, const char* action) {
    auto* b = new QToolButton(Panel1);
    b->setObjectName(name);
    b->setIcon(toolIcon(icon));
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    Panel1->addWidget(b);
    if (action) {
      QAction* target = findChild<QAction*>(action);
      if (target) connect(b, &QToolButton::clicked, target, &QAction::trigger);
    }
    return b;
  };
  button("SpeedButton1", ToolIcon::Open, "Open1");
  button("SpeedButton2", ToolIcon::Save, "Save1");
  button("btnPrint", ToolIcon::Print, "Print1");
  btnDataLogger = button("btnDataLogger", ToolIcon::DataLogger, "LoadData1");
  btnOutputToGraph = button("btnOutputToGraph", ToolIcon::OutputToGraph, nullptr);
  btnOutputToGraph->setEnabled(false);
  Panel1->addSeparator();
  btnRun = button("btnRun", ToolIcon::Run, "Run1");
  btnStop = button("btnStop", ToolIcon::Stop, "Stop1");
  btnRun->setEnabled(false);
  btnStop->setEnabled(false);
  Panel1->addSeparator();
  button("SpeedButton8", ToolIcon::Help, "Contents1");
  Panel1->addSeparator();

  ComboBoxDeviceName = new QComboBox(Panel1);
  ComboBoxDeviceName->setObjectName("ComboBoxDeviceName");
  ComboBoxDeviceName->setMinimumWidth(87);
  ComboBoxDeviceName->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  Panel1->addWidget(ComboBoxDeviceName);
  connect(ComboBoxDeviceName, &QComboBox::activated, this, &TfrmMain::portPicked);

  // Kept for the real-time recording: Edit1 counts the rejected readings.
  Edit1 = new QLineEdit("0", Panel1);
  Edit1->setObjectName("Edit1");
  Edit1->setVisible(false);
  MaskEdit1 = new QLineEdit(Panel1);
  MaskEdit1->setObjectName("MaskEdit1");
  MaskEdit1->setVisible(false);
}

void TfrmMain::buildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName("StatusBar1");
  bar->setSizeGripEnabled(true);
  for (int i = 0; i < 3; ++i) {
    auto* label = new QLabel(bar);
    label->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setMinimumWidth(kStatusWidths[i]);
    label->setContentsMargins(4, 0, 4, 0);
    bar->addWidget(label, i == 1 ? 0 : 0);
    statusPanels_[i] = label;
  }
}

void TfrmMain::retranslate() {
  texts::retranslate(this, TextTable::Main);
  // The connection text follows the language at once.
  if (connectionKey_) setStatus(1, texts::textOf(TextTable::Main, connectionKey_));
}

// ---------------------------------------------------------------- start-up

void TfrmMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!startedUp_) {
    startedUp_ = true;
    // After the window has been painted once.
    QMetaObject::invokeMethod(this, &TfrmMain::startUp, Qt::QueuedConnection);
  }
}

void TfrmMain::startUp() {
  if (link_->mainTimer().isActive()) return;  // once
  startedUp_ = true;
  showPanel();
  if (services_.splash) services_.splash->setStatus("Initializing COM Port ...");

  const bool found = link_->scanPorts();
  if (found) {
    setNoConnectionLabel(false);
    setStatus(0, link_->selectedPortName());
    setStatusKey("IDS_10");
  } else {
    link_->selectRememberedPort(settings_.lastConnectedPort, settings_.lastConnectedModel);
    setNoConnectionLabel(true);
    setStatus(0, link_->selectedPortName());
    setStatusKey("IDS_11");
  }
  applyModelLook(link_->meterModel());
  setDataLogger(link_->meterModel() == 472, true);

  link_->openLiveLink();

  if (services_.splash) {
    services_.splash->setStatus(QString());
    services_.splash->close();
    services_.splash = nullptr;
  }

  // The Real-Time Graph window beside the panel.
  openRealTimeGraph();
  if (auto* frame = qobject_cast<QMdiSubWindow*>(realTimeGraphWindow_->parentWidget())) {
    const int panelWidth = panelWindow_ ? panelWindow_->width() : 0;
    const QSize client = mdiArea_->viewport()->size();
    frame->setGeometry(panelWidth, 0, std::max(300, client.width() - panelWidth - 5),
                       std::max(250, client.height() - 40));
    mdiArea_->setActiveSubWindow(frame);
  }
}

// ---------------------------------------------------------------- link observer

void TfrmMain::scanningPort(const QString& portName) {
  if (services_.splash) services_.splash->setStatus(texts::textOf(TextTable::Main, "IDS_5") + portName);
}

void TfrmMain::portListChanged() {
  const QSignalBlocker blocker(ComboBoxDeviceName);
  ComboBoxDeviceName->clear();
  ComboBoxDeviceName->addItems(link_->portList());
  ComboBoxDeviceName->setCurrentIndex(link_->selectedPort());
}

void TfrmMain::liveFrame(const QByteArray& frame) { decoder_.decode(frame); }

void TfrmMain::meterIdentified(bool byScan) {
  if (byScan) {
    // The start-up sequence shows the rest.
    setRunStop(true, false);
    return;
  }
  applyModelLook(link_->meterModel());
  setDataLogger(link_->meterModel() == 472, true);
  setStatus(0, ComboBoxDeviceName->currentText());
  setStatusKey("IDS_10");
  setNoConnectionLabel(false);
  if (realTimeRunning()) setRunStop(false, true);
  else setRunStop(true, false);
  if (realTimeGraphWindow_) realTimeGraphWindow_->setClearEnabled(!realTimeRunning());
}

void TfrmMain::linkLost(bool) {
  setRunStop(false, false);
  setDataLogger(btnDataLogger->isVisible() || DataLogger1->menuAction()->isVisible(), false);
  setStatus(0, link_->selectedPortName());
  setNoConnectionLabel(true);
  setStatusKey("IDS_73");
}

void TfrmMain::portPicked(int index) { link_->changePort(index); }

// ---------------------------------------------------------------- window effects

QString TfrmMain::statusText(int panel) const {
  return panel >= 0 && panel < 3 ? statusPanels_[panel]->text() : QString();
}

void TfrmMain::setStatus(int panel, const QString& text) { statusPanels_[panel]->setText(text); }

void TfrmMain::setStatusKey(const char* key) {
  connectionKey_ = key;
  setStatus(1, texts::textOf(TextTable::Main, key));
}

void TfrmMain::setNoConnectionLabel(bool visible) {
  if (panel_) panel_->showNoConnection(visible);
}

void TfrmMain::applyModelLook(int model) {
  if (panel_) panel_->applyModelLook(model);
}

void TfrmMain::setRunStop(bool runEnabled, bool stopEnabled) {
  btnRun->setEnabled(runEnabled);
  Run1->setEnabled(runEnabled);
  btnStop->setEnabled(stopEnabled);
  Stop1->setEnabled(stopEnabled);
}

void TfrmMain::setDataLogger(bool visible, bool enabled) {
  btnDataLogger->setVisible(visible);
  DataLogger1->menuAction()->setVisible(visible);
  btnDataLogger->setEnabled(enabled);
  DataLogger1->setEnabled(enabled);
  DataLogger1->menuAction()->setEnabled(enabled);
}

// ---------------------------------------------------------------- panel

void TfrmMain::showPanel() {
  ControlPanel1->setChecked(true);
  if (panel_ && panelWindow_) {
    panelWindow_->showNormal();
    mdiArea_->setActiveSubWindow(panelWindow_);
    return;
  }
  panelMemory_->panelRefreshAll = true;
  auto* panel = new TfrmPanel(PanelContext{services_.clock, *link_, services_.prompts, *panelMemory_, lcdDigits_});
  panel_ = panel;
  decoder_.panelSink = [this](const DisplayState& state) {
    if (panel_) panel_->updatePanel(state);
  };
  QMdiSubWindow* window = mdiArea_->addSubWindow(panel, Qt::SubWindow | Qt::FramelessWindowHint);
  window->setObjectName("TfrmPanelWindow");
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->move(0, 0);
  window->show();
  panelWindow_ = window;
  connect(panel, &TfrmPanel::closed, this, [this] {
    decoder_.panelSink = nullptr;
    ControlPanel1->setChecked(false);
  });
  connect(panel, &TfrmPanel::activated, this, [this] { btnOutputToGraph->setEnabled(false); });
}

// ---------------------------------------------------------------- graph windows

QMdiSubWindow* TfrmMain::addGraphWindow(TfrmGraph* window) {
  QMdiSubWindow* frame = mdiArea_->addSubWindow(window);
  frame->setAttribute(Qt::WA_DeleteOnClose);
  return frame;
}

TfrmGraph* TfrmMain::openDataLoggerGraph() {
  if (dataLoggerGraphWindow_) {
    if (auto* frame = qobject_cast<QMdiSubWindow*>(dataLoggerGraphWindow_->parentWidget())) frame->showNormal();
    return dataLoggerGraphWindow_;
  }
  auto* window = new TfrmGraph(*graphShared_, kDataLoggerCaption);
  QMdiSubWindow* frame = addGraphWindow(window);
  const QSize client = mdiArea_->viewport()->size();
  frame->setGeometry(0, 0, client.width(), std::max(200, client.height() - 60));
  frame->show();
  const TDateTime now = services_.clock.now();
  window->resetChart(1, 130.0f, 30.0f, now + 500 / datetime::kSecondsPerDay, now, 500);
  // The levels are dB here as in the real-time window (the chart's own "Y Axis #1" says nothing).
  window->chart().setYAxisLabel("dB");
  dataLoggerGraphWindow_ = window;
  return window;
}

void TfrmMain::graphWindowClosed(TfrmGraph& window) {
  if (&window == dataLoggerGraphWindow_) dataLoggerGraphWindow_ = nullptr;
  if (&window == realTimeGraphWindow_) {
    RealTimeGraph1->setChecked(false);
    realTimeGraphWindow_ = nullptr;
    // Ends a running recording and sets Run and Stop.
    recorder_->windowClosed();
    realTimeView_.reset();
  }
}

void TfrmMain::openRealTimeGraph() {
  auto* window = new TfrmGraph(*graphShared_, kRealTimeCaption);
  QMdiSubWindow* frame = addGraphWindow(window);
  frame->move(frame->x(), 0);
  RealTimeGraph1->setChecked(true);
  window->setClearVisible(true);
  window->setSamplingRateEditable(true);
  realTimeGraphWindow_ = window;
  realTimeView_ = std::make_unique<RealTimeGraphAdapter>(*window, frame, mdiArea_);
  recorder_->windowOpened(*realTimeView_);
  // After the chart was reset, so that a template cannot override it.
  window->chart().setYAxisLabel("dB");
  frame->show();
}

void TfrmMain::RealTimeGraph1Click() {
  RealTimeGraph1->setChecked(true);
  if (realTimeGraphWindow_) {
    if (auto* frame = qobject_cast<QMdiSubWindow*>(realTimeGraphWindow_->parentWidget())) {
      frame->showNormal();
      mdiArea_->setActiveSubWindow(frame);
    }
    return;
  }
  openRealTimeGraph();
}

void TfrmMain::showRejectedReadings(const QString& text) { Edit1->setText(text); }

void TfrmMain::answerNextSetup(const QString& rateText, const QString& countText) {
  scriptedSetup_ = RealTimeSetupAnswer{rateText, countText};
}

// ---------------------------------------------------------------- files

namespace {
// Graph files for now; the text formats join them with the file commands.
FileDialogRequest graphFileRequest(const char* captionKey) {
  FileDialogRequest request;
  request.caption = texts::textOf(TextTable::Main, captionKey);
  request.filter = QStringLiteral("Graph file(*.ghf,only for ML472)|*.GHF");
  request.defaultExtension = "ghf";
  return request;
}
}  // namespace

void TfrmMain::saveSingleDataSet(TfrmGraph& window) {
  const FileDialogResult answer = services_.prompts.saveFile(graphFileRequest("IDS_47"));
  if (!answer.accepted) return;
  QString path = answer.fileName;
  if (!path.toLower().endsWith(".ghf")) path += ".ghf";
  const QString error = writeGraphFile(path, window.chart().storeState());
  if (!error.isEmpty()) services_.prompts.message(PromptKind::Error, error);
}

void TfrmMain::Save1Click() {
  QMdiSubWindow* active = mdiArea_->activeSubWindow();
  auto* window = active ? qobject_cast<TfrmGraph*>(active->widget()) : nullptr;
  if (window) saveSingleDataSet(*window);
}

void TfrmMain::Open1Click() {
  const FileDialogResult answer = services_.prompts.openFile(graphFileRequest("IDS_74"));
  if (!answer.accepted) return;
  const GraphFileRead file = readGraphFile(answer.fileName);
  if (file.status != GraphFileRead::Status::Ok) {
    services_.prompts.message(PromptKind::Error,
                              file.error.isEmpty() ? QStringLiteral("Cannot open file \"%1\".").arg(answer.fileName)
                                                   : file.error);
    return;
  }
  auto* window = new TfrmGraph(*graphShared_, QDir::toNativeSeparators(QFileInfo(answer.fileName).absoluteFilePath()));
  if (!window->chart().loadState(file.block)) {
    delete window;
    services_.prompts.message(PromptKind::Error, QStringLiteral("\"%1\" is not a graph file.").arg(answer.fileName));
    return;
  }
  QMdiSubWindow* frame = addGraphWindow(window);
  frame->setGeometry(0, 0, width(), std::max(200, mdiArea_->viewport()->height() - 40));
  frame->show();
  window->showSeriesStatistics();
  window->redrawChart();
}

// ---------------------------------------------------------------- shell commands

void TfrmMain::updateWindowMenu() {
  // The list of open windows after Tile and Cascade.
  qDeleteAll(windowListActions_);
  windowListActions_.clear();
  const QList<QMdiSubWindow*> windows = mdiArea_->subWindowList();
  windowListSeparator_->setVisible(!windows.isEmpty());
  int number = 1;
  for (QMdiSubWindow* window : windows) {
    QString title = window->windowTitle();
    if (title.isEmpty() && window->widget()) title = window->widget()->windowTitle();
    QAction* entry = Window1->addAction(QStringLiteral("&%1 %2").arg(number++).arg(title));
    entry->setCheckable(true);
    entry->setChecked(window == mdiArea_->activeSubWindow());
    connect(entry, &QAction::triggered, this, [this, window = QPointer<QMdiSubWindow>(window)] {
      if (window) {
        window->showNormal();
        mdiArea_->setActiveSubWindow(window);
      }
    });
    windowListActions_ << entry;
  }
}

void TfrmMain::openHelp() {
  // No message when the file or a viewer is missing.
  const QString path = QDir(QCoreApplication::applicationDirPath()).filePath("ML472Help.htm");
  QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void TfrmMain::showAbout() {
  TfrmAbout about(this);
  about.exec();
}

void TfrmMain::exitProgram() {
  // File, Exit takes the same road as closing the window, so that unsaved graphs
  // are asked about and the settings are kept.
  close();
}

void TfrmMain::closeEvent(QCloseEvent* event) {
  // The graph windows first: each may ask to save, and may refuse the close.
  for (QMdiSubWindow* window : mdiArea_->subWindowList()) {
    if (window == panelWindow_) continue;
    if (!window->close()) {
      event->ignore();
      return;
    }
  }
  if (panelWindow_) panelWindow_->close();
  link_->closeRequest();
  settings_.lastConnectedPort = std::max(0, ComboBoxDeviceName->currentIndex());
  settings_.lastConnectedModel = link_->meterModel();
  settings_.realTimeRate = recorder_->realTimeRate();
  writeSettings(*settingsStore_, settings_);
  event->accept();
}
