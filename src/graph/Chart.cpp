#include "graph/Chart.h"

#include <algorithm>
#include <cmath>

#include <QFontMetrics>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QWheelEvent>

#include <qcustomplot.h>

#include "graph/ChartBlock.h"
#include "graph/ChartCustomizeDialog.h"

using namespace chart;

namespace {

// Wheel scrolling of a zoomed view moves it by this part of its span per notch.
constexpr double kWheelScrollFraction = 0.1;
// Font sizes in points of the marks drawn on the plot.
constexpr double kCursorLabelPointSize = 8;
constexpr double kAnnotationPointSize = 9;
const QMargins kCursorLabelPadding(4, 2, 4, 2);

Qt::PenStyle penStyleOf(GridStyle style) {
  switch (style) {
    case GridStyle::Solid: return Qt::SolidLine;
    case GridStyle::Dotted: return Qt::DotLine;
    case GridStyle::Dashed: return Qt::DashLine;
    case GridStyle::Hidden: return Qt::NoPen;
  }
  return Qt::DotLine;
}

// Splits the placement code off a cursor-line label: "|t" top, "|b" bottom.
QString labelWithoutCode(const QString& text, bool* atBottom) {
  *atBottom = false;
  if (text.startsWith(QLatin1String("|t"))) return text.mid(2);
  if (text.startsWith(QLatin1String("|b"))) {
    *atBottom = true;
    return text.mid(2);
  }
  return text;
}

// Black or white, whichever reads better on the background.
QColor textColorOn(const QColor& background) {
  const double luminance = 0.299 * background.redF() + 0.587 * background.greenF() + 0.114 * background.blueF();
  return luminance > 0.55 ? QColor(Qt::black) : QColor(Qt::white);
}

// Date-time ticks that also name the date once, under the first tick, while the
// tick format itself shows only times.
class DatedTimeTicker : public QCPAxisTickerDateTime {
 protected:
  // Labels show whole seconds at most; ticks closer than a second (a few seconds
  // in view) would print the same label twice.
  double getTickStep(const QCPRange& range) override {
    return std::max(1.0, QCPAxisTickerDateTime::getTickStep(range));
  }

  QVector<QString> createLabelVector(const QVector<double>& ticks, const QLocale& locale, QChar formatChar,
                                     int precision) override {
    QVector<QString> labels = QCPAxisTickerDateTime::createLabelVector(ticks, locale, formatChar, precision);
    if (labels.isEmpty() || mDateTimeFormat.contains(QLatin1Char('\n'))) return labels;
    QString dateFormat = locale.dateFormat(QLocale::ShortFormat);
    // Keep the century: en_US's short date is "M/d/yy".
    if (!dateFormat.contains(QLatin1String("yyyy"))) dateFormat.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    const QDate date = datetime::toQDateTime(datetime::fromPlotKey(ticks.first())).date();
    labels.first() += QLatin1Char('\n') + locale.toString(date, dateFormat);
    return labels;
  }
};

Chart::ColorPicker& pickerSlot() {
  static Chart::ColorPicker picker;
  return picker;
}

}  // namespace

Chart::Chart(QWidget* parent) : QWidget(parent) {
  m_plot = new QCustomPlot(this);
  m_plot->setObjectName(QStringLiteral("plot"));
  m_plot->setMouseTracking(true);
  m_plot->installEventFilter(this);
  buildPlot();
  applyLookToPlot();
  applyView({m_state.xRange, m_state.yRange});
  applyPointerCursor();
}

Chart::~Chart() = default;

