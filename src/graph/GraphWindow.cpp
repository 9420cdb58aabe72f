#include "graph/GraphWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "data/DataSetCollection.h"
#include "graph/AnnoEdit.h"
#include "graph/Annotation.h"
#include "graph/Chart.h"
#include "graph/DateTimeDialog.h"
#include "graph/DelAnno.h"
#include "graph/GraphFile.h"
#include "graph/Slider2.h"
#include "text/Formats.h"
#include "text/Prompts.h"
#include "text/Texts.h"

namespace {

constexpr const char* kPresets[] = {"0.1", "0.2", "0.5", "1.0", "2.0", "5.0", "10.0", "20.0", "30.0"};
constexpr double kPresetSeconds[] = {0.1, 0.2, 0.5, 1, 2, 5, 10, 20, 30};
constexpr const char* kAvgPlaceholder = "***.* dB ";
constexpr int kLevelFieldWidth = 44;
constexpr int kTimeFieldWidth = 96;

constexpr const char* kStatisticFields[] = {"txtStartTime", "txtDataNo", "txtMax", "txtMaxTime",
                                            "txtMin", "txtMinTime", "txtAvgAll"};
constexpr const char* kCursorFields[] = {"txtCursorA", "txtCursorATime", "txtCursorB", "txtCursorBTime",
                                         "txtMaxAB", "txtMaxABTime", "txtMinAB", "txtMinABTime", "txtAvgAB"};

QLineEdit* makeField(QWidget* parent, const char* name, int width) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->setReadOnly(true);
  edit->setMinimumWidth(width);
  edit->setFocusPolicy(Qt::ClickFocus);
  return edit;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text = {}) {
  auto* label = new QLabel(text, parent);
  if (*name) label->setObjectName(name);
  return label;
}

QToolButton* makeToolButton(QWidget* parent, const char* name, const QString& text, bool checkable) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setText(text);
  button->setCheckable(checkable);
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::NoFocus);
  return button;
}

// A small drawn picture for the tool buttons.
QIcon drawnIcon(const std::function<void(QPainter&)>& draw) {
  QPixmap pixmap(QSize(20, 20) * 2);
  pixmap.setDevicePixelRatio(2);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(40, 44, 52), 1.6, Qt::SolidLine, Qt::RoundCap));
  draw(painter);
  return QIcon(pixmap);
}

}  // namespace

TfrmGraph::TfrmGraph(GraphShared& shared, const QString& caption, QWidget* parent)
    : QWidget(parent), shared_(shared) {
  setObjectName("TfrmGraph");
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(caption);
  buildLayout();

  // FormCreate: the grid's headings and widths, row 1 empty.
  Grid2->setColumnCount(6);
  Grid2->setRowCount(1);
  const int widths[6] = {25, 60, 60, 65, 40, 40};
  for (int column = 0; column < 6; ++column) Grid2->setColumnWidth(column, widths[column]);

  pnlDataSets->setVisible(isDataLogger());
  retranslate();
  connect(&texts::LanguageNotifier::instance(), &texts::LanguageNotifier::languageChanged, this,
          &TfrmGraph::retranslate);
}

TfrmGraph::~TfrmGraph() = default;

// ---------------------------------------------------------------- layout

