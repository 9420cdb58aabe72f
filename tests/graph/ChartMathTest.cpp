// The chart's arithmetic without a widget: time keys, pixel mapping, zoom history,
// zoom and scroll of the view, tick formats.

#include <gtest/gtest.h>

#include <cmath>

#include "graph/ChartMath.h"

using namespace chart;

namespace {

constexpr double kOneMsDays = 1.0 / datetime::kMsPerDay;

TDateTime at(int year, int month, int day, int hour, int minute, int second, int ms = 0) {
  return datetime::fromQDateTime(QDateTime(QDate(year, month, day), QTime(hour, minute, second, ms)));
}

// A plotting area like the one of a 1200 x 700 chart, showing 10:00 to 12:00 and
// 30 to 130 dB.
PlotGeometry sampleGeometry() {
  const ViewRanges view{{at(2024, 3, 1, 10, 0, 0), at(2024, 3, 1, 12, 0, 0)}, {30, 130}};
  return geometryFor(QRect(62, 18, 1120, 630), view);
}

}  // namespace

TEST(ChartTime, PlotKeyRoundTripKeepsTheMillisecond) {
  const auto check = [](TDateTime time) {
    const TDateTime back = datetime::fromPlotKey(datetime::toPlotKey(time));
    EXPECT_NEAR(back, time, kOneMsDays / 10) << time;
  };
  check(0);
  check(datetime::kUnixEpochDays);
  check(at(1999, 12, 31, 23, 59, 59, 999));
  check(at(2024, 3, 1, 10, 0, 0, 1));
  check(at(2024, 3, 1, 14, 21, 36, 500));
  check(at(2038, 1, 19, 3, 14, 8, 7));
  check(at(2099, 6, 30, 12, 0, 0, 999));
}

TEST(ChartTime, PlotKeyHoldsTheWallClockAsUtc) {
  // The axis shows the key as UTC; a reading taken at 10:00 local must show 10:00.
  const auto check = [](QDate date, QTime time) {
    const double key = datetime::toPlotKey(datetime::fromQDateTime(QDateTime(date, time)));
    const QDateTime shown = QDateTime::fromMSecsSinceEpoch(std::llround(key * 1000), Qt::UTC);
    EXPECT_EQ(shown.date(), date);
    EXPECT_EQ(shown.time(), time);
  };
  check(QDate(2024, 3, 1), QTime(10, 0, 0));
  check(QDate(2024, 7, 14), QTime(23, 59, 59, 250));
  check(QDate(1970, 1, 1), QTime(0, 0, 0));
}

TEST(ChartGeometry, PixelToDataToPixelRoundTrip) {
  const PlotGeometry geometry = sampleGeometry();
  for (int px = geometry.area.left(); px <= geometry.area.right(); px += 37) {
    for (int py = geometry.area.top(); py <= geometry.area.bottom(); py += 29) {
      const DataPoint data = pixelToData(geometry, QPointF(px, py));
      const QPointF back = dataToPixel(geometry, data.time, data.level);
      EXPECT_NEAR(back.x(), px, 1e-3);
      EXPECT_NEAR(back.y(), py, 1e-3);
    }
  }
}

TEST(ChartGeometry, EdgesMapToTheRangeBounds) {
  const PlotGeometry geometry = sampleGeometry();
  const DataPoint bottomLeft = pixelToData(geometry, QPointF(geometry.area.left(), geometry.area.bottom()));
  EXPECT_NEAR(bottomLeft.time, at(2024, 3, 1, 10, 0, 0), kOneMsDays);
  EXPECT_DOUBLE_EQ(bottomLeft.level, 30);
  // The middle of the area is the middle of both ranges (to within one pixel).
  const QPointF middle = dataToPixel(geometry, at(2024, 3, 1, 11, 0, 0), 80);
  EXPECT_NEAR(middle.x(), geometry.area.left() + geometry.area.width() / 2.0, 1);
  EXPECT_NEAR(middle.y(), geometry.area.bottom() - geometry.area.height() / 2.0, 1);
  // A later time is further right, a higher level further up.
  EXPECT_GT(dataToPixel(geometry, at(2024, 3, 1, 11, 0, 1), 80).x(), middle.x());
  EXPECT_LT(dataToPixel(geometry, at(2024, 3, 1, 11, 0, 0), 81).y(), middle.y());
}