void Chart::buildPlot() {
  m_plot->setAutoAddPlottableToLegend(false);
  // QCustomPlot's own drag and wheel interactions stay off: the zoom goes through
  // the history below and scrolling is allowed only when zoomed.
  m_plot->setInteractions(QCP::Interactions());
  m_plot->setSelectionRectMode(QCP::srmCustom);
  m_plot->selectionRect()->setPen(QPen(QColor(255, 255, 255), 1, Qt::DashLine));
  m_plot->selectionRect()->setBrush(QColor(255, 255, 255, 40));
  connect(m_plot->selectionRect(), &QCPSelectionRect::accepted, this, &Chart::onSelectionAccepted);
  connect(m_plot, &QCustomPlot::beforeReplot, this, &Chart::syncBeforeReplot);

  // The frame: top and right axes as plain lines.
  m_plot->axisRect()->setupFullAxesBox();
  for (QCPAxis* axis : {m_plot->xAxis2, m_plot->yAxis2}) {
    axis->setTicks(false);
    axis->setTickLabels(false);
  }

  // Plot keys hold the wall-clock fields as UTC (datetime::toPlotKey), so the
  // ticks must be read as UTC to show the times the readings were taken at.
  m_timeTicker.reset(new DatedTimeTicker);
  m_timeTicker->setDateTimeSpec(Qt::UTC);
  m_timeTicker->setTickCount(7);
  m_plot->xAxis->setTicker(m_timeTicker);
  m_plot->yAxis->ticker()->setTickCount(10);
  for (QCPAxis* axis : {m_plot->xAxis, m_plot->yAxis}) axis->grid()->setSubGridVisible(false);

  m_series = m_plot->addGraph();
  m_series->setLineStyle(QCPGraph::lsLine);
  m_series->setSelectable(QCP::stNone);
  m_series->setAdaptiveSampling(true);

  // Cursor lines and annotations have a buffered layer of their own so that a
  // change to them repaints that layer only, not the series below.
  m_plot->addLayer(QStringLiteral("marks"), m_plot->layer(QStringLiteral("main")), QCustomPlot::limAbove);
  m_marksLayer = m_plot->layer(QStringLiteral("marks"));
  m_marksLayer->setMode(QCPLayer::lmBuffered);

  m_crosses = m_plot->addGraph();
  m_crosses->setLayer(m_marksLayer);
  m_crosses->setLineStyle(QCPGraph::lsNone);
  m_crosses->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCross, 13));
  m_crosses->setSelectable(QCP::stNone);

  // Both lines before both labels: items draw in the order they were made, and a
  // label must not be crossed by the other cursor's line.
  for (size_t i = 0; i < 2; ++i) {
    auto* line = new QCPItemStraightLine(m_plot);
    line->setLayer(m_marksLayer);
    line->setSelectable(false);
    line->setVisible(false);
    // Crisp and in its true colour: an antialiased line between two pixel columns
    // shows as two half-dark ones, and pure blue on black is dim enough already.
    line->setAntialiased(false);
    m_cursorLineItems[i] = line;
  }
  QFont labelFont = font();
  labelFont.setPointSizeF(kCursorLabelPointSize);
  for (size_t i = 0; i < 2; ++i) {
    auto* label = new QCPItemText(m_plot);
    label->setLayer(m_marksLayer);
    label->setSelectable(false);
    label->setVisible(false);
    label->setFont(labelFont);
    label->setPadding(kCursorLabelPadding);
    label->setTextAlignment(Qt::AlignLeft);
    label->position->setTypeX(QCPItemPosition::ptPlotCoords);
    label->position->setTypeY(QCPItemPosition::ptAxisRectRatio);
    m_cursorLabelItems[i] = label;
  }
}

// ---------------------------------------------------------------------------
// Points

bool Chart::setPointCount(int count) {
  if (count < 0 || count > kMaxPoints) return false;
  if (count < m_syncedCount) rebuildSeriesLater();
  m_state.x.resize(static_cast<size_t>(count), 0.0);
  m_state.y.resize(static_cast<size_t>(count), 0.0f);
  m_touchedTo = std::min(m_touchedTo, count - 1);
  wantFullReplot();
  return true;
}

bool Chart::setX(int index, TDateTime time) {
  if (index < 0 || index >= pointCount()) return false;
  m_state.x[static_cast<size_t>(index)] = time;
  touchPoint(index);
  wantFullReplot();
  return true;
}