void TfrmGraph::buildLayout() {
  auto* outer = new QHBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  splitter_ = new QSplitter(Qt::Horizontal, this);
  outer->addWidget(splitter_);

  pnlDataSets = new QWidget(splitter_);
  pnlDataSets->setObjectName("pnlDataSets");
  auto* dataSetsLayout = new QVBoxLayout(pnlDataSets);
  dataSetsLayout->setContentsMargins(2, 2, 2, 2);
  dataSetsLayout->setSpacing(2);
  QLabel* title = makeLabel(pnlDataSets, "lblDataSets", "Data Sets");
  title->setFrameShape(QFrame::Panel);
  title->setFrameShadow(QFrame::Sunken);
  title->setAlignment(Qt::AlignCenter);
  QFont bold = title->font();
  bold.setBold(true);
  title->setFont(bold);
  Grid2 = new QTableWidget(pnlDataSets);
  Grid2->setObjectName("Grid2");
  Grid2->setSelectionBehavior(QAbstractItemView::SelectRows);
  Grid2->setSelectionMode(QAbstractItemView::SingleSelection);
  Grid2->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Grid2->verticalHeader()->setVisible(false);
  Grid2->verticalHeader()->setDefaultSectionSize(20);
  Grid2->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  Grid2->setCursor(Qt::PointingHandCursor);
  Grid2->setContextMenuPolicy(Qt::CustomContextMenu);
  gridMenu_ = new QMenu(this);
  QAction* change = gridMenu_->addAction("Change Date & Time");
  change->setObjectName("ChangeDateTime1");
  change->setParent(this);
  gridMenu_->addAction(change);
  connect(change, &QAction::triggered, this, &TfrmGraph::ChangeDateTime1Click);
  connect(Grid2, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { gridMenu_->popup(Grid2->viewport()->mapToGlobal(at)); });
  connect(Grid2, &QTableWidget::cellClicked, this, [this](int row, int) { Grid2Click(row); });
  dataSetsLayout->addWidget(title);
  dataSetsLayout->addWidget(Grid2);
  pnlDataSets->setMinimumWidth(120);
  pnlDataSets->resize(305, pnlDataSets->height());

  auto* right = new QWidget(splitter_);
  auto* rightLayout = new QVBoxLayout(right);
  rightLayout->setContentsMargins(0, 0, 0, 0);
  rightLayout->setSpacing(0);
  rightLayout->addWidget(buildToolbar());
  pnlGraphStatistic = buildStatisticsPanel();
  rightLayout->addWidget(pnlGraphStatistic);

  graphSplitter_ = new QSplitter(Qt::Vertical, right);
  pnlGraph = new QWidget(graphSplitter_);
  pnlGraph->setObjectName("pnlGraph");
  auto* graphLayout = new QVBoxLayout(pnlGraph);
  graphLayout->setContentsMargins(0, 0, 0, 0);
  PESGraph1 = new Chart(pnlGraph);
  PESGraph1->setObjectName("PESGraph1");
  PESGraph1->setYAxisLabel("Y Axis #1");
  // Never squeezed to nothing by the splitter: the plot cannot draw into 0 pixels.
  PESGraph1->setMinimumSize(120, 80);
  graphLayout->addWidget(PESGraph1);
  Panel12 = new QLabel(PESGraph1);
  Panel12->setObjectName("Panel12");
  Panel12->setFixedSize(135, 17);
  Panel12->setAlignment(Qt::AlignCenter);
  Panel12->setAutoFillBackground(true);
  Panel12->setStyleSheet("QLabel { background: rgba(255,255,255,220); color: black; }");
  Panel12->setVisible(false);  // until the mouse first moves over the plot
  pnlGraph->installEventFilter(this);

  pnlStatistic = buildCursorPanel();
  graphSplitter_->addWidget(pnlGraph);
  graphSplitter_->addWidget(pnlStatistic);
  graphSplitter_->setStretchFactor(0, 1);
  graphSplitter_->setStretchFactor(1, 0);
  graphSplitter_->setCollapsible(0, false);
  rightLayout->addWidget(graphSplitter_, 1);

  splitter_->addWidget(pnlDataSets);
  splitter_->addWidget(right);
  splitter_->setStretchFactor(1, 1);
  splitter_->setSizes({305, 700});

  connect(PESGraph1, &Chart::zoomedIn, this, [this] { UndoZoom->setEnabled(true); });
  connect(PESGraph1, &Chart::customized, this, &TfrmGraph::onCustomized);
  connect(PESGraph1, &Chart::mouseMoved, this, &TfrmGraph::PESGraph1MouseMove);
  connect(PESGraph1, &Chart::clicked, this, [this](Qt::MouseButton button, QPoint position) {
    if (button == Qt::LeftButton) PESGraph1Click(position);
  });
  connect(Slider1, &Tslider2::OnValueChange1, this, [this] { Slider1ValueChange1(); });
  connect(Slider1, &Tslider2::OnValueChange2, this, [this] { Slider1ValueChange1(); });
}

