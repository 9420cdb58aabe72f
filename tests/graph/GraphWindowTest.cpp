// The graph window: plotting a data set, the single-series statistics, cursors and
// their statistics, the export text, the template, and the close questions.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QMouseEvent>
#include <qcustomplot.h>

#include "data/DataSetCollection.h"
#include "graph/Annotation.h"
#include "graph/Chart.h"
#include "graph/GraphFile.h"
#include "graph/GraphWindow.h"
#include "graph/Slider2.h"
#include "link/VirtualClock.h"
#include "text/Formats.h"
#include "text/Prompts.h"
#include "text/Texts.h"

namespace {

constexpr TDateTime kStart = 46000.5;  // 12:00:00
constexpr double kSecond = 1.0 / 86400.0;

class GraphWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    texts::setLanguage(Language::English);
    shared_.applicationFolder = folder_.path();
  }
  void TearDown() override {
    for (TfrmGraph* window : windows_) delete window;
    texts::setLanguage(Language::French);
  }

  TfrmGraph& open(const QString& caption) {
    auto* window = new TfrmGraph(shared_, caption);
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->resize(1000, 700);
    window->show();
    windows_.push_back(window);
    return *window;
  }

  // Data sets with the given levels (tenths of dB), 1 s apart.
  void load(const std::vector<std::vector<int>>& dataSets, int interval = 1) {
    std::vector<ParsedDataSet> parsed;
    TDateTime start = kStart;
    for (const auto& tenths : dataSets) {
      ParsedDataSet set;
      set.header = {start, interval, static_cast<int32_t>(tenths.size()), 0, 0, 0x08};
      for (int value : tenths) set.levels.push_back(static_cast<float>(value * 0.1));
      parsed.push_back(set);
      start += 1.0 / 24;
    }
    ASSERT_TRUE(collection_.replaceFromImage(parsed));
  }

  void fillChart(TfrmGraph& window, const std::vector<float>& levels) {
    window.resetChart(1, 130, 30, kStart + levels.size() * kSecond, kStart, static_cast<int>(levels.size()));
    for (std::size_t i = 0; i < levels.size(); ++i) {
      window.chart().setX(static_cast<int>(i), kStart + i * kSecond);
      window.chart().setY(static_cast<int>(i), levels[i]);
    }
  }

  QTemporaryDir folder_;
  VirtualClock clock_;
  ScriptedPrompts prompts_;
  DataSetCollection collection_;
  AnnotationState annotations_;
  GraphShared shared_{clock_, prompts_, collection_, annotations_};
  std::vector<TfrmGraph*> windows_;
};

TEST_F(GraphWindowTest, PlottingADataSetFillsChartStatisticsAndCursors) {
  std::vector<int> tenths;
  for (int i = 0; i < 300; ++i) tenths.push_back(500 + (i % 50));
  tenths[120] = 900;  // the maximum
  tenths[250] = 300;  // the minimum
  load({tenths});
  TfrmGraph& window = open(kDataLoggerCaption);
  window.plotDataSet(0);

  EXPECT_EQ(window.chart().pointCount(), 300);
  EXPECT_DOUBLE_EQ(window.chart().x(299), collection_.sampleTimes()[299]);
  EXPECT_EQ(window.slider().Minimum(), 0);
  EXPECT_EQ(window.slider().Maximum(), 299);
  EXPECT_EQ(window.slider().Value1(), 100);
  EXPECT_EQ(window.slider().Value2(), 200);
  EXPECT_EQ(window.field("txtDataNo"), "300");
  EXPECT_EQ(window.field("txtSamplingRate"), "1");
  EXPECT_EQ(window.field("txtMax"), "90.0");
  EXPECT_EQ(window.field("txtMaxTime"), formats::dateTime(kStart + 120 * kSecond));
  EXPECT_EQ(window.field("txtMin"), "30.0");
  EXPECT_EQ(window.field("txtStartTime"), formats::dateTime(kStart));
  // The X range ends one interval after the last sample.
  EXPECT_NEAR(window.chart().xRange().upper, kStart + 300 * kSecond, 1e-9);
  // The cursors follow the slider.
  EXPECT_EQ(window.field("txtCursorA"), formats::level(collection_.levels()[100]));
  EXPECT_EQ(window.field("txtCursorBTime"), formats::dateTime(collection_.sampleTimes()[200]));
  EXPECT_DOUBLE_EQ(window.chart().cursorLine(chart::kCursorA).position, collection_.sampleTimes()[100]);
  EXPECT_TRUE(window.chart().cursorLine(chart::kCursorB).text.startsWith("|t"));
  EXPECT_TRUE(window.chart().cursorLine(chart::kCursorB).text.endsWith("dB"));
}