bool Chart::setY(int index, float level) {
  if (index < 0 || index >= pointCount()) return false;
  m_state.y[static_cast<size_t>(index)] = level;
  touchPoint(index);
  wantFullReplot();
  return true;
}

TDateTime Chart::x(int index) const {
  return index >= 0 && index < pointCount() ? m_state.x[static_cast<size_t>(index)] : 0.0;
}

float Chart::y(int index) const {
  return index >= 0 && index < pointCount() ? m_state.y[static_cast<size_t>(index)] : 0.0f;
}

int Chart::setXValues(std::span<const TDateTime> times) {
  const size_t count = std::min(times.size(), m_state.x.size());
  std::copy_n(times.begin(), count, m_state.x.begin());
  rebuildSeriesLater();
  wantFullReplot();
  return static_cast<int>(count);
}

int Chart::setYValues(std::span<const float> levels) {
  const size_t count = std::min(levels.size(), m_state.y.size());
  std::copy_n(levels.begin(), count, m_state.y.begin());
  rebuildSeriesLater();
  wantFullReplot();
  return static_cast<int>(count);
}

void Chart::blankPoints() {
  std::fill(m_state.x.begin(), m_state.x.end(), 0.0);
  std::fill(m_state.y.begin(), m_state.y.end(), 0.0f);
  rebuildSeriesLater();
  wantFullReplot();
}

void Chart::touchPoint(int index) {
  if (m_rebuildSeries) return;
  if (index < m_syncedCount) {
    rebuildSeriesLater();
    return;
  }
  if (m_touchedTo < m_touchedFrom) {
    m_touchedFrom = m_touchedTo = index;
  } else {
    m_touchedFrom = std::min(m_touchedFrom, index);
    m_touchedTo = std::max(m_touchedTo, index);
  }
}

void Chart::rebuildSeriesLater() {
  m_rebuildSeries = true;
  m_touchedFrom = 0;
  m_touchedTo = -1;
}

void Chart::syncSeries() {
  const std::vector<TDateTime>& xs = m_state.x;
  const std::vector<float>& ys = m_state.y;
  if (m_rebuildSeries) {
    QVector<QCPGraphData> data;
    data.reserve(static_cast<qsizetype>(xs.size()));
    bool sorted = true;
    double previousKey = -std::numeric_limits<double>::infinity();
    int lastDrawn = -1;
    for (size_t i = 0; i < xs.size(); ++i) {
      if (xs[i] == 0) continue;
      const double key = datetime::toPlotKey(xs[i]);
      if (key < previousKey) sorted = false;
      previousKey = key;
      data.append(QCPGraphData(key, ys[i]));
      lastDrawn = static_cast<int>(i);
    }
    m_series->data()->set(data, sorted);
    m_syncedCount = lastDrawn + 1;
  } else if (m_touchedTo >= m_touchedFrom) {
    const int last = std::min(m_touchedTo, pointCount() - 1);
    for (int i = m_touchedFrom; i <= last; ++i) {
      const size_t at = static_cast<size_t>(i);
      if (xs[at] == 0) continue;
      // After the last drawn point in time this is an append; QCustomPlot inserts
      // in key order otherwise.
      m_series->data()->add(QCPGraphData(datetime::toPlotKey(xs[at]), ys[at]));
      m_syncedCount = i + 1;
    }
  }
  m_rebuildSeries = false;
  m_touchedFrom = 0;
  m_touchedTo = -1;
}

void Chart::syncBeforeReplot() {
  syncSeries();
  updateMarks();
  m_fullReplotWanted = false;
  m_marksReplotWanted = false;
}

// ---------------------------------------------------------------------------
// Ranges and zoom

// Non-finite values are ignored here and in the other setters of positions: a
// state block holding one would be refused when read back.
void Chart::setXRange(TDateTime minX, TDateTime maxX) {
  if (!std::isfinite(minX) || !std::isfinite(maxX)) return;
  m_state.xRange = {minX, maxX};
  // While zoomed the view stays; the last undo returns to the new range.
  if (!isZoomed()) applyView({m_state.xRange, m_state.yRange});
}