QWidget* TfrmGraph::buildToolbar() {
  auto* bar = new QFrame(this);
  bar->setObjectName("ToolBar1");
  bar->setFrameShape(QFrame::StyledPanel);
  auto* layout = new QHBoxLayout(bar);
  layout->setContentsMargins(4, 2, 4, 2);
  layout->setSpacing(2);

  ToolButton1 = makeToolButton(bar, "ToolButton1", "Σ", true);
  ToolButton1->setIcon(drawnIcon([](QPainter& p) {
    p.drawRect(QRectF(3, 4, 14, 12));
    p.drawLine(QPointF(6, 8), QPointF(14, 8));
    p.drawLine(QPointF(6, 12), QPointF(12, 12));
  }));
  ToolButton2 = makeToolButton(bar, "ToolButton2", "AB", true);
  ToolButton2->setIcon(drawnIcon([](QPainter& p) {
    p.setPen(QPen(QColor(0, 0, 230), 2));
    p.drawLine(QPointF(7, 3), QPointF(7, 17));
    p.setPen(QPen(QColor(220, 0, 0), 2));
    p.drawLine(QPointF(13, 3), QPointF(13, 17));
  }));
  for (QToolButton* toggle : {ToolButton1, ToolButton2}) toggle->setChecked(true);
  connect(ToolButton1, &QToolButton::clicked, this, &TfrmGraph::ToolButton1Click);
  connect(ToolButton2, &QToolButton::clicked, this, &TfrmGraph::ToolButton2Click);

  ToolButton4 = makeToolButton(bar, "ToolButton4", "", true);
  ToolButton4->setIcon(drawnIcon([](QPainter& p) {
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({QPointF(6, 3), QPointF(6, 16), QPointF(9, 13), QPointF(12, 18), QPointF(14, 17),
                             QPointF(11, 12), QPointF(15, 12)}));
  }));
  ToolButton5 = makeToolButton(bar, "ToolButton5", "", true);
  ToolButton5->setIcon(drawnIcon([](QPainter& p) {
    p.setPen(QPen(QColor(200, 30, 30), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5, 5), QPointF(15, 15));
    p.drawLine(QPointF(15, 5), QPointF(5, 15));
  }));
  ToolButton9 = makeToolButton(bar, "ToolButton9", "", true);
  ToolButton9->setIcon(drawnIcon([](QPainter& p) {
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(15);
    p.setFont(font);
    p.drawText(QRectF(0, 0, 20, 20), Qt::AlignCenter, "T");
  }));
  ToolButton4->setChecked(true);
  for (const auto& entry : {std::pair{ToolButton4, -99}, std::pair{ToolButton5, 2}, std::pair{ToolButton9, 0}}) {
    const int tool = entry.second;
    connect(entry.first, &QToolButton::clicked, this, [this, tool] { selectTool(tool); });
  }
  ToolButton13 = makeToolButton(bar, "ToolButton13", "", false);
  ToolButton13->setIcon(drawnIcon([](QPainter& p) {
    p.setBrush(QColor(245, 160, 170));
    p.drawPolygon(QPolygonF({QPointF(3, 12), QPointF(10, 5), QPointF(17, 12), QPointF(12, 17), QPointF(8, 17)}));
  }));
  connect(ToolButton13, &QToolButton::clicked, this, &TfrmGraph::ToolButton13Click);

  tbntClr = makeToolButton(bar, "tbntClr", "Clear", false);
  tbntClr->setToolButtonStyle(Qt::ToolButtonTextOnly);
  tbntClr->setVisible(false);
  connect(tbntClr, &QToolButton::clicked, this, [this] {
    if (shared_.clearRealTime) shared_.clearRealTime();
  });

  UndoZoom = new QPushButton("Undo Zoom", bar);
  UndoZoom->setObjectName("UndoZoom");
  UndoZoom->setEnabled(false);
  connect(UndoZoom, &QPushButton::clicked, this, &TfrmGraph::UndoZoomClick);
  Button1 = new QPushButton("Graph Option", bar);
  Button1->setObjectName("Button1");
  connect(Button1, &QPushButton::clicked, this, &TfrmGraph::Button1Click);
  Button2 = new QPushButton("Export Statistic", bar);
  Button2->setObjectName("Button2");
  connect(Button2, &QPushButton::clicked, this, &TfrmGraph::Button2Click);

  auto separator = [bar, layout] {
    auto* line = new QFrame(bar);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    layout->addWidget(line);
    return line;
  };
  layout->addWidget(ToolButton1);
  layout->addWidget(ToolButton2);
  separator();
  layout->addWidget(ToolButton4);
  layout->addWidget(ToolButton5);
  layout->addWidget(ToolButton9);
  layout->addWidget(ToolButton13);
  clearSeparator_ = separator();
  clearSeparator_->setVisible(false);
  layout->addWidget(tbntClr);
  separator();
  layout->addWidget(UndoZoom);
  layout->addWidget(Button1);
  layout->addWidget(Button2);
  layout->addStretch();
  return bar;
}

