#pragma once
// The chart of the graph windows: one series of sound levels over time on a
// QCustomPlot, with two cursor lines, numbered annotation slots, manual axis
// ranges, rectangle zoom with an undo history, a customization dialog for the look,
// and the state and settings blocks that graph files and the template carry.
//
// Points. Point i has X, a TDateTime (days since 30 Dec 1899), and Y, a level in dB
// as a 32-bit float. A point whose X is 0 is blank and is not drawn: that is how a
// real-time chart holds the points it has not recorded yet (its point count is set
// to the planned number, the points are blanked, and each reading fills the next
// one). Blanking sets X and Y of every point to 0. Reading or writing outside
// 0..pointCount()-1 does nothing and reads 0.
//
// The chart keeps the points itself (they are what the windows read back for
// statistics); the plot's data container is derived from them just before each
// replot. Filling the next point after the last drawn one appends to the container
// in constant time; any other change of drawn points rebuilds it once, at the next
// replot, in one sorted pass.
//
// Redraw. Changes take effect on screen at redraw(), which is coalesced to the next
// turn of the event loop; redrawNow() draws at once. A redraw after changes to the
// cursor lines or annotations only repaints their own layer, not the series, so
// moving a cursor over a million points stays cheap.
//
// Mouse. A left drag zooms to the rectangle (zoomedIn()); a left press and release
// in place is a click (clicked()). While zoomed, a right or middle drag scrolls the
// view and the wheel scrolls it in time (with Shift, in level); unzoomed they do
// nothing, as the manual ranges are the whole picture.
//
// Coordinates. Positions in pixels (plotArea(), lastMousePosition(), the signals)
// are in this widget's coordinates.

#include <array>
#include <functional>
#include <map>
#include <span>

#include <QColor>
#include <QCursor>
#include <QPixmap>
#include <QWidget>

#include "graph/ChartLook.h"
#include "graph/ChartMath.h"
#include "graph/ChartState.h"
#include "link/TDateTime.h"

class QCustomPlot;
class QCPGraph;
class QCPLayer;
class QCPItemStraightLine;
class QCPItemText;
class QCPTextElement;
class QCPAxisTickerDateTime;

class Chart : public QWidget {
  Q_OBJECT

 public:
  // The mouse pointer over the plot. The numbers of Arrow and Text are the chart's
  // stock pointers 1 and 2; Cross is the application's drawn "CROSS" pointer, whose
  // hot spot is its top-left corner and whose bars cross at (15, 15).
  enum class Pointer { Arrow = 1, Text = 2, Cross = 3 };

  explicit Chart(QWidget* parent = nullptr);
  ~Chart() override;

  // --- points of the series ---
  int pointCount() const { return static_cast<int>(m_state.x.size()); }
  // Growing keeps the existing points and adds blank ones; shrinking keeps the
  // first count. Refused (false) below 0 or above chart::kMaxPoints.
  bool setPointCount(int count);
  bool setX(int index, TDateTime time);
  bool setY(int index, float level);
  TDateTime x(int index) const;
  float y(int index) const;
  // Points 0..n-1 from the array, n = the smaller of its size and pointCount();
  // returns n.
  int setXValues(std::span<const TDateTime> times);
  int setYValues(std::span<const float> levels);
  std::span<const TDateTime> xValues() const { return m_state.x; }
  std::span<const float> yValues() const { return m_state.y; }
  void blankPoints();

  // --- manual axis ranges (what is shown when not zoomed) ---
  void setXRange(TDateTime minX, TDateTime maxX);
  void setYRange(double minY, double maxY);
  chart::AxisRange xRange() const { return m_state.xRange; }
  chart::AxisRange yRange() const { return m_state.yRange; }
  // What the plotting area shows now: the manual ranges or the zoomed view.
  chart::ViewRanges shownRanges() const { return m_view; }

  // The standing settings every plot starts from: pointCount blank points, cursor
  // A blue and B red, the level range, and the time range unless times.lower is 0
  // (then the time range is left as it is); the zoom is reset. The look is not
  // touched: see applyBuiltInLook() and loadSettings().
  void reset(int pointCount, chart::AxisRange levels, chart::AxisRange times);

  // --- look ---
  const chart::ChartLook& look() const { return m_state.look; }
  void setLook(const chart::ChartLook& look);
  // The built-in look (ChartLook's defaults), cursor lines and annotations shown,
  // the arrow pointer. The level-axis label is kept: each window sets its own.
  void applyBuiltInLook();
  void setXAxisLabel(const QString& label);
  void setYAxisLabel(const QString& label);
  // Modal dialog for the look; on OK the look is applied, the chart redrawn and
  // customized() emitted. Returns whether OK was chosen.
  bool customize();

  // --- cursor lines, index chart::kCursorA (0) and chart::kCursorB (1) ---
  const chart::CursorLine& cursorLine(int index) const;
  void setCursorLinePosition(int index, TDateTime position);
  // The text may start with a placement code: "|t" label at the top of the plot
  // (the default), "|b" at the bottom. The code is not shown.
  void setCursorLineText(int index, const QString& text);
  void setCursorLineColor(int index, const QColor& color);
  void setCursorLinesVisible(bool visible);
  bool cursorLinesVisible() const { return m_state.cursorLinesVisible; }