void Chart::setYRange(double minY, double maxY) {
  if (!std::isfinite(minY) || !std::isfinite(maxY)) return;
  m_state.yRange = {minY, maxY};
  if (!isZoomed()) applyView({m_state.xRange, m_state.yRange});
}

void Chart::reset(int pointCount, AxisRange levels, AxisRange times) {
  setPointCount(std::clamp(pointCount, 0, kMaxPoints));
  blankPoints();
  m_state.cursorLines[kCursorA].color = QColor(0, 0, 255);
  m_state.cursorLines[kCursorB].color = QColor(255, 0, 0);
  if (std::isfinite(levels.lower) && std::isfinite(levels.upper)) m_state.yRange = levels;
  if (times.lower != 0 && std::isfinite(times.lower) && std::isfinite(times.upper)) m_state.xRange = times;
  m_zoom.clear();
  applyView({m_state.xRange, m_state.yRange});
}

void Chart::applyView(const ViewRanges& view) {
  m_view = drawableView(view, {m_view.x, m_view.y});
  const double lowerKey = datetime::toPlotKey(m_view.x.lower);
  const double upperKey = datetime::toPlotKey(m_view.x.upper);
  m_plot->xAxis->setRange(lowerKey, upperKey);
  m_plot->xAxis2->setRange(lowerKey, upperKey);
  m_plot->yAxis->setRange(m_view.y.lower, m_view.y.upper);
  m_plot->yAxis2->setRange(m_view.y.lower, m_view.y.upper);
  m_timeTicker->setDateTimeFormat(timeTickFormat(upperKey - lowerKey));
  wantFullReplot();
}

PlotGeometry Chart::geometry() const { return geometryFor(plotArea(), m_view); }

bool Chart::zoomToRect(const QRect& pixels) {
  const std::optional<ViewRanges> view = zoomedView(geometry(), pixels);
  if (!view) return false;
  m_zoom.push(m_view);
  applyView(*view);
  redraw();
  return true;
}

bool Chart::undoZoom() {
  const std::optional<ViewRanges> view = m_zoom.undo({m_state.xRange, m_state.yRange});
  if (!view) return false;
  applyView(*view);
  redraw();
  return true;
}

void Chart::resetZoom() {
  m_zoom.clear();
  applyView({m_state.xRange, m_state.yRange});
  redraw();
}

void Chart::onSelectionAccepted(const QRect& rect, QMouseEvent*) {
  if (zoomToRect(rect.translated(m_plot->pos()))) emit zoomedIn();
}

// ---------------------------------------------------------------------------
// Look

void Chart::setLook(const ChartLook& look) {
  m_state.look = look;
  m_state.look.lineWidth = std::clamp(look.lineWidth, kMinLineWidth, kMaxLineWidth);
  applyLookToPlot();
}

void Chart::applyBuiltInLook() {
  ChartLook look;
  look.yAxisLabel = m_state.look.yAxisLabel;
  setLook(look);
  setCursorLinesVisible(true);
  setAnnotationsVisible(true);
  setPointer(Pointer::Arrow);
}

void Chart::setXAxisLabel(const QString& label) {
  m_state.look.xAxisLabel = label;
  applyLookToPlot();
}

void Chart::setYAxisLabel(const QString& label) {
  m_state.look.yAxisLabel = label;
  applyLookToPlot();
}