QWidget* TfrmGraph::buildStatisticsPanel() {
  auto* panel = new QFrame(this);
  panel->setObjectName("pnlGraphStatistic");
  panel->setFrameShape(QFrame::StyledPanel);
  auto* rows = new QVBoxLayout(panel);
  rows->setContentsMargins(6, 4, 6, 4);
  rows->setSpacing(3);

  auto* first = new QHBoxLayout;
  first->setSpacing(4);
  first->addWidget(makeLabel(panel, "lblStartTime", "Start Time"));
  first->addWidget(makeField(panel, "txtStartTime", kTimeFieldWidth), 3);
  first->addSpacing(8);
  first->addWidget(makeLabel(panel, "lblSamplingRate", "Sampling Rate"));
  pnlSamplingRate = new QWidget(panel);
  pnlSamplingRate->setObjectName("pnlSamplingRate");
  auto* rateLayout = new QHBoxLayout(pnlSamplingRate);
  rateLayout->setContentsMargins(0, 0, 0, 0);
  txtSamplingRate = new QComboBox(pnlSamplingRate);
  txtSamplingRate->setObjectName("txtSamplingRate");
  txtSamplingRate->setEditable(true);
  for (const char* preset : kPresets) txtSamplingRate->addItem(preset);
  txtSamplingRate->setEditText("0.1");
  txtSamplingRate->setMinimumWidth(64);
  rateLayout->addWidget(txtSamplingRate);
  pnlSamplingRate->setEnabled(false);
  connect(txtSamplingRate, &QComboBox::activated, this, [this](int index) {
    if (shared_.samplingRateChanged && isRealTime()) shared_.samplingRateChanged(index);
  });
  first->addWidget(pnlSamplingRate);
  first->addWidget(makeLabel(panel, "lblSec", "Sec"));
  first->addSpacing(8);
  first->addWidget(makeLabel(panel, "lblDataNo", "Data No."));
  QLineEdit* count = makeField(panel, "txtDataNo", kLevelFieldWidth);
  count->setText("0");
  first->addWidget(count, 1);
  rows->addLayout(first);

  auto* second = new QHBoxLayout;
  second->setSpacing(4);
  second->addWidget(makeLabel(panel, "lblMax", "Maximum "));
  second->addWidget(makeField(panel, "txtMax", kLevelFieldWidth), 1);
  second->addWidget(makeLabel(panel, "", "@"));
  second->addWidget(makeField(panel, "txtMaxTime", kTimeFieldWidth), 3);
  second->addSpacing(8);
  second->addWidget(makeLabel(panel, "lblMin", "Minimum"));
  second->addWidget(makeField(panel, "txtMin", kLevelFieldWidth), 1);
  second->addWidget(makeLabel(panel, "", "@"));
  second->addWidget(makeField(panel, "txtMinTime", kTimeFieldWidth), 3);
  second->addSpacing(8);
  second->addWidget(makeLabel(panel, "lblAvg", "Avg"));
  QLineEdit* average = makeField(panel, "txtAvgAll", kLevelFieldWidth + 10);
  average->setText(kAvgPlaceholder);
  second->addWidget(average, 1);
  rows->addLayout(second);
  return panel;
}

QWidget* TfrmGraph::buildCursorPanel() {
  auto* panel = new QFrame(this);
  panel->setObjectName("pnlStatistic");
  panel->setFrameShape(QFrame::StyledPanel);
  panel->setMinimumHeight(113);
  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(0, 0, 0, 4);
  layout->setSpacing(2);

  pnlSlider = new QWidget(panel);
  pnlSlider->setObjectName("pnlSlider");
  pnlSlider->setFixedHeight(22);
  Slider1 = new Tslider2(pnlSlider);
  Slider1->setObjectName("Slider1");
  Slider1->SetTrackWidth(5);
  Slider1->SetTrackColor(Qt::yellow);
  Slider1->SetThumbHeight(10);
  Slider1->SetThumbWidth(4);
  Slider1->SetThumbColor(QColor(0, 255, 0));
  Slider1->SetOrientation(Tslider2::slHoriz);
  Slider1->SetMin(0);
  Slider1->SetMax(100);
  Slider1->SetValue1(0);
  Slider1->SetValue2(100);
  Slider1->setGeometry(0, 0, 200, 22);
  layout->addWidget(pnlSlider);

  // Two columns of label, level, "@", time; the labels of a column share a width.
  auto* grid = new QGridLayout;
  grid->setContentsMargins(6, 0, 6, 0);
  grid->setHorizontalSpacing(4);
  grid->setVerticalSpacing(3);
  auto row = [panel, grid](int r, int c, const char* label, const char* value, const char* time, QColor colour) {
    QLabel* caption = makeLabel(panel, label);
    QLineEdit* level = makeField(panel, value, kLevelFieldWidth);
    if (colour.isValid()) {
      const QString style = QStringLiteral("color: %1; font-weight: bold;").arg(colour.name());
      caption->setStyleSheet(style);
      level->setStyleSheet(style);
    }
    grid->addWidget(caption, r, c);
    grid->addWidget(level, r, c + 1);
    if (time) {
      grid->addWidget(makeLabel(panel, "", "@"), r, c + 2);
      grid->addWidget(makeField(panel, time, kTimeFieldWidth), r, c + 3);
    }
  };
  row(0, 0, "lblCursorA", "txtCursorA", "txtCursorATime", QColor(0, 0, 230));
  row(0, 5, "lblCursorB", "txtCursorB", "txtCursorBTime", QColor(220, 0, 0));
  row(1, 0, "lblMaxAB", "txtMaxAB", "txtMaxABTime", QColor());
  row(1, 5, "lblMinAB", "txtMinAB", "txtMinABTime", QColor());
  row(2, 0, "lblAvgAB", "txtAvgAB", nullptr, QColor());
  grid->setColumnMinimumWidth(4, 8);
  for (int column : {1, 6}) grid->setColumnStretch(column, 1);
  for (int column : {3, 8}) grid->setColumnStretch(column, 3);
  layout->addLayout(grid);
  layout->addStretch();
  return panel;
}

