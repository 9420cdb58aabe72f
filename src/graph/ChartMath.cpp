#include "graph/ChartMath.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace chart {

namespace {

// Grows a span below minimum around its centre; a zoom that narrow would only
// show interpolation between two points.
AxisRange atLeast(AxisRange range, double minimum) {
  if (range.size() >= minimum) return range;
  const double centre = (range.lower + range.upper) / 2;
  return {centre - minimum / 2, centre + minimum / 2};
}

}  // namespace

ViewRanges drawableView(const ViewRanges& view, const ViewRanges& fallback) {
  const auto fit = [](AxisRange range, AxisRange fallbackRange, double minimum) {
    if (!std::isfinite(range.lower) || !std::isfinite(range.upper)) range = fallbackRange;
    if (range.upper < range.lower) std::swap(range.lower, range.upper);
    if (range.size() < minimum) range.upper = range.lower + minimum;
    return range;
  };
  return {fit(view.x, fallback.x, datetime::fromSeconds(1)), fit(view.y, fallback.y, 0.1)};
}

PlotGeometry geometryFor(const QRect& area, const ViewRanges& view) {
  return {area,
          {datetime::toPlotKey(view.x.lower), datetime::toPlotKey(view.x.upper)},
          view.y};
}

DataPoint pixelToData(const PlotGeometry& geometry, QPointF pixel) {
  const QRect& area = geometry.area;
  DataPoint point;
  if (area.width() <= 0 || area.height() <= 0) return point;
  const double key = geometry.keys.lower + (pixel.x() - area.left()) / area.width() * geometry.keys.size();
  point.time = datetime::fromPlotKey(key);
  point.level = geometry.values.lower + (area.bottom() - pixel.y()) / area.height() * geometry.values.size();
  return point;
}

double timeToPixelX(const PlotGeometry& geometry, TDateTime time) {
  const double size = geometry.keys.size();
  if (size == 0) return geometry.area.left();
  return geometry.area.left() + (datetime::toPlotKey(time) - geometry.keys.lower) / size * geometry.area.width();
}

QPointF dataToPixel(const PlotGeometry& geometry, TDateTime time, double level) {
  const double size = geometry.values.size();
  const double y = size == 0 ? geometry.area.bottom()
                             : geometry.area.bottom() - (level - geometry.values.lower) / size * geometry.area.height();
  return {timeToPixelX(geometry, time), y};
}

std::optional<ViewRanges> zoomedView(const PlotGeometry& geometry, const QRect& selection) {
  const QRect clipped = selection.normalized().intersected(geometry.area);
  if (clipped.width() < kMinZoomPixels || clipped.height() < kMinZoomPixels) return std::nullopt;
  // Opposite corners of the rectangle; QRect's right and bottom are the last pixel
  // inside, so the far edges are one pixel beyond them.
  const DataPoint topLeft = pixelToData(geometry, QPointF(clipped.left(), clipped.top()));
  const DataPoint bottomRight = pixelToData(geometry, QPointF(clipped.left() + clipped.width(), clipped.top() + clipped.height()));
  ViewRanges view;
  view.x = atLeast({topLeft.time, bottomRight.time}, datetime::fromSeconds(kMinZoomSeconds));
  view.y = atLeast({bottomRight.level, topLeft.level}, kMinZoomLevel);
  return view;
}

ViewRanges pannedView(const ViewRanges& view, const PlotGeometry& geometry, QPoint deltaPixels) {
  const QRect& area = geometry.area;
  if (area.width() <= 0 || area.height() <= 0) return view;
  const double xShift = -static_cast<double>(deltaPixels.x()) / area.width();
  const double yShift = static_cast<double>(deltaPixels.y()) / area.height();
  return scrolledView(view, xShift, yShift);
}

ViewRanges scrolledView(const ViewRanges& view, double xFraction, double yFraction) {
  ViewRanges moved = view;
  const double dx = xFraction * view.x.size();
  const double dy = yFraction * view.y.size();
  moved.x = {view.x.lower + dx, view.x.upper + dx};
  moved.y = {view.y.lower + dy, view.y.upper + dy};
  return moved;
}

std::optional<ViewRanges> ZoomHistory::undo(const ViewRanges& unzoomed) {
  if (m_views.empty()) return std::nullopt;
  const ViewRanges previous = m_views.back();
  m_views.pop_back();
  return m_views.empty() ? unzoomed : previous;
}

QString timeTickFormat(double spanSeconds) {
  const double span = std::abs(spanSeconds);
  if (span <= 15 * 60) return QStringLiteral("hh:mm:ss");
  if (span <= 2 * 86400.0) return QStringLiteral("hh:mm");
  if (span <= 90 * 86400.0) return QStringLiteral("d MMM\nhh:mm");
  return QStringLiteral("d MMM\nyyyy");
}

}  // namespace chart