void Chart::applyLookToPlot() {
  const ChartLook& look = m_state.look;
  m_plot->setLocale(QLocale());
  m_plot->setBackground(QBrush(look.deskColor));
  m_plot->axisRect()->setBackground(QBrush(look.graphBackColor));

  const QPen gridPen(look.graphForeColor, 0, penStyleOf(look.gridStyle));
  for (QCPAxis* axis : {m_plot->xAxis, m_plot->yAxis}) {
    axis->grid()->setVisible(look.gridStyle != GridStyle::Hidden);
    axis->grid()->setPen(gridPen);
    axis->grid()->setZeroLinePen(gridPen);
  }
  for (QCPAxis* axis : {m_plot->xAxis2, m_plot->yAxis2}) axis->setBasePen(QPen(look.graphForeColor, 1));

  const auto colourAxis = [](QCPAxis* axis, const QColor& colour, const QString& label) {
    axis->setBasePen(QPen(colour, 1));
    axis->setTickPen(QPen(colour, 1));
    axis->setSubTickPen(QPen(colour, 1));
    axis->setTickLabelColor(colour);
    axis->setLabelColor(colour);
    axis->setLabel(label);
  };
  colourAxis(m_plot->xAxis, look.textColor, look.xAxisLabel);
  colourAxis(m_plot->yAxis, look.yAxisColor, look.yAxisLabel);

  m_series->setPen(QPen(look.subsetColor, look.lineWidth));
  m_crosses->setPen(QPen(look.annotationColor, 2));
  for (auto& [slot, item] : m_annotationTexts) item->setColor(look.annotationColor);
  updateTitles();
  wantFullReplot();
}

void Chart::updateTitles() {
  QCPLayoutGrid* layout = m_plot->plotLayout();
  for (QCPTextElement** element : {&m_titleElement, &m_subTitleElement}) {
    if (*element) layout->remove(*element);
    *element = nullptr;
  }
  layout->simplify();
  // Rows are only made for titles with something to show: a blank title (the
  // built-in subtitle is one space) would only take height from the plot.
  const ChartLook& look = m_state.look;
  if (!look.subTitle.trimmed().isEmpty()) {
    m_subTitleElement = new QCPTextElement(m_plot, look.subTitle, font());
    m_subTitleElement->setTextColor(look.textColor);
    layout->insertRow(0);
    layout->addElement(0, 0, m_subTitleElement);
  }
  if (!look.mainTitle.trimmed().isEmpty()) {
    QFont titleFont = font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
    titleFont.setBold(true);
    m_titleElement = new QCPTextElement(m_plot, look.mainTitle, titleFont);
    m_titleElement->setTextColor(look.textColor);
    layout->insertRow(0);
    layout->addElement(0, 0, m_titleElement);
  }
}

bool Chart::customize() {
  ChartCustomizeDialog dialog(m_state.look, this);
  if (dialog.exec() != QDialog::Accepted) return false;
  setLook(dialog.look());
  redraw();
  emit customized();
  return true;
}

void Chart::setColorPicker(ColorPicker picker) { pickerSlot() = std::move(picker); }

Chart::ColorPicker Chart::colorPicker() { return pickerSlot(); }

// ---------------------------------------------------------------------------
// Cursor lines and annotations

const CursorLine& Chart::cursorLine(int index) const {
  return m_state.cursorLines[index == kCursorB ? kCursorB : kCursorA];
}

void Chart::setCursorLinePosition(int index, TDateTime position) {
  if ((index != kCursorA && index != kCursorB) || !std::isfinite(position)) return;
  m_state.cursorLines[static_cast<size_t>(index)].position = position;
  wantMarksReplot();
}

void Chart::setCursorLineText(int index, const QString& text) {
  if (index != kCursorA && index != kCursorB) return;
  m_state.cursorLines[static_cast<size_t>(index)].text = text;
  wantMarksReplot();
}

void Chart::setCursorLineColor(int index, const QColor& color) {
  if (index != kCursorA && index != kCursorB) return;
  m_state.cursorLines[static_cast<size_t>(index)].color = color;
  wantMarksReplot();
}

void Chart::setCursorLinesVisible(bool visible) {
  m_state.cursorLinesVisible = visible;
  wantMarksReplot();
}

GraphAnnotation Chart::annotation(int slot) const {
  const auto found = m_state.annotations.find(slot);
  return found == m_state.annotations.end() ? GraphAnnotation{} : found->second;
}