TEST_F(GraphWindowTest, SameSampleCountStillRefreshesTheCursors) {
  load({std::vector<int>(30, 600), std::vector<int>(30, 700)});
  TfrmGraph& window = open(kDataLoggerCaption);
  window.plotDataSet(0);
  EXPECT_EQ(window.field("txtCursorA"), "60.0");
  window.plotDataSet(1);
  EXPECT_EQ(window.slider().Value1(), 10);
  EXPECT_EQ(window.field("txtMax"), "70.0");
  // The thumbs did not move, but the fields describe the new data set.
  EXPECT_EQ(window.field("txtCursorA"), "70.0");
  EXPECT_EQ(window.field("txtCursorATime"), formats::dateTime(collection_.sampleTimes()[30 + 10]));
  EXPECT_EQ(window.field("txtAvgAB"), "70.0");
}

TEST_F(GraphWindowTest, GridRowsPlotTheirDataSetAndTheBlankRowNothing) {
  TfrmGraph& window = open(kDataLoggerCaption);
  window.fillDataSetGrid();
  window.Grid2Click(0);  // the blank row of an empty grid
  EXPECT_EQ(window.field("txtDataNo"), "0");

  load({std::vector<int>(10, 600), std::vector<int>(20, 700)});
  window.fillDataSetGrid();
  auto* grid = window.findChild<QTableWidget*>("Grid2");
  ASSERT_EQ(grid->rowCount(), 2);
  EXPECT_EQ(grid->item(1, 4)->text(), "20");
  window.Grid2Click(1);
  EXPECT_EQ(window.field("txtDataNo"), "20");
}

TEST_F(GraphWindowTest, SeriesStatisticsDivideTheSpanByThePointCount) {
  TfrmGraph& window = open("/data/series.ghf");
  fillChart(window, {50, 60, 72, 72, 40, 55, 60, 61, 40, 58});
  window.showSeriesStatistics();
  EXPECT_EQ(window.field("txtSamplingRate"), "0.9");
  EXPECT_EQ(window.field("txtDataNo"), "10");
  EXPECT_EQ(window.field("txtMax"), "72.0");
  EXPECT_EQ(window.field("txtMaxTime"), formats::dateTime(kStart + 2 * kSecond)) << "ties keep the first";
  EXPECT_EQ(window.field("txtMinTime"), formats::dateTime(kStart + 4 * kSecond));
  EXPECT_EQ(window.field("txtAvgAll"), "56.8");
  EXPECT_EQ(window.slider().Maximum(), 9);
  EXPECT_EQ(window.slider().Value1(), 3);
  EXPECT_EQ(window.slider().Value2(), 6);
}

TEST_F(GraphWindowTest, CursorStatisticsBetweenAandB) {
  TfrmGraph& window = open("series");
  fillChart(window, {10, 60, 70, 70, 50, 90});
  window.slider().SetMax(5);
  window.slider().SetValue1(4);  // A past B: the statistics still cover B..A
  window.slider().SetValue2(1);
  EXPECT_EQ(window.field("txtMaxAB"), "70.0");
  EXPECT_EQ(window.field("txtMaxABTime"), formats::dateTime(kStart + 2 * kSecond));
  EXPECT_EQ(window.field("txtMinAB"), "50.0");
  EXPECT_EQ(window.field("txtAvgAB"), "62.5");
  EXPECT_EQ(window.field("txtCursorA"), "50.0");

  window.slider().SetValue2(4);  // both on one point
  EXPECT_EQ(window.field("txtMaxAB"), "50.0");
  EXPECT_EQ(window.field("txtMinAB"), "50.0");
  EXPECT_EQ(window.field("txtMaxABTime"), window.field("txtMinABTime"));
}

TEST_F(GraphWindowTest, OnePointOrNoneShowsNoCursors) {
  TfrmGraph& window = open("series");
  fillChart(window, {65});
  window.showSeriesStatistics();
  window.slider().SetValue2(0);
  window.slider().SetValue1(0);
  EXPECT_EQ(window.field("txtCursorA"), "");
  EXPECT_EQ(window.field("txtAvgAB"), "");
}