  // --- annotation slots (slot >= 0; refused with false below 0 or with a
  // non-finite position) ---
  // An unused slot reads as kind None, X 0, Y 0, no text. A slot is shown when its
  // X lies in the shown time range: a cross for kind Cross, its text when not empty.
  chart::GraphAnnotation annotation(int slot) const;
  bool setAnnotation(int slot, const chart::GraphAnnotation& annotation);
  const std::map<int, chart::GraphAnnotation>& annotations() const { return m_state.annotations; }
  void setAnnotationsVisible(bool visible);
  bool annotationsVisible() const { return m_state.annotationsVisible; }

  // --- mouse pointer ---
  void setPointer(Pointer pointer);
  Pointer pointer() const { return m_pointer; }
  static QPixmap crossPointerPixmap();
  static QCursor crossCursor();

  // --- geometry ---
  // The plotting area, edges included (QRect's right and bottom are its last pixels).
  QRect plotArea() const;
  QPoint lastMousePosition() const { return m_lastMouse; }
  chart::DataPoint pixelToData(QPointF pixel) const;
  QPointF dataToPixel(TDateTime time, double level) const;

  // --- zoom ---
  // What a drag of the mouse does: zooms to the rectangle (clipped to the plotting
  // area) and remembers the view it replaces; false when it is too small.
  bool zoomToRect(const QRect& pixels);
  // Back one zoom; false (and nothing changes) when not zoomed.
  bool undoZoom();
  void resetZoom();
  int zoomDepth() const { return m_zoom.depth(); }
  bool isZoomed() const { return !m_zoom.empty(); }

  // --- drawing ---
  void redraw();
  void redrawNow();

  // --- blocks (ChartBlock.h) ---
  QByteArray storeState() const;
  QByteArray storeSettings() const;
  // A block that does not decode is refused with false and the chart is unchanged.
  bool loadState(const QByteArray& block);
  bool loadSettings(const QByteArray& block);

  // The plot itself, for printing and rendering (toPainter, toPixmap). Change the
  // chart through this class only: the plot's content is rebuilt from it.
  QCustomPlot* plot() const { return m_plot; }

  // For tests and other front ends: replaces QColorDialog in the customization
  // dialog; returns the colour chosen, or an invalid colour for Cancel.
  using ColorPicker = std::function<QColor(const QColor& initial, const QString& title)>;
  static void setColorPicker(ColorPicker picker);
  static ColorPicker colorPicker();

 signals:
  // A press and release without moving (QCustomPlot's selection tolerance), with
  // the button and the position in this widget's pixels.
  void clicked(Qt::MouseButton button, QPoint position);
  void mouseMoved(QPoint position);
  // The user zoomed with the mouse.
  void zoomedIn();
  // The customization dialog was closed with OK and its look applied.
  void customized();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildPlot();
  void touchPoint(int index);
  void rebuildSeriesLater();
  void syncSeries();
  void syncBeforeReplot();
  void applyLookToPlot();
  void updateTitles();
  void applyView(const chart::ViewRanges& view);
  void updateMarks();
  void updateCursorLabels();
  void wantFullReplot();
  void wantMarksReplot();
  void flushRedraw();
  void onSelectionAccepted(const QRect& rect, QMouseEvent* event);
  chart::PlotGeometry geometry() const;
  QPoint toChart(QPoint plotPosition) const;
  void applyPointerCursor();

  QCustomPlot* m_plot = nullptr;
  QCPGraph* m_series = nullptr;
  QCPGraph* m_crosses = nullptr;
  QCPLayer* m_marksLayer = nullptr;
  std::array<QCPItemStraightLine*, 2> m_cursorLineItems{};
  std::array<QCPItemText*, 2> m_cursorLabelItems{};
  std::map<int, QCPItemText*> m_annotationTexts;
  QCPTextElement* m_titleElement = nullptr;
  QCPTextElement* m_subTitleElement = nullptr;
  QSharedPointer<QCPAxisTickerDateTime> m_timeTicker;

  chart::ChartState m_state;
  chart::ViewRanges m_view;
  chart::ZoomHistory m_zoom;
  Pointer m_pointer = Pointer::Arrow;

  // Derivation of the plot's container from m_state (see the header comment):
  // points below m_syncedCount are in the container; at and above it they are
  // blank except for those in m_touchedFrom..m_touchedTo.
  bool m_rebuildSeries = true;
  int m_syncedCount = 0;
  int m_touchedFrom = 0;
  int m_touchedTo = -1;
  bool m_crossesChanged = true;

  bool m_fullReplotWanted = true;
  bool m_marksReplotWanted = false;
  bool m_redrawQueued = false;

  QPoint m_lastMouse;
  QPoint m_pressPosition;
  bool m_panning = false;
  QPoint m_panStart;
  chart::ViewRanges m_panStartView;
};