bool Chart::setAnnotation(int slot, const GraphAnnotation& annotation) {
  if (slot < 0 || !std::isfinite(annotation.x) || !std::isfinite(annotation.y)) return false;
  m_state.annotations[slot] = annotation;
  const auto item = m_annotationTexts.find(slot);
  if (annotation.text.isEmpty()) {
    if (item != m_annotationTexts.end()) {
      m_plot->removeItem(item->second);
      m_annotationTexts.erase(item);
    }
  } else {
    QCPItemText* text = item != m_annotationTexts.end() ? item->second : nullptr;
    if (!text) {
      text = new QCPItemText(m_plot);
      text->setLayer(m_marksLayer);
      text->setSelectable(false);
      QFont textFont = font();
      textFont.setPointSizeF(kAnnotationPointSize);
      text->setFont(textFont);
      text->setPositionAlignment(Qt::AlignLeft | Qt::AlignVCenter);
      text->setColor(m_state.look.annotationColor);
      m_annotationTexts[slot] = text;
    }
    text->setText(annotation.text);
    text->position->setCoords(datetime::toPlotKey(annotation.x), annotation.y);
  }
  m_crossesChanged = true;
  wantMarksReplot();
  return true;
}

void Chart::setAnnotationsVisible(bool visible) {
  m_state.annotationsVisible = visible;
  wantMarksReplot();
}

void Chart::updateMarks() {
  // A mark is drawn only when its time is in view: X 0 (a cleared slot, an unset
  // cursor) lies a century before any data and would be placed at pixel
  // coordinates far outside what the painter handles well.
  const auto inView = [this](TDateTime time) { return time != 0 && m_view.x.contains(time); };

  if (m_crossesChanged) {
    QVector<QCPGraphData> crosses;
    for (const auto& [slot, annotation] : m_state.annotations)
      if (annotation.kind == AnnotationKind::Cross && annotation.x != 0)
        crosses.append(QCPGraphData(datetime::toPlotKey(annotation.x), annotation.y));
    m_crosses->data()->set(crosses, false);
    m_crossesChanged = false;
  }
  m_crosses->setVisible(m_state.annotationsVisible);
  for (auto& [slot, item] : m_annotationTexts)
    item->setVisible(m_state.annotationsVisible && inView(m_state.annotations.at(slot).x));

  for (size_t i = 0; i < 2; ++i) {
    const CursorLine& cursor = m_state.cursorLines[i];
    const bool visible = m_state.cursorLinesVisible && inView(cursor.position);
    const double key = datetime::toPlotKey(cursor.position);
    QCPItemStraightLine* line = m_cursorLineItems[i];
    line->setVisible(visible);
    line->setPen(QPen(cursor.color, 1));
    line->point1->setCoords(key, 0);
    line->point2->setCoords(key, 1);
    bool atBottom = false;
    const QString text = labelWithoutCode(cursor.text, &atBottom);
    QCPItemText* label = m_cursorLabelItems[i];
    label->setVisible(visible && !text.isEmpty());
    label->setText(text);
    label->setBrush(QBrush(cursor.color));
    label->setPen(Qt::NoPen);
    label->setColor(textColorOn(cursor.color));
  }
  updateCursorLabels();
}