TEST_F(GraphWindowTest, ExportTextLineByLine) {
  TfrmGraph& window = open("series");
  const QStringList fresh = window.exportText().split('\n');
  ASSERT_EQ(fresh.size(), 12);  // eleven lines, each ending in a line feed
  EXPECT_EQ(fresh[2], "DataNo:0");
  EXPECT_EQ(fresh[3], "Avg.:***.* dB ");
  EXPECT_EQ(fresh[4], "Maximum:@");
  EXPECT_EQ(fresh[11], "");

  fillChart(window, {60, 70, 70, 50});
  window.showSeriesStatistics();
  window.Button2Click();
  const QStringList lines = QApplication::clipboard()->text().split('\n');
  ASSERT_EQ(lines.size(), 12);
  EXPECT_EQ(lines[0], "Start Time:" + formats::dateTime(kStart));
  EXPECT_EQ(lines[1], "Sampling Rate:0.8");
  EXPECT_EQ(lines[3], "Avg.:62.5");
  EXPECT_EQ(lines[4], "Maximum:70.0@" + formats::dateTime(kStart + kSecond));
  EXPECT_EQ(lines[6], "Cursor A:" + window.field("txtCursorA") + "@" + window.field("txtCursorATime"));
  EXPECT_EQ(lines[9], "Min.Between A and B:" + window.field("txtMinAB") + "@" + window.field("txtMinABTime"));
  ASSERT_FALSE(prompts_.asked.empty());
  EXPECT_EQ(prompts_.asked.back().text, "The statistic has been copy to clipboard");

  texts::setLanguage(Language::French);
  const QStringList french = window.exportText().split('\n');
  EXPECT_TRUE(french[6].startsWith("Curseur A"));
  EXPECT_TRUE(french[9].startsWith("Min.Between A and B:"));
}

TEST_F(GraphWindowTest, MouseReadoutOnlyInsideThePlottingArea) {
  TfrmGraph& window = open("series");
  fillChart(window, {60, 70});
  const QRect area = window.chart().plotArea();
  window.PESGraph1MouseMove(area.center());
  const QString inside = window.findChild<QLabel*>("Panel12")->text();
  EXPECT_TRUE(inside.contains("dB@")) << inside.toStdString();
  window.PESGraph1MouseMove(area.topLeft() - QPoint(5, 5));
  EXPECT_EQ(window.findChild<QLabel*>("Panel12")->text(), inside);
}

TEST_F(GraphWindowTest, TemplateGivesTheLookAndAnUnreadableOneStopsThePlot) {
  TfrmGraph& first = open("series");
  chart::ChartLook look = first.chart().look();
  look.graphBackColor = QColor(10, 20, 30);
  first.chart().setLook(look);
  QDir(folder_.path()).mkpath("template");
  const QString path = QDir(folder_.path()).filePath("template/graph.ghf");
  ASSERT_EQ(writeGraphFile(path, first.chart().storeSettings()), "");

  TfrmGraph& second = open("other");
  ASSERT_TRUE(second.resetChart(1, 130, 30, kStart + 0.01, kStart, 50));
  EXPECT_EQ(second.chart().look().graphBackColor, QColor(10, 20, 30));
  EXPECT_EQ(second.chart().pointCount(), 50);
  EXPECT_EQ(second.chart().cursorLine(chart::kCursorA).color, QColor(0, 0, 255));

  QFile damaged(path);
  ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
  damaged.write(QByteArray::fromHex("ff000000616263"));
  damaged.close();
  EXPECT_FALSE(second.resetChart(1, 130, 30, kStart + 0.01, kStart, 7));
  EXPECT_EQ(second.chart().pointCount(), 50) << "the chart keeps its content";
  EXPECT_EQ(prompts_.asked.back().kind, PromptKind::Error);

  QFile::remove(path);
  ASSERT_TRUE(second.resetChart(1, 130, 30, kStart + 0.01, kStart, 5));
  EXPECT_EQ(second.chart().look().graphBackColor, QColor(Qt::black));
  // The built-in time label follows the language.
  EXPECT_EQ(second.chart().look().xAxisLabel, "Time");
  texts::setLanguage(Language::French);
  EXPECT_EQ(second.chart().look().xAxisLabel, "Heure");
}

TEST_F(GraphWindowTest, CustomizedLookIsKeptAsTheTemplateOnlyOnYes) {
  TfrmGraph& window = open("series");
  const QString path = QDir(folder_.path()).filePath("template/graph.ghf");
  prompts_.answers = {PromptButton::No};
  emit window.chart().customized();
  EXPECT_EQ(prompts_.asked.back().text, "Do you want to save the changes ?");
  EXPECT_FALSE(QFile::exists(path));

  chart::ChartLook look = window.chart().look();
  look.mainTitle = "Street, north side";
  window.chart().setLook(look);
  prompts_.answers = {PromptButton::Yes};
  emit window.chart().customized();
  ASSERT_TRUE(QFile::exists(path)) << "the template folder is made when missing";
  TfrmGraph& next = open("next");
  ASSERT_TRUE(next.resetChart(1, 130, 30, kStart + 0.01, kStart, 3));
  EXPECT_EQ(next.chart().look().mainTitle, "Street, north side");
}

