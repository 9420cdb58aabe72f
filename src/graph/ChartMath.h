#pragma once
// The arithmetic of the chart that needs no widget: pixel <-> data mapping, the
// zoom history, zoom and scroll of the shown ranges, and the tick format of the
// time axis. Chart uses these and nothing else for the same work, so the tests of
// this header cover what the user sees.

#include <optional>
#include <vector>

#include <QPointF>
#include <QRect>
#include <QString>

#include "link/TDateTime.h"

namespace chart {

// A closed interval of one axis. On the time axis the bounds are TDateTime days,
// on the level axis dB.
struct AxisRange {
  double lower = 0;
  double upper = 1;
  double size() const { return upper - lower; }
  bool contains(double value) const { return value >= lower && value <= upper; }
  bool operator==(const AxisRange&) const = default;
};

// What the plotting area shows: time (TDateTime) across, level (dB) up.
struct ViewRanges {
  AxisRange x;
  AxisRange y;
  bool operator==(const ViewRanges&) const = default;
};

// A point in data coordinates.
struct DataPoint {
  TDateTime time = 0;
  double level = 0;
};

// The plotting area in pixels and the ranges of its axes as QCustomPlot keeps
// them: the key axis in plot keys (seconds since 1970, see datetime::toPlotKey),
// the value axis in dB. Pixel positions follow QCustomPlot's own mapping:
// x = left + (key - lower) / size * width, y = bottom - (value - lower) / size * height
// with QRect's bottom (top + height - 1).
struct PlotGeometry {
  QRect area;
  AxisRange keys;
  AxisRange values;
};

PlotGeometry geometryFor(const QRect& area, const ViewRanges& view);

DataPoint pixelToData(const PlotGeometry& geometry, QPointF pixel);
QPointF dataToPixel(const PlotGeometry& geometry, TDateTime time, double level);
double timeToPixelX(const PlotGeometry& geometry, TDateTime time);

// Smallest spans a zoom may reach: below them the tick labels repeat and the
// line of a 0.1-second recording is a single segment.
inline constexpr double kMinZoomSeconds = 0.5;
inline constexpr double kMinZoomLevel = 0.2;
// A drag shorter than this in either direction is taken as a click, not a zoom.
inline constexpr int kMinZoomPixels = 4;

// The ranges made fit for the axes: bounds in ascending order, a span of at least
// one second and 0.1 dB (an axis of zero width maps every point to one pixel), and
// a range with a non-finite bound replaced by the fallback.
ViewRanges drawableView(const ViewRanges& view, const ViewRanges& fallback = {{0, 1}, {30, 130}});

// The ranges a dragged rectangle selects (clipped to the plotting area), or
// nothing when the rectangle is too small to mean a zoom.
std::optional<ViewRanges> zoomedView(const PlotGeometry& geometry, const QRect& selection);

// The view dragged by deltaPixels: the data follow the mouse.
ViewRanges pannedView(const ViewRanges& view, const PlotGeometry& geometry, QPoint deltaPixels);

// The view moved by a fraction of its own span (wheel scrolling); positive moves
// towards later times and higher levels.
ViewRanges scrolledView(const ViewRanges& view, double xFraction, double yFraction);

// Zoom history: each zoom remembers the view it replaced. Undo goes back one zoom;
// the last undo returns to the unzoomed view as it is then (the manual ranges may
// have moved meanwhile, e.g. a real-time recording extending its time axis), not
// as it was when the first zoom was made.
class ZoomHistory {
 public:
  void push(const ViewRanges& replaced) { m_views.push_back(replaced); }
  // The view to show after one undo, or nothing when there is no zoom to undo.
  std::optional<ViewRanges> undo(const ViewRanges& unzoomed);
  void clear() { m_views.clear(); }
  int depth() const { return static_cast<int>(m_views.size()); }
  bool empty() const { return m_views.empty(); }

 private:
  std::vector<ViewRanges> m_views;
};

// QDateTime format of the time-axis tick labels for a shown span: seconds for
// short spans, dates once the span covers days.
QString timeTickFormat(double spanSeconds);

}  // namespace chart