TEST(ChartGeometry, EmptyAreaGivesNoNonsense) {
  PlotGeometry geometry = sampleGeometry();
  geometry.area = QRect();
  const DataPoint data = pixelToData(geometry, QPointF(10, 10));
  EXPECT_TRUE(std::isfinite(data.time));
  EXPECT_TRUE(std::isfinite(data.level));
}

TEST(ChartView, DrawableViewOrdersWidensAndReplaces) {
  const ViewRanges fallback{{100, 101}, {0, 50}};
  const auto check = [&](ViewRanges given, ViewRanges expected) {
    const ViewRanges got = drawableView(given, fallback);
    EXPECT_NEAR(got.x.lower, expected.x.lower, 1e-9);
    EXPECT_NEAR(got.x.upper, expected.x.upper, 1e-9);
    EXPECT_NEAR(got.y.lower, expected.y.lower, 1e-9);
    EXPECT_NEAR(got.y.upper, expected.y.upper, 1e-9);
  };
  const double second = datetime::fromSeconds(1);
  check({{45000, 45001}, {30, 130}}, {{45000, 45001}, {30, 130}});
  check({{45001, 45000}, {130, 30}}, {{45000, 45001}, {30, 130}});
  check({{45000, 45000}, {60, 60}}, {{45000, 45000 + second}, {60, 60.1}});
  check({{NAN, 45000}, {30, INFINITY}}, fallback);
}

TEST(ChartView, ZoomedViewSelectsTheRectangle) {
  const PlotGeometry geometry = sampleGeometry();
  const QRect area = geometry.area;
  // The left half in time, the upper half in level.
  const QRect selection(area.left(), area.top(), area.width() / 2, area.height() / 2);
  const std::optional<ViewRanges> view = zoomedView(geometry, selection);
  ASSERT_TRUE(view);
  EXPECT_NEAR(view->x.lower, at(2024, 3, 1, 10, 0, 0), kOneMsDays);
  EXPECT_NEAR(view->x.upper, at(2024, 3, 1, 11, 0, 0), kOneMsDays);
  EXPECT_NEAR(view->y.lower, 80, 0.2);
  EXPECT_NEAR(view->y.upper, 130, 0.2);
}

TEST(ChartView, ZoomedViewClipsAndRefuses) {
  const PlotGeometry geometry = sampleGeometry();
  const QRect area = geometry.area;
  // Dragged from outside the area: clipped to it, so the view never leaves the ranges.
  const std::optional<ViewRanges> clipped = zoomedView(geometry, QRect(QPoint(0, 0), QPoint(area.center())));
  ASSERT_TRUE(clipped);
  EXPECT_NEAR(clipped->x.lower, at(2024, 3, 1, 10, 0, 0), kOneMsDays);
  EXPECT_LE(clipped->y.upper, 130.0 + 1e-9);
  // Dragged backwards: the same as forwards.
  const QRect forwards(area.left() + 100, area.top() + 50, 200, 100);
  const QRect backwards(QPoint(forwards.right(), forwards.bottom()), QPoint(forwards.left(), forwards.top()));
  const std::optional<ViewRanges> there = zoomedView(geometry, forwards);
  const std::optional<ViewRanges> back = zoomedView(geometry, backwards);
  ASSERT_TRUE(there && back);
  // QRect's normalization of a reversed rectangle may shift it by a pixel.
  const double pixelTime = geometry.keys.size() / area.width() / datetime::kSecondsPerDay;
  EXPECT_NEAR(back->x.lower, there->x.lower, 1.01 * pixelTime);
  EXPECT_NEAR(back->x.upper, there->x.upper, 1.01 * pixelTime);
  EXPECT_NEAR(back->y.lower, there->y.lower, 1.01 * geometry.values.size() / area.height());
  // Too small, or outside the area altogether.
  EXPECT_FALSE(zoomedView(geometry, QRect(area.left() + 10, area.top() + 10, 200, kMinZoomPixels - 1)));
  EXPECT_FALSE(zoomedView(geometry, QRect(area.left() + 10, area.top() + 10, kMinZoomPixels - 1, 200)));
  EXPECT_FALSE(zoomedView(geometry, QRect(0, 0, area.left() - 1, 300)));
}