void TfrmGraph::retranslate() {
  texts::retranslate(this, TextTable::Graph);
  // The built-in time axis label follows the language; a template's is the user's own.
  if (builtInLook_ && PESGraph1) {
    PESGraph1->setXAxisLabel(texts::textOf(TextTable::Main, "IDS_13"));
    redrawChart();
  }
  if (Grid2) {
    QStringList headings;
    for (const char* key : {"IDS_0", "IDS_1", "IDS_2", "IDS_3", "IDS_4", "IDS_5"})
      headings << texts::textOf(TextTable::Graph, key);
    Grid2->setHorizontalHeaderLabels(headings);
  }
}

// ---------------------------------------------------------------- fields

QString TfrmGraph::field(const QString& name) const {
  if (name == "txtSamplingRate") return txtSamplingRate->currentText();
  const auto* edit = findChild<QLineEdit*>(name);
  return edit ? edit->text() : QString();
}

void TfrmGraph::setField(const QString& name, const QString& text) {
  if (name == "txtSamplingRate") {
    txtSamplingRate->setEditText(text);
    return;
  }
  if (auto* edit = findChild<QLineEdit*>(name)) {
    edit->setText(text);
    edit->setCursorPosition(0);
  }
}

void TfrmGraph::clearCursorFields() {
  for (const char* name : kCursorFields) setField(name, {});
}

void TfrmGraph::setSamplingRateEditable(bool editable) {
  // The Real-Time Graph window offers the presets as a list to choose from; the
  // other roles show a value they computed, read-only.
  pnlSamplingRate->setEnabled(editable);
  txtSamplingRate->setEditable(!editable);
}

void TfrmGraph::setClearVisible(bool visible) {
  tbntClr->setVisible(visible);
  clearSeparator_->setVisible(visible);
}

void TfrmGraph::setClearEnabled(bool enabled) { tbntClr->setEnabled(enabled); }

// ---------------------------------------------------------------- chart

bool TfrmGraph::resetChart(int /*subsets*/, float maxY, float minY, TDateTime maxX, TDateTime minX, int points) {
  // The template, when the user saved one; a block the chart refuses counts as none.
  const QString templatePath = QDir(shared_.applicationFolder).filePath("template/graph.ghf");
  const GraphFileRead templateFile = readGraphFile(templatePath);
  if (templateFile.status == GraphFileRead::Status::Unreadable) {
    shared_.prompts.message(PromptKind::Error, templateFile.error);
    return false;
  }
  const bool withTemplate =
      templateFile.status == GraphFileRead::Status::Ok && PESGraph1->loadSettings(templateFile.block);

  PESGraph1->reset(points, chart::AxisRange{minY, maxY}, chart::AxisRange{minX, maxX});
  builtInLook_ = !withTemplate;
  if (!withTemplate) {
    PESGraph1->applyBuiltInLook();
    PESGraph1->setXAxisLabel(texts::textOf(TextTable::Main, "IDS_13"));
  }
  redrawChart();
  return true;
}

void TfrmGraph::redrawChart() { PESGraph1->redraw(); }

void TfrmGraph::plotDataSet(int d) {
  const std::optional<DataSetView> dataSet = shared_.collection.dataSet(d);
  if (!dataSet) return;
  const int n = dataSet->sampleCount;
  const TDateTime start = dataSet->startTime;
  const TDateTime step = dataSet->samplingInterval / datetime::kSecondsPerDay;
  if (!resetChart(1, 130.0f, 30.0f, start + n * step, start, n)) return;
  PESGraph1->setXValues(dataSet->sampleTimes);
  PESGraph1->setYValues(dataSet->levels);

  setField("txtStartTime", formats::dateTime(start));
  setField("txtSamplingRate", QString::number(dataSet->samplingInterval));
  setField("txtDataNo", QString::number(n));
  if (n > 0) {
    setField("txtMax", formats::level(PESGraph1->y(dataSet->maxIndex)));
    setField("txtMaxTime", formats::dateTime(PESGraph1->x(dataSet->maxIndex)));
    setField("txtMin", formats::level(PESGraph1->y(dataSet->minIndex)));
    setField("txtMinTime", formats::dateTime(PESGraph1->x(dataSet->minIndex)));
  } else {
    for (const char* name : {"txtMax", "txtMaxTime", "txtMin", "txtMinTime"}) setField(name, {});
  }
  setField("txtAvgAll", formats::level(dataSet->averageLevel));

  setSlider(0, n - 1, n / 3, (2 * n) / 3);
  redrawChart();
}

