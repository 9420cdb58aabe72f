// The main window on the fake serial bus and the virtual clock: the start-up
// search, the connection states in the window, the language switch, the panel
// driven by the simulated meter, and the settings kept across runs.

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QCoreApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "app/AboutBox.h"
#include "app/MainWindow.h"
#include "graph/Chart.h"
#include "graph/Slider2.h"
#include "link/FakeSerial.h"
#include "link/VirtualClock.h"
#include "sim/InProcessMeter.h"
#include "text/Prompts.h"
#include "text/Texts.h"

namespace {

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { texts::setLanguage(Language::French); }
  void TearDown() override {
    window_.reset();
    texts::setLanguage(Language::French);
  }

  std::unique_ptr<QSettings> store() {
    return std::make_unique<QSettings>(settingsDir_.filePath("ml470.ini"), QSettings::IniFormat);
  }

  // The meter on `port`, other listed ports as given.
  InProcessMeter& meterOn(const QString& port, int model = 472) {
    SimOptions options;
    options.model = model;
    meter_ = std::make_unique<InProcessMeter>(clock_, bus_.addDevice(port), options);
    return *meter_;
  }

  TfrmMain& open(TfrmAbout* splash = nullptr) {
    window_ = std::make_unique<TfrmMain>(MainServices{clock_, bus_, prompts_, {}, {}, store(), splash, dataDir_.path()});
    return *window_;
  }
  TfrmMain& start(TfrmAbout* splash = nullptr) {
    TfrmMain& window = open(splash);
    window.startUp();
    return window;
  }