TEST_F(GraphWindowTest, CloseQuestionsByRole) {
  int saves = 0;
  shared_.saveWindow = [&saves](TfrmGraph&) { ++saves; };
  TfrmGraph& logger = open(kDataLoggerCaption);
  shared_.dataLoggerUnsaved = true;
  prompts_.answers = {PromptButton::Cancel};
  EXPECT_FALSE(logger.close());
  EXPECT_TRUE(shared_.dataLoggerUnsaved);
  prompts_.answers = {PromptButton::Yes};
  EXPECT_TRUE(logger.close());
  EXPECT_EQ(saves, 1);
  EXPECT_FALSE(shared_.dataLoggerUnsaved);

  TfrmGraph& realTime = open(kRealTimeCaption);
  shared_.realTimeUnsaved = true;
  shared_.dataLoggerUnsaved = true;  // closing any window clears it
  prompts_.answers = {PromptButton::No};
  EXPECT_TRUE(realTime.close());
  EXPECT_EQ(saves, 1);
  EXPECT_FALSE(shared_.realTimeUnsaved);
  EXPECT_FALSE(shared_.dataLoggerUnsaved);
  EXPECT_EQ(prompts_.asked.back().text, "Save Real-Time Graph ?");
}

TEST_F(GraphWindowTest, ToolButtonsPlaceAndEraseMarksThroughTheChart) {
  TfrmGraph& window = open("series");
  fillChart(window, {60, 70, 65, 62});
  window.findChild<QToolButton*>("ToolButton5")->click();
  EXPECT_EQ(annotations_.annotationTool, AnnotationTool::Cross);
  EXPECT_EQ(window.chart().pointer(), Chart::Pointer::Cross);

  // A press and release in place on the plot is a click at the mouse position.
  const QPoint at = window.chart().plotArea().center() - QPoint(15, 15);
  QWidget* plot = window.chart().plot();
  const QPoint inPlot = plot->mapFrom(&window.chart(), at);
  for (QEvent::Type type : {QEvent::MouseMove, QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QMouseEvent event(type, inPlot, plot->mapToGlobal(inPlot), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(plot, &event);
  }
  EXPECT_EQ(annotations_.annotationSlotCounter, 5);
  EXPECT_EQ(window.chart().annotation(5).kind, chart::AnnotationKind::Cross);

  window.chooseErasedRows = [](const std::vector<EraseListRow>& rows) -> std::optional<EraseRowRange> {
    EXPECT_EQ(rows.size(), 1u);
    return EraseRowRange{0, 0};
  };
  window.findChild<QToolButton*>("ToolButton13")->click();
  EXPECT_EQ(window.chart().annotation(5).kind, chart::AnnotationKind::None);

  window.findChild<QToolButton*>("ToolButton4")->click();
  EXPECT_EQ(annotations_.annotationTool, AnnotationTool::None);
  EXPECT_EQ(window.chart().pointer(), Chart::Pointer::Arrow);
}

TEST_F(GraphWindowTest, ChangeDateTimeRewritesTheRowAndReplots) {
  load({std::vector<int>(5, 600), std::vector<int>(5, 700), std::vector<int>(5, 800)}, 2);
  TfrmGraph& window = open(kDataLoggerCaption);
  window.fillDataSetGrid();
  auto* grid = window.findChild<QTableWidget*>("Grid2");
  grid->selectRow(1);
  const TDateTime chosen = datetime::fromQDateTime(QDateTime(QDate(2024, 3, 1), QTime(8, 0, 0)));
  window.chooseDateTime = [chosen] { return std::optional<TDateTime>(chosen); };
  window.ChangeDateTime1Click();
  EXPECT_EQ(grid->item(1, 1)->text(), formats::shortDate(chosen));
  EXPECT_EQ(grid->item(1, 2)->text(), "08:00:00");
  EXPECT_DOUBLE_EQ(window.chart().x(0), chosen);
  EXPECT_NEAR(window.chart().x(4), chosen + 8 * kSecond, 1e-9);
  EXPECT_EQ(window.field("txtMax"), "70.0");
  EXPECT_DOUBLE_EQ(collection_.startTime()[0], kStart) << "the other data sets keep their times";
}

}  // namespace
