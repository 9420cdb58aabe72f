#pragma once
// TfrmGraph: the graph window, one series of sound levels over time with its
// statistics panel, the cursor panel with the two-thumb slider, the annotation
// tools, zoom and chart options. The same class serves three roles, told apart by
// the caption: "DataLogger" (with the "Data Sets" grid), "Real-Time Graph", and a
// single-series window captioned with its file or list name.

#include <functional>
#include <optional>

#include <QPointer>
#include <QWidget>

#include "graph/Annotation.h"
#include "graph/DateTimeDialog.h"
#include "link/Clock.h"

class Chart;
class DataSetCollection;
class Prompts;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QSplitter;
class QTableWidget;
class QToolButton;
class QPushButton;
class Tslider2;

inline const QString kDataLoggerCaption = QStringLiteral("DataLogger");
inline const QString kRealTimeCaption = QStringLiteral("Real-Time Graph");

// What every graph window shares with the main window, which owns it.
struct GraphShared {
  GraphShared(Clock& clock, Prompts& prompts, DataSetCollection& collection, AnnotationState& annotations)
      : clock(clock), prompts(prompts), collection(collection), annotations(annotations) {}

  Clock& clock;
  Prompts& prompts;
  DataSetCollection& collection;
  AnnotationState& annotations;
  // The folder that holds "template/graph.ghf".
  QString applicationFolder;
  // Set by a logger download / by each recorded real-time point; asked about when
  // the window of that role closes.
  bool dataLoggerUnsaved = false;
  bool realTimeUnsaved = false;
  // The save command with the given window as its target.
  std::function<void(class TfrmGraph&)> saveWindow;
  // The main window's part of closing (references, menu checks, Run/Stop).
  std::function<void(class TfrmGraph&)> windowClosed;
  // A graph window became active (the main window disables "Output Tabular to graph").
  std::function<void()> windowActivated;
  // "Clear" of the Real-Time Graph window.
  std::function<void()> clearRealTime;
  // The preset box of the Real-Time Graph window changed by the user.
  std::function<void(int index)> samplingRateChanged;
};

class TfrmGraph : public QWidget {
  Q_OBJECT
 public:
  TfrmGraph(GraphShared& shared, const QString& caption, QWidget* parent = nullptr);
  ~TfrmGraph() override;

  bool isDataLogger() const { return windowTitle() == kDataLoggerCaption; }
  bool isRealTime() const { return windowTitle() == kRealTimeCaption; }

  Chart& chart() const { return *PESGraph1; }
  Tslider2& slider() const { return *Slider1; }

  // Clears the chart and gives it its standing settings: the template when there is
  // one, else the built-in look. False when a template exists but cannot be read
  // (the error has been shown; the chart is unchanged).
  bool resetChart(int subsets, float maxY, float minY, TDateTime maxX, TDateTime minX, int points);
  void redrawChart();
  // Plots data set d of the collection (DataLogger window).
  void plotDataSet(int d);
  // The statistics panel of a single-series window, from the points in its chart.
  void showSeriesStatistics();
  // Fills the "Data Sets" grid from the collection (one row per data set, a blank
  // row when there is none) and selects row 1.
  void fillDataSetGrid();

  // Fields by object name (txtStartTime, txtMax, txtCursorA, ...), for the
  // real-time recording and tests.
  QString field(const QString& name) const;
  void setField(const QString& name, const QString& text);
  // Slider1's Minimum, Maximum, Value1, Value2 in that order; the cursors are
  // refreshed even when no thumb moved.
  void setSlider(int minimum, int maximum, int value1, int value2);
  // All cursor fields and the A–B statistics emptied.
  void clearCursorFields();
  QComboBox* samplingRateBox() const { return txtSamplingRate; }
  void setSamplingRateEditable(bool editable);
  void setClearVisible(bool visible);
  void setClearEnabled(bool enabled);

  // The handlers, public for the main window and the tests.
  void Slider1ValueChange1();
  void showCursorStatistics();
  void Button2Click();      // "Export Statistic"
  QString exportText() const;
  void UndoZoomClick();
  void Button1Click();      // "Graph Option"
  void ToolButton1Click();  // statistics panel toggle
  void ToolButton2Click();  // cursor panel toggle
  void Grid2Click(int row);
  void ChangeDateTime1Click();
  void PESGraph1Click(QPoint position);
  void PESGraph1MouseMove(QPoint position);
  void ToolButton13Click();  // erase annotations

  // Answers the close questions; false keeps the window open.
  bool FormCloseQuery();

  // Injectable dialogs (tests replace them; empty: the desktop dialogs): the text of
  // a text annotation, the rows to erase, the date and time for a data set.
  std::function<std::optional<QString>()> askAnnotationText;
  EraseRowChooser chooseErasedRows;
  DateTimeChooser chooseDateTime;

 signals:
  void closed(TfrmGraph* window);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildLayout();
  QWidget* buildToolbar();
  QWidget* buildStatisticsPanel();
  QWidget* buildCursorPanel();
  void retranslate();
  void alignSlider();
  void placeReadout();
  void onCustomized();
  void selectTool(int tool);

  GraphShared& shared_;
  bool closedOnce_ = false;
  int cursorUpdates_ = 0;
  bool builtInLook_ = false;

  QWidget* pnlDataSets = nullptr;
  QTableWidget* Grid2 = nullptr;
  QMenu* gridMenu_ = nullptr;
  QSplitter* splitter_ = nullptr;
  QSplitter* graphSplitter_ = nullptr;
  QWidget* pnlGraphStatistic = nullptr;
  QWidget* pnlGraph = nullptr;
  QWidget* pnlStatistic = nullptr;
  QWidget* pnlSlider = nullptr;
  QWidget* pnlSamplingRate = nullptr;
  QComboBox* txtSamplingRate = nullptr;
  QLabel* Panel12 = nullptr;
  Chart* PESGraph1 = nullptr;
  Tslider2* Slider1 = nullptr;
  QToolButton *ToolButton1 = nullptr, *ToolButton2 = nullptr, *ToolButton4 = nullptr, *ToolButton5 = nullptr,
              *ToolButton9 = nullptr, *ToolButton13 = nullptr, *tbntClr = nullptr;
  QPushButton *UndoZoom = nullptr, *Button1 = nullptr, *Button2 = nullptr;
  QWidget* clearSeparator_ = nullptr;
};