  template <typename T>
  T* child(const char* name) {
    T* found = window_->findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  bool enabled(const char* button, const char* action) {
    const bool buttonOn = child<QToolButton>(button)->isEnabled();
    EXPECT_EQ(buttonOn, child<QAction>(action)->isEnabled()) << button << " and " << action << " disagree";
    return buttonOn;
  }
  bool dataLoggerShown() {
    const bool button = !child<QToolButton>("btnDataLogger")->isHidden();
    EXPECT_EQ(button, child<QMenu>("DataLogger1")->menuAction()->isVisible());
    return button;
  }
  bool noConnectionShown() {
    EXPECT_NE(window_->panel(), nullptr);
    return !window_->panel()->findChild<QLabel*>("lblNoConnection")->isHidden();
  }
  QStringList portList() {
    QStringList items;
    auto* combo = child<QComboBox>("ComboBoxDeviceName");
    for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
    return items;
  }

  VirtualClock clock_;
  FakeSerialBackend bus_{clock_};
  ScriptedPrompts prompts_;
  QTemporaryDir settingsDir_;
  QTemporaryDir dataDir_;
  std::unique_ptr<InProcessMeter> meter_;
  std::unique_ptr<TfrmMain> window_;
};

TEST_F(MainWindowTest, StartUpFindsTheMeterAndSkipsBrokenPorts) {
  bus_.addDevice("COM1").failOpen = true;
  bus_.addDevice("COM3");
  meterOn("COM4");
  TfrmAbout splash(nullptr, true);
  QSignalSpy splashLines(&splash, &TfrmAbout::statusChanged);

  TfrmMain& window = start(&splash);

  EXPECT_EQ(portList(), QStringList({"COM3", "COM4"}));
  EXPECT_EQ(child<QComboBox>("ComboBoxDeviceName")->currentText(), "COM4");
  EXPECT_EQ(window.statusText(0), "COM4");
  EXPECT_EQ(window.statusText(1), "Connecté");
  EXPECT_TRUE(enabled("btnRun", "Run1"));
  EXPECT_FALSE(enabled("btnStop", "Stop1"));
  EXPECT_TRUE(dataLoggerShown());
  EXPECT_FALSE(noConnectionShown());

  QStringList lines;
  for (const QList<QVariant>& call : splashLines) lines << call[0].toString();
  EXPECT_EQ(lines, QStringList({"Initializing COM Port ...", "Recherche de l'instrument branchéCOM1",
                                "Recherche de l'instrument branchéCOM3", "Recherche de l'instrument branchéCOM4", ""}));
  EXPECT_FALSE(splash.isVisible());
}

TEST_F(MainWindowTest, NoMeterFallsBackToTheRememberedPortAndModel) {
  for (const char* port : {"COM1", "COM2", "COM3"}) bus_.addDevice(port);
  store()->setValue("LastConnectedPort", 5);
  store()->setValue("LastConnectedModel", 5);

  TfrmMain& window = start();

  EXPECT_EQ(child<QComboBox>("ComboBoxDeviceName")->currentIndex(), 0);
  EXPECT_EQ(window.statusText(0), "COM1");
  EXPECT_EQ(window.statusText(1), "Connection arrêtée");
  EXPECT_TRUE(noConnectionShown());
  EXPECT_EQ(window.link().meterModel(), 472);
  EXPECT_TRUE(dataLoggerShown());
  EXPECT_FALSE(enabled("btnRun", "Run1"));
  // The remembered port is then polled every second.
  clock_.runFor(3500);
  EXPECT_GE(bus_.device("COM1")->hostWritten.count("\x02" "A"), 2);
}

TEST_F(MainWindowTest, Model471HidesTheDataLogger) {
  meterOn("COM1", 471);
  TfrmMain& window = start();
  EXPECT_EQ(window.link().meterModel(), 471);
  EXPECT_FALSE(dataLoggerShown());
  EXPECT_FALSE(window.panel()->findChild<QWidget*>("img471Bottom")->isHidden());
}

TEST_F(MainWindowTest, LinkLossAndReturnShowInTheWindow) {
  InProcessMeter& meter = meterOn("COM1");
  TfrmMain& window = start();
  clock_.runFor(2000);
  ASSERT_EQ(window.statusText(1), "Connecté");

  meter->setSilent(true);
  clock_.runFor(3500);
  EXPECT_EQ(window.statusText(1), "Pas de connexion");
  EXPECT_FALSE(enabled("btnRun", "Run1"));
  EXPECT_FALSE(enabled("btnStop", "Stop1"));
  EXPECT_FALSE(child<QToolButton>("btnDataLogger")->isEnabled());
  EXPECT_FALSE(child<QMenu>("DataLogger1")->menuAction()->isEnabled());
  EXPECT_TRUE(noConnectionShown());

  meter->setSilent(false);
  clock_.runFor(4000);
  EXPECT_EQ(window.statusText(1), "Connecté");
  EXPECT_TRUE(enabled("btnRun", "Run1"));
  EXPECT_TRUE(child<QToolButton>("btnDataLogger")->isEnabled());
  EXPECT_FALSE(noConnectionShown());
}

TEST_F(MainWindowTest, PanelMirrorsTheMeterAndItsKeysWorkTheMeter) {
  InProcessMeter& meter = meterOn("COM1");
  meter->setLevelScript({654});
  TfrmMain& window = start();
  clock_.runFor(1500);
  auto* fast = window.panel()->findChild<QLabel*>("lblFAST");
  EXPECT_EQ(fast->text(), "Rapide");

  QTest::mouseClick(window.panel()->findChild<QWidget*>("btnFast"), Qt::LeftButton);
  clock_.runFor(1500);
  EXPECT_EQ(meter->countOf('F'), 1);
  EXPECT_EQ(fast->text(), "SLOW");  // no French text is stored for it
  EXPECT_EQ(window.panel()->findChild<QLabel*>("lbldBA")->text(), "dBA");
}

TEST_F(MainWindowTest, LanguageSwitchChangesEveryTextAtOnce) {
  meterOn("COM1");
  TfrmMain& window = start();
  EXPECT_EQ(child<QMenu>("File1")->title(), "Fichier");

  child<QAction>("English1")->trigger();
  EXPECT_EQ(child<QMenu>("File1")->title(), "&File");
  EXPECT_EQ(child<QAction>("Run1")->text(), "Run");
  EXPECT_EQ(child<QToolButton>("btnRun")->toolTip(), "Start Graphing Real Time Data");
  EXPECT_EQ(window.statusText(1), "On Connection");
  EXPECT_EQ(window.windowTitle(), "ML472");
  EXPECT_TRUE(child<QAction>("English1")->isChecked());
  EXPECT_FALSE(child<QAction>("French1")->isChecked());

  child<QAction>("French1")->trigger();
  EXPECT_EQ(child<QMenu>("File1")->title(), "Fichier");
  EXPECT_EQ(window.statusText(1), "Connecté");
}

TEST_F(MainWindowTest, HiddenLoggerItemsStayHidden) {
  open();
  for (const char* name : {"Setup1", "StartAutoLoading1", "StopAutoLoading1", "dumpandclearmemory1",
                           "estLoadingEvery1Minute1"})
    EXPECT_FALSE(child<QAction>(name)->isVisible()) << name;
}

TEST_F(MainWindowTest, PanelClosesAndReopensFromTheViewMenu) {
  meterOn("COM1");
  TfrmMain& window = start();
  ASSERT_NE(window.panel(), nullptr);
  window.panel()->closePanel();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(window.panel(), nullptr);
  EXPECT_FALSE(child<QAction>("ControlPanel1")->isChecked());
  clock_.runFor(1000);  // frames keep coming with no panel

  child<QAction>("ControlPanel1")->trigger();
  ASSERT_NE(window.panel(), nullptr);
  EXPECT_TRUE(child<QAction>("ControlPanel1")->isChecked());
  clock_.runFor(500);
  EXPECT_EQ(window.panel()->findChild<QLabel*>("lbldBA")->text(), "dBA");
}

TEST_F(MainWindowTest, ClosingWritesTheSettingsAndTheNextStartReadsThem) {
  bus_.addDevice("COM1");
  meterOn("COM2", 471);
  TfrmMain& window = start();
  ASSERT_EQ(child<QComboBox>("ComboBoxDeviceName")->currentIndex(), 1);
  EXPECT_TRUE(window.close());
  {
    auto saved = store();
    EXPECT_EQ(saved->value("LastConnectedPort").toInt(), 1);
    EXPECT_EQ(saved->value("LastConnectedModel").toInt(), 471);
    EXPECT_DOUBLE_EQ(saved->value("RealTimeRate").toDouble(), 0.2f);
  }
  EXPECT_FALSE(bus_.device("COM2")->openedBy) << "closing releases the port";

  window_.reset();
  TfrmMain& again = open();
  EXPECT_EQ(again.settings().lastConnectedPort, 1);
  EXPECT_EQ(again.settings().lastConnectedModel, 471);
}

TEST_F(MainWindowTest, ExitTakesTheSameRoadAsClosing) {
  meterOn("COM1");
  start();
  child<QAction>("Exit1")->trigger();
  EXPECT_EQ(store()->value("LastConnectedModel").toInt(), 472);
}

TEST_F(MainWindowTest, RealTimeGraphOpensAtStartUpBesideThePanel) {
  meterOn("COM1");
  TfrmMain& window = start();
  TfrmGraph* graph = window.realTimeGraphWindow();
  ASSERT_NE(graph, nullptr);
  EXPECT_EQ(graph->windowTitle(), "Real-Time Graph");
  EXPECT_TRUE(child<QAction>("RealTimeGraph1")->isChecked());
  EXPECT_FALSE(graph->findChild<QToolButton*>("tbntClr")->isHidden());
  EXPECT_EQ(graph->samplingRateBox()->currentIndex(), 1) << "the 0.2 s preset of the default rate";
  EXPECT_EQ(graph->chart().pointCount(), 2000);
  EXPECT_GE(graph->parentWidget()->x(), window.panel()->width());
}

TEST_F(MainWindowTest, RunRecordsTheMeterAndStopsWhenTheChartIsFull) {
  InProcessMeter& meter = meterOn("COM1");
  meter->setLevelScript({600, 610, 620, 630, 640, 650, 660, 670, 680, 690, 700, 710, 720});
  TfrmMain& window = start();
  clock_.runFor(1000);
  window.answerNextSetup("0.2", "10");
  child<QToolButton>("btnRun")->click();
  EXPECT_TRUE(window.recorder().realTimeRunning());
  EXPECT_FALSE(enabled("btnRun", "Run1"));
  EXPECT_TRUE(enabled("btnStop", "Stop1"));

  clock_.runUntil([&] { return !window.recorder().realTimeRunning(); }, 10000);
  EXPECT_FALSE(window.recorder().realTimeRunning());
  TfrmGraph* graph = window.realTimeGraphWindow();
  EXPECT_EQ(graph->chart().pointCount(), 10);
  EXPECT_EQ(graph->field("txtDataNo"), "10");
  EXPECT_EQ(graph->slider().Maximum(), 9);
  EXPECT_FALSE(graph->field("txtCursorA").isEmpty());
  EXPECT_FALSE(graph->field("txtAvgAll").isEmpty());
  EXPECT_TRUE(enabled("btnRun", "Run1"));
  EXPECT_FALSE(enabled("btnStop", "Stop1"));
  EXPECT_TRUE(window.graphShared().realTimeUnsaved);
  // Points at least one interval apart, in time order.
  for (int i = 1; i < 10; ++i)
    EXPECT_GE(graph->chart().x(i) - graph->chart().x(i - 1), 0.2 / 86400 - 1e-9) << i;
}

TEST_F(MainWindowTest, LinkLossKeepsTheRecordingAndStopComesBack) {
  InProcessMeter& meter = meterOn("COM1");
  TfrmMain& window = start();
  clock_.runFor(1000);
  window.answerNextSetup("1.0", "500");
  window.recorder().btnRunClick();
  clock_.runFor(3000);
  const int before = window.recorder().realTimePointCount();
  EXPECT_GE(before, 2);

  meter->setSilent(true);
  clock_.runFor(4000);
  EXPECT_TRUE(window.recorder().realTimeRunning());
  EXPECT_FALSE(enabled("btnStop", "Stop1"));
  meter->setSilent(false);
  clock_.runFor(4000);
  EXPECT_TRUE(window.recorder().realTimeRunning());
  EXPECT_TRUE(enabled("btnStop", "Stop1"));
  EXPECT_FALSE(enabled("btnRun", "Run1"));
  EXPECT_FALSE(window.realTimeGraphWindow()->findChild<QToolButton*>("tbntClr")->isEnabled());
  EXPECT_GT(window.recorder().realTimePointCount(), before);
}

TEST_F(MainWindowTest, ClosingTheRealTimeGraphAsksAndEndsTheRecording) {
  meterOn("COM1");
  TfrmMain& window = start();
  clock_.runFor(1000);
  window.answerNextSetup("0.5", "100");
  window.recorder().btnRunClick();
  clock_.runFor(2000);
  ASSERT_TRUE(window.graphShared().realTimeUnsaved);

  prompts_.answers = {PromptButton::Cancel};
  EXPECT_FALSE(window.realTimeGraphWindow()->parentWidget()->close());
  EXPECT_TRUE(window.recorder().realTimeRunning());

  prompts_.answers = {PromptButton::No};
  EXPECT_TRUE(window.realTimeGraphWindow()->parentWidget()->close());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(window.realTimeGraphWindow(), nullptr);
  EXPECT_FALSE(window.recorder().realTimeRunning());
  EXPECT_EQ(window.recorder().realTimePointCount(), 0);
  EXPECT_FALSE(child<QAction>("RealTimeGraph1")->isChecked());
  EXPECT_TRUE(enabled("btnRun", "Run1"));
  EXPECT_FALSE(enabled("btnStop", "Stop1"));
  clock_.runFor(1000);  // readings with no window go nowhere

  child<QAction>("RealTimeGraph1")->trigger();
  ASSERT_NE(window.realTimeGraphWindow(), nullptr);
  EXPECT_EQ(window.realTimeGraphWindow()->samplingRateBox()->currentIndex(), 2) << "the rate last used";
  EXPECT_TRUE(window.close());
  EXPECT_DOUBLE_EQ(store()->value("RealTimeRate").toDouble(), 0.5);
}

TEST_F(MainWindowTest, OneDataLoggerWindowShowsTheCollection) {
  meterOn("COM1");
  TfrmMain& window = start();
  ParsedDataSet set;
  set.header = {46000.25, 2, 5, 0, 0, 0x08};
  set.levels = {60.0f, 70.0f, 70.0f, 50.0f, 65.0f};
  ASSERT_TRUE(window.collection().replaceFromImage({set}));

  TfrmGraph* logger = window.openDataLoggerGraph();
  ASSERT_NE(logger, nullptr);
  EXPECT_EQ(window.openDataLoggerGraph(), logger) << "at most one DataLogger window";
  EXPECT_EQ(logger->windowTitle(), "DataLogger");
  EXPECT_FALSE(logger->findChild<QWidget*>("pnlDataSets")->isHidden());
  logger->fillDataSetGrid();
  logger->plotDataSet(0);
  EXPECT_EQ(logger->chart().pointCount(), 5);
  EXPECT_EQ(logger->field("txtMax"), "70.0");
  EXPECT_EQ(logger->field("txtAvgAll"), "63.0");

  window.graphShared().dataLoggerUnsaved = true;
  prompts_.answers = {PromptButton::No};
  EXPECT_TRUE(logger->parentWidget()->close());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(window.dataLoggerGraphWindow(), nullptr);
  EXPECT_NE(window.openDataLoggerGraph(), nullptr);
}

TEST_F(MainWindowTest, GraphFileSavedFromAWindowOpensWithTheSamePoints) {
  meterOn("COM1");
  TfrmMain& window = start();
  clock_.runFor(1000);
  window.answerNextSetup("0.5", "12");
  window.recorder().btnRunClick();
  clock_.runUntil([&] { return !window.recorder().realTimeRunning(); }, 20000);
  TfrmGraph* recorded = window.realTimeGraphWindow();
  ASSERT_EQ(recorded->chart().pointCount(), 12);

  const QString path = dataDir_.filePath("recording");  // the extension is added
  prompts_.fileAnswers = {FileDialogResult{true, path, 1}};
  window.saveSingleDataSet(*recorded);
  ASSERT_TRUE(QFile::exists(path + ".ghf"));

  prompts_.fileAnswers = {FileDialogResult{true, path + ".ghf", 1}};
  child<QAction>("Open1")->trigger();
  TfrmGraph* opened = nullptr;
  for (TfrmGraph* graph : window.findChildren<TfrmGraph*>())
    if (graph->windowTitle().endsWith("recording.ghf")) opened = graph;
  ASSERT_NE(opened, nullptr);
  ASSERT_EQ(opened->chart().pointCount(), 12);
  for (int i = 0; i < 12; ++i) {
    EXPECT_DOUBLE_EQ(opened->chart().x(i), recorded->chart().x(i));
    EXPECT_FLOAT_EQ(opened->chart().y(i), recorded->chart().y(i));
  }
  EXPECT_EQ(opened->field("txtDataNo"), "12");
  EXPECT_EQ(opened->field("txtMax"), recorded->field("txtMax"));

  // A file that is not a graph file is refused with a message and no window.
  QFile junk(dataDir_.filePath("junk.ghf"));
  ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
  junk.write(QByteArray::fromHex("04000000deadbeef"));
  junk.close();
  const int windows = static_cast<int>(window.findChildren<TfrmGraph*>().size());
  prompts_.fileAnswers = {FileDialogResult{true, junk.fileName(), 1}};
  child<QAction>("Open1")->trigger();
  EXPECT_EQ(prompts_.asked.back().kind, PromptKind::Error);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(static_cast<int>(window.findChildren<TfrmGraph*>().size()), windows);
}

}  // namespace