// Each label is a flag on its line, on the right of it unless that runs past the
// plot's right edge. When the two labels would overlap, B's hangs below A's.
void Chart::updateCursorLabels() {
  const PlotGeometry plotGeometry = geometry();
  struct Extent {
    double left = 0, right = 0;
    bool atBottom = false;
  };
  std::array<Extent, 2> extents;
  for (size_t i = 0; i < 2; ++i) {
    const CursorLine& cursor = m_state.cursorLines[i];
    QCPItemText* label = m_cursorLabelItems[i];
    bool atBottom = false;
    labelWithoutCode(cursor.text, &atBottom);
    const QFontMetrics metrics(label->font());
    const int width = metrics.boundingRect(QRect(), Qt::AlignLeft, label->text()).width() + kCursorLabelPadding.left() +
                      kCursorLabelPadding.right();
    const double px = timeToPixelX(plotGeometry, cursor.position);
    const bool onLeft = px + width > plotGeometry.area.right();
    const Qt::Alignment vertical = atBottom ? Qt::AlignBottom : Qt::AlignTop;
    label->setPositionAlignment((onLeft ? Qt::AlignRight : Qt::AlignLeft) | vertical);
    extents[i] = {onLeft ? px - width : px, onLeft ? px : px + width, atBottom};
  }
  for (size_t i = 0; i < 2; ++i) {
    QCPItemPosition* position = m_cursorLabelItems[i]->position;
    const double key = datetime::toPlotKey(m_state.cursorLines[i].position);
    const bool stack = i == kCursorB && m_cursorLabelItems[kCursorA]->visible() && m_cursorLabelItems[kCursorB]->visible() &&
                       extents[0].atBottom == extents[1].atBottom && extents[1].left < extents[0].right + 2 &&
                       extents[0].left < extents[1].right + 2;
    if (stack) {
      QCPItemText* labelA = m_cursorLabelItems[kCursorA];
      position->setParentAnchorY(extents[1].atBottom ? labelA->top : labelA->bottom);
      position->setTypeY(QCPItemPosition::ptAbsolute);
      position->setCoords(key, extents[1].atBottom ? -1 : 1);
    } else {
      position->setParentAnchorY(nullptr);
      position->setTypeY(QCPItemPosition::ptAxisRectRatio);
      position->setCoords(key, extents[i].atBottom ? 1 : 0);
    }
  }
}

// ---------------------------------------------------------------------------
// Pointer

QPixmap Chart::crossPointerPixmap() {
  QImage image(32, 32, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, false);
  // Black bars with a white rim, so the pointer shows on the black plot and on
  // the light desk alike; the bars cross at (15, 15).
  for (const auto& [colour, width] : {std::pair{QColor(Qt::white), 4}, std::pair{QColor(Qt::black), 2}}) {
    painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::SquareCap));
    painter.drawLine(5, 5, 25, 25);
    painter.drawLine(25, 5, 5, 25);
  }
  painter.end();
  return QPixmap::fromImage(image);
}

QCursor Chart::crossCursor() { return QCursor(crossPointerPixmap(), 0, 0); }

void Chart::setPointer(Pointer pointer) {
  m_pointer = pointer;
  applyPointerCursor();
}

void Chart::applyPointerCursor() {
  switch (m_pointer) {
    case Pointer::Arrow: m_plot->setCursor(Qt::ArrowCursor); break;
    case Pointer::Text: m_plot->setCursor(Qt::IBeamCursor); break;
    case Pointer::Cross: m_plot->setCursor(crossCursor()); break;
  }
}

// ---------------------------------------------------------------------------
// Geometry and mouse

QRect Chart::plotArea() const { return m_plot->axisRect()->rect().translated(m_plot->pos()); }

DataPoint Chart::pixelToData(QPointF pixel) const { return chart::pixelToData(geometry(), pixel); }

QPointF Chart::dataToPixel(TDateTime time, double level) const { return chart::dataToPixel(geometry(), time, level); }

QPoint Chart::toChart(QPoint plotPosition) const { return plotPosition + m_plot->pos(); }

void Chart::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  m_plot->setGeometry(rect());
}