void TfrmGraph::showSeriesStatistics() {
  const int n = PESGraph1->pointCount();
  if (n > 0) {
    const TDateTime first = PESGraph1->x(0);
    const TDateTime last = PESGraph1->x(n - 1);
    setField("txtStartTime", formats::dateTime(first));
    // The span over the number of points, not over the intervals between them:
    // ten points one second apart read 0.9, as they always have.
    setField("txtSamplingRate", formats::level((last - first) * datetime::kSecondsPerDay / n));
    float maximum = -9999.0f;
    float minimum = 9999.0f;
    int maxAt = 0;
    int minAt = 0;
    double sum = 0;
    for (int i = 0; i < n; ++i) {
      const float level = PESGraph1->y(i);
      sum += level;
      if (level > maximum) {
        maximum = level;
        maxAt = i;
      }
      if (level < minimum) {
        minimum = level;
        minAt = i;
      }
    }
    setField("txtAvgAll", formats::level(sum / n));
    setField("txtMax", formats::level(maximum));
    setField("txtMaxTime", formats::dateTime(PESGraph1->x(maxAt)));
    setField("txtMin", formats::level(minimum));
    setField("txtMinTime", formats::dateTime(PESGraph1->x(minAt)));
  }
  setField("txtDataNo", QString::number(n));
  alignSlider();
  setSlider(0, n - 1, n / 3, (2 * n) / 3);
}

void TfrmGraph::setSlider(int minimum, int maximum, int value1, int value2) {
  const int changesBefore = cursorUpdates_;
  Slider1->SetMin(minimum);
  Slider1->SetMax(maximum);
  Slider1->SetValue1(value1);
  Slider1->SetValue2(value2);
  // A new series with as many points as the last one leaves the thumbs where they
  // were, and the slider then reports no change; the cursor fields must still
  // describe the points now under the thumbs, not those of the series before.
  if (cursorUpdates_ == changesBefore) Slider1ValueChange1();
}

void TfrmGraph::fillDataSetGrid() {
  const int count = shared_.collection.dataSetCount();
  Grid2->clearContents();
  Grid2->setRowCount(std::max(1, count));
  for (int d = 0; d < count; ++d) {
    const QStringList cells = shared_.collection.gridRow(d);
    for (int column = 0; column < cells.size() && column < 6; ++column)
      Grid2->setItem(d, column, new QTableWidgetItem(cells[column]));
  }
  // The designed widths cut the user's date format short; widen to what the cells hold.
  const int widths[6] = {25, 60, 60, 65, 40, 40};
  Grid2->resizeColumnsToContents();
  for (int column = 0; column < 6; ++column)
    Grid2->setColumnWidth(column, std::max(widths[column], Grid2->columnWidth(column) + 6));
  Grid2->selectRow(0);
}

// ---------------------------------------------------------------- cursors

void TfrmGraph::Slider1ValueChange1() {
  ++cursorUpdates_;
  const int a = Slider1->Value1();
  const int b = Slider1->Value2();
  // A series of one point, or of none, shows no cursors.
  if (Slider1->Maximum() <= 0) return;
  const int last = PESGraph1->pointCount() - 1;
  if (last < 0) return;
  auto place = [this, last](int line, int index, const char* valueField, const char* timeField) {
    index = std::clamp(index, 0, last);
    const TDateTime time = PESGraph1->x(index);
    const float level = PESGraph1->y(index);
    setField(valueField, formats::level(level));
    setField(timeField, formats::dateTime(time));
    PESGraph1->setCursorLinePosition(line, time);
    PESGraph1->setCursorLineText(line, "|t" + formats::longTime(time) + "\n" + formats::level(level) + "dB");
  };
  place(chart::kCursorA, a, "txtCursorA", "txtCursorATime");
  place(chart::kCursorB, b, "txtCursorB", "txtCursorBTime");
  showCursorStatistics();
  pnlSlider->update();
  redrawChart();
}