TEST(ChartView, ZoomStopsAtTheSmallestSpans) {
  // Four pixels of a two-hour axis are about 26 s; of a one-second axis far less.
  PlotGeometry geometry = sampleGeometry();
  geometry.keys = {geometry.keys.lower, geometry.keys.lower + 1};
  geometry.values = {60, 60.5};
  const std::optional<ViewRanges> view =
      zoomedView(geometry, QRect(geometry.area.left() + 100, geometry.area.top() + 100, 5, 5));
  ASSERT_TRUE(view);
  EXPECT_NEAR(datetime::toSeconds(view->x.size()), kMinZoomSeconds, 1e-6);
  EXPECT_NEAR(view->y.size(), kMinZoomLevel, 1e-9);
}

TEST(ChartView, PanFollowsTheMouse) {
  const PlotGeometry geometry = sampleGeometry();
  const ViewRanges view{{at(2024, 3, 1, 10, 0, 0), at(2024, 3, 1, 12, 0, 0)}, {30, 130}};
  // Dragging right by a quarter of the width shows half an hour earlier; dragging
  // down by a tenth of the height shows 10 dB higher.
  const ViewRanges moved = pannedView(view, geometry, QPoint(geometry.area.width() / 4, geometry.area.height() / 10));
  EXPECT_NEAR(moved.x.lower, at(2024, 3, 1, 9, 30, 0), kOneMsDays);
  EXPECT_NEAR(moved.x.upper, at(2024, 3, 1, 11, 30, 0), kOneMsDays);
  EXPECT_NEAR(moved.y.lower, 40, 1e-9);
  EXPECT_NEAR(moved.y.upper, 140, 1e-9);
  const ViewRanges scrolled = scrolledView(view, 0.5, -0.1);
  EXPECT_NEAR(scrolled.x.lower, at(2024, 3, 1, 11, 0, 0), kOneMsDays);
  EXPECT_NEAR(scrolled.y.upper, 120, 1e-9);
}

TEST(ChartZoomHistory, UndoReturnsThroughEveryZoom) {
  const ViewRanges original{{45000, 45001}, {30, 130}};
  const ViewRanges first{{45000.2, 45000.6}, {40, 100}};
  ZoomHistory history;
  EXPECT_FALSE(history.undo(original));  // nothing to undo: harmless
  history.push(original);  // zoom 1 replaces the original view
  history.push(first);     // zoom 2 replaces zoom 1's view
  EXPECT_EQ(history.depth(), 2);
  EXPECT_EQ(history.undo(original), first);
  EXPECT_EQ(history.undo(original), original);
  EXPECT_TRUE(history.empty());
  EXPECT_FALSE(history.undo(original));
}

TEST(ChartZoomHistory, LastUndoGoesToTheUnzoomedViewAsItIsNow) {
  // A recording extends its time axis while the user looks at a zoomed part.
  const ViewRanges whenZoomed{{45000, 45000.01}, {30, 130}};
  const ViewRanges extended{{45000, 45000.02}, {30, 130}};
  ZoomHistory history;
  history.push(whenZoomed);
  EXPECT_EQ(history.undo(extended), extended);
}

TEST(ChartTicks, FormatFollowsTheSpan) {
  const auto check = [](double spanSeconds, const char* format) {
    EXPECT_EQ(timeTickFormat(spanSeconds), QString::fromLatin1(format)) << spanSeconds;
  };
  check(100, "hh:mm:ss");
  check(15 * 60, "hh:mm:ss");
  check(2 * 3600, "hh:mm");
  check(2 * 86400, "hh:mm");
  check(10 * 86400, "d MMM\nhh:mm");
  check(365 * 86400.0, "d MMM\nyyyy");
}