bool Chart::eventFilter(QObject* watched, QEvent* event) {
  if (watched != m_plot) return QWidget::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::MouseMove: {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      m_lastMouse = toChart(mouse->position().toPoint());
      if (m_panning) {
        applyView(pannedView(m_panStartView, geometry(), m_lastMouse - m_panStart));
        m_plot->replot(QCustomPlot::rpQueuedReplot);
      }
      emit mouseMoved(m_lastMouse);
      return m_panning;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      m_lastMouse = m_pressPosition = toChart(mouse->position().toPoint());
      // The left button belongs to QCustomPlot's selection rectangle (the zoom);
      // the others scroll a zoomed view and never reach it.
      if (mouse->button() == Qt::LeftButton) return false;
      if (isZoomed() && plotArea().contains(m_lastMouse)) {
        m_panning = true;
        m_panStart = m_lastMouse;
        m_panStartView = m_view;
        m_plot->setCursor(Qt::ClosedHandCursor);
      }
      return true;
    }
    case QEvent::MouseButtonRelease: {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      m_lastMouse = toChart(mouse->position().toPoint());
      const bool click = (m_lastMouse - m_pressPosition).manhattanLength() <= m_plot->selectionTolerance();
      if (mouse->button() == Qt::LeftButton) {
        // QCustomPlot cancels a rectangle this short itself, but only after this
        // filter; cancel it first so a dialog opened on the click finds no zoom
        // in progress.
        if (click && m_plot->selectionRect()->isActive()) m_plot->selectionRect()->cancel();
        if (click) emit clicked(Qt::LeftButton, m_lastMouse);
        return false;
      }
      if (m_panning) {
        m_panning = false;
        applyPointerCursor();
      }
      if (click) emit clicked(mouse->button(), m_lastMouse);
      return true;
    }
    case QEvent::Wheel: {
      if (!isZoomed()) return true;
      const auto* wheel = static_cast<QWheelEvent*>(event);
      const QPoint delta = wheel->angleDelta();
      // Some platforms turn Shift+wheel into a horizontal wheel; take whichever
      // axis moved.
      const double notches = (delta.y() != 0 ? delta.y() : delta.x()) / 120.0;
      const bool vertical = wheel->modifiers() & Qt::ShiftModifier;
      applyView(vertical ? scrolledView(m_view, 0, notches * kWheelScrollFraction)
                         : scrolledView(m_view, -notches * kWheelScrollFraction, 0));
      m_plot->replot(QCustomPlot::rpQueuedReplot);
      return true;
    }
    default: return false;
  }
}

// ---------------------------------------------------------------------------
// Redraw

void Chart::wantFullReplot() { m_fullReplotWanted = true; }

void Chart::wantMarksReplot() { m_marksReplotWanted = true; }

void Chart::redraw() {
  if (m_redrawQueued) return;
  m_redrawQueued = true;
  QMetaObject::invokeMethod(this, &Chart::flushRedraw, Qt::QueuedConnection);
}

void Chart::redrawNow() { flushRedraw(); }

void Chart::flushRedraw() {
  m_redrawQueued = false;
  // A plot not laid out yet has no pixels to draw into; it draws itself when it
  // gets its size, and what is wanted here stays wanted.
  if (m_plot->width() <= 0 || m_plot->height() <= 0) return;
  if (m_fullReplotWanted) {
    m_plot->replot(QCustomPlot::rpRefreshHint);
  } else if (m_marksReplotWanted) {
    updateMarks();
    m_marksReplotWanted = false;
    // Falls back to a whole replot by itself when the layer's buffer is not valid
    // (first paint, resize).
    m_marksLayer->replot();
  }
}

// ---------------------------------------------------------------------------
// Blocks

QByteArray Chart::storeState() const { return encodeState(m_state); }

QByteArray Chart::storeSettings() const { return encodeSettings(m_state.look); }

bool Chart::loadState(const QByteArray& block) {
  std::optional<ChartState> state = decodeState(block);
  if (!state) return false;
  for (auto& [slot, item] : m_annotationTexts) m_plot->removeItem(item);
  m_annotationTexts.clear();
  std::map<int, GraphAnnotation> annotations = std::move(state->annotations);
  m_state = std::move(*state);
  m_state.annotations.clear();
  for (const auto& [slot, annotation] : annotations) setAnnotation(slot, annotation);
  rebuildSeriesLater();
  m_syncedCount = 0;
  m_crossesChanged = true;
  setLook(m_state.look);
  m_zoom.clear();
  applyView({m_state.xRange, m_state.yRange});
  return true;
}

bool Chart::loadSettings(const QByteArray& block) {
  const std::optional<ChartLook> look = decodeSettings(block);
  if (!look) return false;
  setLook(*look);
  return true;
}