void TfrmGraph::showCursorStatistics() {
  const int last = PESGraph1->pointCount() - 1;
  if (last < 0) return;
  const int lo = std::clamp(std::min(Slider1->Value1(), Slider1->Value2()), 0, last);
  const int hi = std::clamp(std::max(Slider1->Value1(), Slider1->Value2()), 0, last);
  float maximum = -99999.0f;
  float minimum = 99999.0f;
  TDateTime maxTime = 0;
  TDateTime minTime = 0;
  double sum = 0;
  const std::span<const float> levels = PESGraph1->yValues();
  const std::span<const TDateTime> times = PESGraph1->xValues();
  for (int i = lo; i <= hi; ++i) {
    const float level = levels[i];
    sum += level;
    if (level > maximum) {
      maximum = level;
      maxTime = times[i];
    }
    if (level < minimum) {
      minimum = level;
      minTime = times[i];
    }
  }
  setField("txtMaxAB", formats::level(maximum));
  setField("txtMaxABTime", formats::dateTime(maxTime));
  setField("txtMinAB", formats::level(minimum));
  setField("txtMinABTime", formats::dateTime(minTime));
  setField("txtAvgAB", formats::level(sum / (hi - lo + 1)));
}

QString TfrmGraph::exportText() const {
  auto label = [](const char* key) { return texts::textOf(TextTable::Graph, key); };
  auto at = [this](const char* value, const char* time) { return field(value) + "@" + field(time); };
  QString text;
  text += label("IDS_32") + field("txtStartTime") + "\n";
  text += label("IDS_34") + field("txtSamplingRate") + "\n";
  text += label("IDS_36") + field("txtDataNo") + "\n";
  text += label("IDS_38") + field("txtAvgAll") + "\n";
  text += label("IDS_40") + at("txtMax", "txtMaxTime") + "\n";
  text += label("IDS_42") + at("txtMin", "txtMinTime") + "\n";
  text += label("IDS_44") + at("txtCursorA", "txtCursorATime") + "\n";
  text += label("IDS_46") + at("txtCursorB", "txtCursorBTime") + "\n";
  text += label("IDS_48") + at("txtMaxAB", "txtMaxABTime") + "\n";
  // This line's label has never had a key: it is English in every language.
  text += QStringLiteral("Min.Between A and B:") + at("txtMinAB", "txtMinABTime") + "\n";
  text += label("IDS_50") + field("txtAvgAB") + "\n";
  return text;
}

void TfrmGraph::Button2Click() {
  QApplication::clipboard()->setText(exportText());
  shared_.prompts.message(PromptKind::Information, texts::textOf(TextTable::Graph, "IDS_52"));
}

void TfrmGraph::PESGraph1MouseMove(QPoint position) {
  const QRect area = PESGraph1->plotArea();
  if (!area.contains(position)) return;
  const chart::DataPoint point = PESGraph1->pixelToData(position);
  Panel12->setText(formats::level(point.level) + "dB" + "@" + formats::longTime(point.time));
  Panel12->setVisible(true);
}

void TfrmGraph::ToolButton1Click() {
  pnlGraphStatistic->setVisible(ToolButton1->isChecked());
  placeReadout();
}

void TfrmGraph::ToolButton2Click() {
  pnlStatistic->setVisible(ToolButton2->isChecked());
  PESGraph1->setCursorLinesVisible(ToolButton2->isChecked());
  redrawChart();
}

// ---------------------------------------------------------------- zoom, options

void TfrmGraph::UndoZoomClick() {
  PESGraph1->undoZoom();
  redrawChart();
  UndoZoom->setEnabled(false);
}

void TfrmGraph::Button1Click() { PESGraph1->customize(); }

void TfrmGraph::onCustomized() {
  if (shared_.prompts.ask(PromptKind::Confirmation, texts::textOf(TextTable::Graph, "IDS_29"),
                          {PromptButton::Yes, PromptButton::No}) != PromptButton::Yes)
    return;
  const QString folder = QDir(shared_.applicationFolder).filePath("template");
  if (!QDir().mkpath(folder)) {
    shared_.prompts.message(PromptKind::Error, "Cannot create " + folder + " directory.");
    return;
  }
  const QString error = writeGraphFile(QDir(folder).filePath("graph.ghf"), PESGraph1->storeSettings());
  if (!error.isEmpty()) shared_.prompts.message(PromptKind::Error, error);
}

// ---------------------------------------------------------------- grid

void TfrmGraph::Grid2Click(int row) {
  const QTableWidgetItem* date = Grid2->item(row, 1);
  if (!date || date->text().isEmpty()) return;
  plotDataSet(row);
}

// ---------------------------------------------------------------- closing

bool TfrmGraph::FormCloseQuery() {
  const std::vector<PromptButton> buttons{PromptButton::Yes, PromptButton::No, PromptButton::Cancel};
  if (shared_.dataLoggerUnsaved && isDataLogger()) {
    const PromptButton answer =
        shared_.prompts.ask(PromptKind::Confirmation, texts::textOf(TextTable::Graph, "IDS_9"), buttons);
    if (answer == PromptButton::Cancel) return false;
    if (answer == PromptButton::Yes) {
      shared_.dataLoggerUnsaved = false;
      if (shared_.saveWindow) shared_.saveWindow(*this);
    }
  }
  if (shared_.realTimeUnsaved && isRealTime()) {
    const PromptButton answer =
        shared_.prompts.ask(PromptKind::Confirmation, texts::textOf(TextTable::Graph, "IDS_11"), buttons);
    if (answer == PromptButton::Cancel) return false;
    shared_.realTimeUnsaved = false;
    if (answer == PromptButton::Yes && shared_.saveWindow) shared_.saveWindow(*this);
  }
  return true;
}

void TfrmGraph::closeEvent(QCloseEvent* event) {
  if (closedOnce_) {
    event->accept();
    return;
  }
  if (!FormCloseQuery()) {
    event->ignore();
    return;
  }
  closedOnce_ = true;
  // FormClose: whatever the role, the logger data no longer asks to be saved.
  shared_.dataLoggerUnsaved = false;
  if (shared_.windowClosed) shared_.windowClosed(*this);
  emit closed(this);
  event->accept();
}

// ---------------------------------------------------------------- window events

void TfrmGraph::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // FormShow: the normal pointer and tool, and the presets in the user's number format.
  selectTool(-99);
  for (int i = 0; i < txtSamplingRate->count() && i < 9; ++i)
    txtSamplingRate->setItemText(i, formats::level(kPresetSeconds[i]));
  alignSlider();
  placeReadout();
}

void TfrmGraph::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && shared_.windowActivated)
    shared_.windowActivated();
}

void TfrmGraph::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  alignSlider();
}

bool TfrmGraph::eventFilter(QObject* watched, QEvent* event) {
  if (watched == pnlGraph && (event->type() == QEvent::Resize || event->type() == QEvent::Show)) {
    placeReadout();
    alignSlider();
  }
  return QWidget::eventFilter(watched, event);
}

void TfrmGraph::alignSlider() {
  // The slider spans the chart's plotting area, so the thumbs sit under the points.
  if (!PESGraph1 || !Slider1) return;
  const QRect area = PESGraph1->plotArea();
  const int left = PESGraph1->mapTo(this, area.topLeft()).x() - pnlSlider->mapTo(this, QPoint(0, 0)).x();
  Slider1->setGeometry(std::max(0, left), 0, std::max(1, area.width()), pnlSlider->height());
}

void TfrmGraph::placeReadout() {
  if (!PESGraph1 || !Panel12) return;
  const QRect area = PESGraph1->plotArea();
  Panel12->move(area.topLeft() + QPoint(1, 1));
  Panel12->raise();
}

// ---------------------------------------------------------------- annotations and date

void TfrmGraph::selectTool(int tool) {
  const auto annotationTool = static_cast<AnnotationTool>(tool);
  selectAnnotationTool(*PESGraph1, shared_.annotations, annotationTool);
  ToolButton4->setChecked(annotationTool == AnnotationTool::None);
  ToolButton5->setChecked(annotationTool == AnnotationTool::Cross);
  ToolButton9->setChecked(annotationTool == AnnotationTool::Text);
}

void TfrmGraph::PESGraph1Click(QPoint) {
  // The tool is shared by every graph window: a Cross chosen in one window places
  // crosses in another until a tool is chosen again.
  annotationClick(*PESGraph1, shared_.annotations,
                  askAnnotationText ? AnnotationTextAsker(askAnnotationText) : TfrmAnnoEdit::asker(this));
}

void TfrmGraph::ToolButton13Click() {
  eraseAnnotations(*PESGraph1, shared_.annotations,
                   chooseErasedRows ? chooseErasedRows : TfrmDelAnno::chooser(this));
}

void TfrmGraph::ChangeDateTime1Click() {
  const QList<QTableWidgetItem*> selected = Grid2->selectedItems();
  const int row = selected.isEmpty() ? Grid2->currentRow() : selected.first()->row();
  const QTableWidgetItem* date = row >= 0 ? Grid2->item(row, 1) : nullptr;
  if (!date || date->text().isEmpty()) return;
  const std::optional<TDateTime> start = changeDataSetDateTime(
      shared_.collection, row, chooseDateTime ? chooseDateTime : TfrmDateTime::chooser(shared_.clock, this));
  if (!start) return;
  const DataSetDateTimeCells cells = dataSetDateTimeCells(*start);
  Grid2->item(row, 1)->setText(cells.date);
  if (QTableWidgetItem* time = Grid2->item(row, 2)) time->setText(cells.time);
  plotDataSet(row);
}
