// The chart widget, offscreen: points, blanks, cursor lines, annotations, pixel
// mapping, zoom and its history, mouse, blocks, customization, pointer, drawing.

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <qcustomplot.h>

#include "graph/Chart.h"
#include "graph/ChartCustomizeDialog.h"

using namespace chart;

namespace {

TDateTime at(int hour, int minute, int second) {
  return datetime::fromQDateTime(QDateTime(QDate(2024, 3, 1), QTime(hour, minute, second)));
}

const AxisRange kTwoHours{at(10, 0, 0), at(12, 0, 0)};

// Whether a pixel within radius of where has roughly the colour.
bool colourNear(const QImage& image, QPointF where, const QColor& colour, int radius = 2) {
  const QPoint centre = where.toPoint();
  for (int dy = -radius; dy <= radius; ++dy) {
    for (int dx = -radius; dx <= radius; ++dx) {
      const QPoint p = centre + QPoint(dx, dy);
      if (!image.rect().contains(p)) continue;
      const QColor c = image.pixelColor(p);
      if (std::abs(c.red() - colour.red()) < 60 && std::abs(c.green() - colour.green()) < 60 &&
          std::abs(c.blue() - colour.blue()) < 60)
        return true;
    }
  }
  return false;
}

class ChartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    chart.resize(1200, 700);
    chart.show();
    chart.reset(0, {30, 130}, kTwoHours);
    chart.applyBuiltInLook();
    chart.redrawNow();
  }

  QImage picture() {
    chart.redrawNow();
    return chart.grab().toImage();
  }

  QSharedPointer<QCPGraphDataContainer> drawn() {
    chart.redrawNow();
    return chart.plot()->graph(0)->data();
  }

  // Points one second apart from 10:00, levels 50, 51, ... 99, 50, ...
  void fill(int count) {
    chart.setPointCount(count);
    for (int i = 0; i < count; ++i) {
      chart.setX(i, at(10, 0, 0) + datetime::fromSeconds(i));
      chart.setY(i, 50.0f + static_cast<float>(i % 50));
    }
  }

  Chart chart;
};

}  // namespace

// --- points ---

TEST_F(ChartTest, PointCountGrowsWithBlanksAndShrinksKeepingTheFirst) {
  fill(3);
  ASSERT_TRUE(chart.setPointCount(5));
  EXPECT_EQ(chart.pointCount(), 5);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(chart.x(i), at(10, 0, 0) + datetime::fromSeconds(i));
    EXPECT_EQ(chart.y(i), 50.0f + static_cast<float>(i));
  }
  EXPECT_EQ(chart.x(3), 0.0);
  EXPECT_EQ(chart.y(4), 0.0f);
  ASSERT_TRUE(chart.setPointCount(2));
  EXPECT_EQ(chart.pointCount(), 2);
  EXPECT_EQ(chart.y(1), 51.0f);
  // Out of range: refused, nothing changes.
  EXPECT_FALSE(chart.setPointCount(-1));
  EXPECT_FALSE(chart.setPointCount(kMaxPoints + 1));
  EXPECT_EQ(chart.pointCount(), 2);
  ASSERT_TRUE(chart.setPointCount(0));
  EXPECT_EQ(chart.pointCount(), 0);
}

TEST_F(ChartTest, AccessOutsideThePointsDoesNothing) {
  fill(2);
  EXPECT_FALSE(chart.setX(2, at(11, 0, 0)));
  EXPECT_FALSE(chart.setY(-1, 60));
  EXPECT_EQ(chart.x(2), 0.0);
  EXPECT_EQ(chart.y(-1), 0.0f);
  EXPECT_EQ(chart.pointCount(), 2);
}

TEST_F(ChartTest, BulkSetAndReadBackThousandPoints) {
  chart.setPointCount(1000);
  std::vector<TDateTime> times(1000);
  std::vector<float> levels(1000);
  for (int i = 0; i < 1000; ++i) {
    // Sample times as the logger gives them: start plus i single-precision seconds.
    times[i] = 45352.123456789 + i * datetime::kOneSecondSingle;
    levels[i] = 30.0f + 0.1f * static_cast<float>(i % 1000);
  }
  EXPECT_EQ(chart.setXValues(times), 1000);
  EXPECT_EQ(chart.setYValues(levels), 1000);
  for (int i = 0; i < 1000; ++i) {
    ASSERT_EQ(chart.x(i), times[i]) << i;
    ASSERT_EQ(chart.y(i), levels[i]) << i;
  }
  EXPECT_TRUE(std::equal(times.begin(), times.end(), chart.xValues().begin(), chart.xValues().end()));
  EXPECT_TRUE(std::equal(levels.begin(), levels.end(), chart.yValues().begin(), chart.yValues().end()));
  EXPECT_EQ(drawn()->size(), 1000);
}

TEST_F(ChartTest, BulkSetStopsAtThePointCount) {
  chart.setPointCount(3);
  const std::vector<float> many{60, 61, 62, 63, 64};
  EXPECT_EQ(chart.setYValues(many), 3);
  EXPECT_EQ(chart.y(2), 62.0f);
  const std::vector<float> few{70};
  EXPECT_EQ(chart.setYValues(few), 1);
  EXPECT_EQ(chart.y(0), 70.0f);
  EXPECT_EQ(chart.y(1), 61.0f);
}

TEST_F(ChartTest, BlankPointsAreNotDrawn) {
  chart.setPointCount(2000);
  chart.blankPoints();
  EXPECT_EQ(drawn()->size(), 0);
  for (int i = 0; i < 3; ++i) {
    chart.setX(i, at(10, 0, i));
    chart.setY(i, 60.0f + static_cast<float>(i));
  }
  const auto data = drawn();
  ASSERT_EQ(data->size(), 3);
  EXPECT_DOUBLE_EQ(data->at(0)->key, datetime::toPlotKey(at(10, 0, 0)));
  EXPECT_DOUBLE_EQ(data->at(2)->value, 62.0);
  // Blanking everything takes the line away.
  chart.blankPoints();
  EXPECT_EQ(drawn()->size(), 0);
  EXPECT_EQ(chart.x(1), 0.0);
  EXPECT_EQ(chart.y(1), 0.0f);
}

TEST_F(ChartTest, RecordingPointByPointDrawsWhatARebuildWould) {
  chart.setPointCount(50);
  chart.blankPoints();
  for (int i = 0; i < 20; ++i) {
    chart.setX(i, at(10, 0, 0) + datetime::fromSeconds(i * 0.5));
    chart.setY(i, 40.0f + static_cast<float>(i % 7));
    const auto data = drawn();
    ASSERT_EQ(data->size(), i + 1);
    EXPECT_DOUBLE_EQ((data->constEnd() - 1)->value, 40.0 + i % 7);
  }
  // A change to a point already drawn, a point set out of order, a shrink.
  chart.setY(4, 99.0f);
  chart.setX(30, at(9, 0, 0));
  chart.setY(30, 45.0f);
  auto data = drawn();
  ASSERT_EQ(data->size(), 21);
  EXPECT_DOUBLE_EQ(data->at(0)->key, datetime::toPlotKey(at(9, 0, 0)));  // sorted by time
  EXPECT_DOUBLE_EQ(data->at(5)->value, 99.0);
  chart.setPointCount(10);
  data = drawn();
  ASSERT_EQ(data->size(), 10);
  for (int i = 0; i < 10; ++i) EXPECT_DOUBLE_EQ(data->at(i)->key, datetime::toPlotKey(chart.x(i)));
}

// --- cursor lines ---

TEST_F(ChartTest, CursorLinesKeepPositionTextAndColour) {
  EXPECT_EQ(chart.cursorLine(kCursorA).color, QColor(0, 0, 255));
  EXPECT_EQ(chart.cursorLine(kCursorB).color, QColor(255, 0, 0));
  chart.setCursorLinePosition(kCursorA, at(10, 30, 0));
  chart.setCursorLineText(kCursorA, QStringLiteral("|t10:30:00\n65.3dB"));
  chart.setCursorLinePosition(kCursorB, at(11, 30, 0));
  chart.setCursorLineColor(kCursorB, QColor(0, 200, 200));
  EXPECT_EQ(chart.cursorLine(kCursorA).position, at(10, 30, 0));
  EXPECT_EQ(chart.cursorLine(kCursorA).text, QStringLiteral("|t10:30:00\n65.3dB"));
  EXPECT_EQ(chart.cursorLine(kCursorB).color, QColor(0, 200, 200));
  // reset() gives the cursors their colours back.
  chart.reset(10, {30, 130}, kTwoHours);
  EXPECT_EQ(chart.cursorLine(kCursorB).color, QColor(255, 0, 0));
}

TEST_F(ChartTest, CursorLinesAreDrawnWhereTheyAreAndHiddenOnRequest) {
  chart.setCursorLinePosition(kCursorA, at(10, 30, 0));
  chart.setCursorLinePosition(kCursorB, at(11, 30, 0));
  const double middleY = chart.plotArea().center().y();
  const QPointF lineA(chart.dataToPixel(at(10, 30, 0), 0).x(), middleY);
  const QPointF lineB(chart.dataToPixel(at(11, 30, 0), 0).x(), middleY);
  QImage image = picture();
  EXPECT_TRUE(colourNear(image, lineA, QColor(0, 0, 255), 1));
  EXPECT_TRUE(colourNear(image, lineB, QColor(255, 0, 0), 1));
  EXPECT_FALSE(colourNear(image, lineA + QPointF(60, 0), QColor(0, 0, 255), 1));

  chart.setCursorLinesVisible(false);
  image = picture();
  EXPECT_FALSE(colourNear(image, lineA, QColor(0, 0, 255), 1));
  EXPECT_FALSE(colourNear(image, lineB, QColor(255, 0, 0), 1));
}

TEST_F(ChartTest, CloseCursorLabelsDoNotOverlap) {
  const auto labelOf = [&](const QString& text) -> QCPItemText* {
    for (int i = 0; i < chart.plot()->itemCount(); ++i)
      if (auto* item = qobject_cast<QCPItemText*>(chart.plot()->item(i)); item && item->text() == text) return item;
    return nullptr;
  };
  const auto check = [&](TDateTime a, TDateTime b) {
    chart.setCursorLinePosition(kCursorA, a);
    chart.setCursorLineText(kCursorA, QStringLiteral("|t10:40:00\n64.3dB"));
    chart.setCursorLinePosition(kCursorB, b);
    chart.setCursorLineText(kCursorB, QStringLiteral("|t10:41:00\n66.0dB"));
    chart.redrawNow();
    QCPItemText* labelA = labelOf(QStringLiteral("10:40:00\n64.3dB"));
    QCPItemText* labelB = labelOf(QStringLiteral("10:41:00\n66.0dB"));
    ASSERT_TRUE(labelA && labelB);
    const QRectF rectA(labelA->topLeft->pixelPosition(), labelA->bottomRight->pixelPosition());
    const QRectF rectB(labelB->topLeft->pixelPosition(), labelB->bottomRight->pixelPosition());
    EXPECT_FALSE(rectA.intersects(rectB)) << a << " " << b;
    // Both stay inside the plotting area.
    EXPECT_TRUE(QRectF(chart.plotArea()).adjusted(-1, -1, 1, 1).contains(rectA));
    EXPECT_TRUE(QRectF(chart.plotArea()).adjusted(-1, -1, 1, 1).contains(rectB));
  };
  check(at(10, 40, 0), at(10, 41, 0));    // a minute apart: a few pixels
  check(at(10, 41, 0), at(10, 40, 0));    // crossed
  check(at(11, 59, 0), at(11, 59, 30));   // at the right edge
  check(at(10, 20, 0), at(11, 20, 0));    // far apart, side by side
}

TEST_F(ChartTest, NonFinitePositionsAreIgnoredSoTheStateStaysLoadable) {
  chart.setXRange(NAN, at(12, 0, 0));
  chart.setYRange(30, INFINITY);
  chart.setCursorLinePosition(kCursorA, NAN);
  EXPECT_FALSE(chart.setAnnotation(5, {AnnotationKind::Cross, NAN, 50, {}}));
  EXPECT_EQ(chart.xRange(), kTwoHours);
  EXPECT_EQ(chart.yRange(), (AxisRange{30, 130}));
  EXPECT_EQ(chart.cursorLine(kCursorA).position, 0.0);
  Chart other;
  EXPECT_TRUE(other.loadState(chart.storeState()));
}

TEST_F(ChartTest, CursorMoveRepaintsOnlyTheMarks) {
  fill(100);
  chart.redrawNow();
  QSignalSpy replots(chart.plot(), &QCustomPlot::afterReplot);
  chart.setCursorLinePosition(kCursorA, at(11, 0, 0));
  const QImage image = picture();
  EXPECT_EQ(replots.count(), 0);
  EXPECT_TRUE(colourNear(image, QPointF(chart.dataToPixel(at(11, 0, 0), 0).x(), chart.plotArea().center().y()),
                         QColor(0, 0, 255), 1));
  // A change of the data does replot.
  chart.setY(5, 90.0f);
  chart.redrawNow();
  EXPECT_EQ(replots.count(), 1);
}

TEST_F(ChartTest, RedrawIsCoalescedToTheEventLoop) {
  QSignalSpy replots(chart.plot(), &QCustomPlot::afterReplot);
  fill(10);
  chart.redraw();
  chart.redraw();
  EXPECT_EQ(replots.count(), 0);
  QCoreApplication::processEvents();
  EXPECT_EQ(replots.count(), 1);
  EXPECT_EQ(chart.plot()->graph(0)->data()->size(), 10);
}

// --- annotations ---

TEST_F(ChartTest, AnnotationSlotsKeepWhatIsSet) {
  EXPECT_EQ(chart.annotation(7), GraphAnnotation{});
  const GraphAnnotation cross{AnnotationKind::Cross, at(10, 20, 0), 70.5, {}};
  const GraphAnnotation text{AnnotationKind::None, at(11, 0, 0), 55, QStringLiteral("truck")};
  EXPECT_TRUE(chart.setAnnotation(5, cross));
  EXPECT_TRUE(chart.setAnnotation(6, text));
  EXPECT_FALSE(chart.setAnnotation(-1, cross));
  EXPECT_EQ(chart.annotation(5), cross);
  EXPECT_EQ(chart.annotation(6), text);
  EXPECT_EQ(chart.annotations().size(), 2u);
  // Erasing keeps the slot's place, as the erase list does.
  chart.setAnnotation(6, {AnnotationKind::None, text.x, text.y, {}});
  EXPECT_EQ(chart.annotation(6).x, text.x);
  EXPECT_TRUE(chart.annotation(6).text.isEmpty());
}

TEST_F(ChartTest, AnnotationsAreDrawnOnlyInTheShownRange) {
  const QImage empty = picture();
  // A cross and a text at X 0 (cleared slots) are outside every range.
  chart.setAnnotation(3, {AnnotationKind::Cross, 0, 0, {}});
  chart.setAnnotation(4, {AnnotationKind::None, 0, 0, QStringLiteral("gone")});
  EXPECT_TRUE(picture() == empty);

  chart.setAnnotation(5, {AnnotationKind::Cross, at(10, 40, 0), 80, {}});
  chart.setAnnotation(6, {AnnotationKind::None, at(11, 20, 0), 60, QStringLiteral("WWWW")});
  const QImage marked = picture();
  EXPECT_FALSE(marked == empty);
  const QColor white(255, 255, 255);
  const QPointF cross = chart.dataToPixel(at(10, 40, 0), 80);
  EXPECT_TRUE(colourNear(marked, cross, white, 1));
  EXPECT_FALSE(colourNear(empty, cross, white, 3));
  // The text starts at its point and runs to the right.
  const QPointF text = chart.dataToPixel(at(11, 20, 0), 60);
  EXPECT_TRUE(colourNear(marked, text + QPointF(12, 0), white, 6));

  chart.setAnnotationsVisible(false);
  EXPECT_TRUE(picture() == empty);
}

// --- geometry ---

TEST_F(ChartTest, PixelMappingAgreesWithThePlot) {
  const QRect area = chart.plotArea();
  EXPECT_EQ(area, chart.plot()->axisRect()->rect().translated(chart.plot()->pos()));
  EXPECT_GT(area.width(), 900);
  EXPECT_GT(area.height(), 500);
  const QCPAxis* xAxis = chart.plot()->xAxis;
  const QCPAxis* yAxis = chart.plot()->yAxis;
  for (const auto& [time, level] : {std::pair{at(10, 0, 0), 30.0}, std::pair{at(10, 17, 3), 64.2},
                                    std::pair{at(11, 59, 59), 129.9}, std::pair{at(11, 0, 0), 80.0}}) {
    const QPointF pixel = chart.dataToPixel(time, level);
    EXPECT_NEAR(pixel.x(), xAxis->coordToPixel(datetime::toPlotKey(time)) + chart.plot()->x(), 0.5);
    EXPECT_NEAR(pixel.y(), yAxis->coordToPixel(level) + chart.plot()->y(), 0.5);
    const DataPoint back = chart.pixelToData(pixel);
    EXPECT_NEAR(datetime::toSeconds(back.time - time), 0, 1e-3);
    EXPECT_NEAR(back.level, level, 1e-6);
  }
  // Pixel -> data -> pixel stays within a pixel across the whole area.
  for (int px = area.left(); px <= area.right(); px += 101) {
    for (int py = area.top(); py <= area.bottom(); py += 77) {
      const DataPoint data = chart.pixelToData(QPointF(px, py));
      const QPointF back = chart.dataToPixel(data.time, data.level);
      EXPECT_LT(std::abs(back.x() - px), 1.0);
      EXPECT_LT(std::abs(back.y() - py), 1.0);
    }
  }
}

TEST_F(ChartTest, MouseMovesAreReportedInChartPixels) {
  QSignalSpy moves(&chart, &Chart::mouseMoved);
  const QPoint inside = chart.plotArea().center();
  QTest::mouseMove(chart.plot(), inside - chart.plot()->pos());
  ASSERT_GE(moves.count(), 1);
  EXPECT_EQ(moves.last().at(0).toPoint(), inside);
  EXPECT_EQ(chart.lastMousePosition(), inside);
}

// --- zoom ---

TEST_F(ChartTest, ZoomTwiceUndoTwiceRestoresTheRanges) {
  const ViewRanges original = chart.shownRanges();
  EXPECT_EQ(original, (ViewRanges{kTwoHours, {30, 130}}));
  const QRect area = chart.plotArea();
  ASSERT_TRUE(chart.zoomToRect(QRect(area.left() + 100, area.top() + 50, 400, 300)));
  const ViewRanges first = chart.shownRanges();
  EXPECT_GT(first.x.lower, original.x.lower);
  EXPECT_LT(first.x.size(), original.x.size());
  ASSERT_TRUE(chart.zoomToRect(QRect(area.left() + 10, area.top() + 10, 200, 200)));
  EXPECT_LT(chart.shownRanges().x.size(), first.x.size());
  EXPECT_EQ(chart.zoomDepth(), 2);
  // Zooming changes the view, not the manual ranges.
  EXPECT_EQ(chart.xRange(), kTwoHours);

  EXPECT_TRUE(chart.undoZoom());
  EXPECT_EQ(chart.shownRanges(), first);
  EXPECT_TRUE(chart.undoZoom());
  EXPECT_EQ(chart.shownRanges(), original);
  EXPECT_FALSE(chart.isZoomed());
  EXPECT_FALSE(chart.undoZoom());
  EXPECT_EQ(chart.shownRanges(), original);
}

TEST_F(ChartTest, RangeSetWhileZoomedIsShownAfterTheUndo) {
  const QRect area = chart.plotArea();
  ASSERT_TRUE(chart.zoomToRect(QRect(area.left() + 100, area.top() + 50, 400, 300)));
  const ViewRanges zoomed = chart.shownRanges();
  const AxisRange longer{kTwoHours.lower, at(12, 30, 0)};
  chart.setXRange(longer.lower, longer.upper);
  EXPECT_EQ(chart.shownRanges(), zoomed);
  chart.undoZoom();
  EXPECT_EQ(chart.shownRanges().x, longer);
}

TEST_F(ChartTest, ResetEndsTheZoomAndKeepsTimesWhenMinIsZero) {
  const QRect area = chart.plotArea();
  chart.zoomToRect(QRect(area.left() + 100, area.top() + 50, 400, 300));
  chart.reset(200, {20, 120}, {0, 0});
  EXPECT_FALSE(chart.isZoomed());
  EXPECT_EQ(chart.xRange(), kTwoHours);
  EXPECT_EQ(chart.yRange(), (AxisRange{20, 120}));
  EXPECT_EQ(chart.shownRanges(), (ViewRanges{kTwoHours, {20, 120}}));
  EXPECT_EQ(chart.pointCount(), 200);
}

TEST_F(ChartTest, DraggingZoomsAndClickingClicks) {
  QSignalSpy zooms(&chart, &Chart::zoomedIn);
  QSignalSpy clicks(&chart, &Chart::clicked);
  QWidget* plot = chart.plot();
  const QPoint offset = plot->pos();
  const QRect area = chart.plotArea();
  const QPoint from = area.topLeft() + QPoint(200, 100) - offset;
  const QPoint to = from + QPoint(300, 200);
  QTest::mousePress(plot, Qt::LeftButton, {}, from);
  QTest::mouseMove(plot, from + QPoint(100, 50));
  QTest::mouseMove(plot, to);
  QTest::mouseRelease(plot, Qt::LeftButton, {}, to);
  EXPECT_EQ(zooms.count(), 1);
  EXPECT_EQ(clicks.count(), 0);
  EXPECT_EQ(chart.zoomDepth(), 1);

  const QPoint spot = area.center() - offset;
  QTest::mouseClick(plot, Qt::LeftButton, {}, spot);
  ASSERT_EQ(clicks.count(), 1);
  EXPECT_EQ(clicks.at(0).at(0).value<Qt::MouseButton>(), Qt::LeftButton);
  EXPECT_EQ(clicks.at(0).at(1).toPoint(), area.center());
  EXPECT_EQ(chart.lastMousePosition(), area.center());
  EXPECT_EQ(zooms.count(), 1);
  EXPECT_EQ(chart.zoomDepth(), 1);
}

TEST_F(ChartTest, RightDragScrollsOnlyAZoomedView) {
  QWidget* plot = chart.plot();
  const QPoint offset = plot->pos();
  const QPoint from = chart.plotArea().center() - offset;
  const auto drag = [&] {
    QTest::mousePress(plot, Qt::RightButton, {}, from);
    QTest::mouseMove(plot, from + QPoint(100, 0));
    QTest::mouseRelease(plot, Qt::RightButton, {}, from + QPoint(100, 0));
    QCoreApplication::processEvents();
  };
  const ViewRanges unzoomed = chart.shownRanges();
  drag();
  EXPECT_EQ(chart.shownRanges(), unzoomed);

  const QRect area = chart.plotArea();
  chart.zoomToRect(QRect(area.left() + 100, area.top() + 50, 400, 300));
  const ViewRanges zoomed = chart.shownRanges();
  drag();
  // Dragged right: earlier times come into view, the span stays.
  EXPECT_LT(chart.shownRanges().x.lower, zoomed.x.lower);
  EXPECT_NEAR(chart.shownRanges().x.size(), zoomed.x.size(), 1e-9);
  EXPECT_EQ(chart.shownRanges().y, zoomed.y);
  EXPECT_EQ(chart.zoomDepth(), 1);
}

TEST_F(ChartTest, WheelScrollsAZoomedView) {
  const QRect area = chart.plotArea();
  chart.zoomToRect(QRect(area.left() + 300, area.top() + 50, 400, 300));
  const ViewRanges zoomed = chart.shownRanges();
  QWheelEvent down(QPointF(area.center() - chart.plot()->pos()), QPointF(), QPoint(), QPoint(0, -120), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(chart.plot(), &down);
  EXPECT_NEAR(chart.shownRanges().x.lower - zoomed.x.lower, zoomed.x.size() * 0.1, 1e-9);
  QWheelEvent shiftUp(QPointF(area.center() - chart.plot()->pos()), QPointF(), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::ShiftModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(chart.plot(), &shiftUp);
  EXPECT_NEAR(chart.shownRanges().y.lower - zoomed.y.lower, zoomed.y.size() * 0.1, 1e-9);
}

// --- blocks ---

namespace {

void decorate(Chart& chart) {
  chart.reset(0, {35, 125}, {at(10, 0, 0), at(10, 10, 0)});
  for (int i = 0; i < 600; ++i) {
    chart.setPointCount(i + 1);
    chart.setX(i, at(10, 0, 0) + datetime::fromSeconds(i));
    chart.setY(i, 55.0f + 0.1f * static_cast<float>(i % 200));
  }
  chart.setCursorLinePosition(kCursorA, at(10, 2, 0));
  chart.setCursorLineText(kCursorA, QStringLiteral("|t10:02:00\n57.0dB"));
  chart.setCursorLinePosition(kCursorB, at(10, 8, 0));
  chart.setCursorLineText(kCursorB, QStringLiteral("|t10:08:00\n63.0dB"));
  chart.setCursorLinesVisible(false);
  chart.setAnnotation(5, {AnnotationKind::Cross, at(10, 3, 0), 70, {}});
  chart.setAnnotation(6, {AnnotationKind::None, at(10, 4, 0), 72, QStringLiteral("porte")});
  ChartLook look;
  look.mainTitle = QStringLiteral("Atelier");
  look.yAxisLabel = QStringLiteral("dB");
  look.graphBackColor = QColor(20, 20, 60);
  look.gridStyle = GridStyle::Solid;
  look.lineWidth = 2;
  chart.setLook(look);
}

}  // namespace

TEST_F(ChartTest, StateBlockRoundTripIntoAFreshChart) {
  decorate(chart);
  const QByteArray block = chart.storeState();
  Chart fresh;
  fresh.resize(800, 500);
  ASSERT_TRUE(fresh.loadState(block));
  EXPECT_EQ(fresh.pointCount(), 600);
  EXPECT_TRUE(std::equal(chart.xValues().begin(), chart.xValues().end(), fresh.xValues().begin(), fresh.xValues().end()));
  EXPECT_TRUE(std::equal(chart.yValues().begin(), chart.yValues().end(), fresh.yValues().begin(), fresh.yValues().end()));
  EXPECT_EQ(fresh.xRange(), chart.xRange());
  EXPECT_EQ(fresh.yRange(), chart.yRange());
  EXPECT_EQ(fresh.shownRanges(), chart.shownRanges());
  EXPECT_EQ(fresh.annotations(), chart.annotations());
  EXPECT_EQ(fresh.cursorLine(kCursorA), chart.cursorLine(kCursorA));
  EXPECT_EQ(fresh.cursorLine(kCursorB), chart.cursorLine(kCursorB));
  EXPECT_FALSE(fresh.cursorLinesVisible());
  EXPECT_EQ(fresh.look(), chart.look());
  EXPECT_EQ(fresh.storeState(), block);
  fresh.redrawNow();
  EXPECT_EQ(fresh.plot()->graph(0)->data()->size(), 600);
  EXPECT_EQ(fresh.plot()->yAxis->label(), QStringLiteral("dB"));
}

TEST_F(ChartTest, SettingsBlockAppliesOnlyTheLook) {
  decorate(chart);
  Chart other;
  other.reset(3, {30, 130}, kTwoHours);
  other.setX(0, at(11, 0, 0));
  other.setY(0, 61.5f);
  other.setAnnotation(8, {AnnotationKind::Cross, at(11, 0, 0), 61.5, {}});
  const QByteArray before = other.storeState();
  ASSERT_TRUE(other.loadSettings(chart.storeSettings()));
  EXPECT_EQ(other.look(), chart.look());
  EXPECT_EQ(other.pointCount(), 3);
  EXPECT_EQ(other.x(0), at(11, 0, 0));
  EXPECT_EQ(other.y(0), 61.5f);
  EXPECT_EQ(other.xRange(), kTwoHours);
  EXPECT_EQ(other.annotation(8).kind, AnnotationKind::Cross);
  EXPECT_TRUE(other.cursorLinesVisible());
  EXPECT_NE(other.storeState(), before);  // the look did change
}

TEST_F(ChartTest, BadBlocksAreRefusedAndChangeNothing) {
  decorate(chart);
  const QByteArray good = chart.storeState();
  const QByteArray settings = chart.storeSettings();
  const auto unchanged = [&] {
    EXPECT_EQ(chart.storeState(), good);
    EXPECT_EQ(chart.shownRanges(), (ViewRanges{{at(10, 0, 0), at(10, 10, 0)}, {35, 125}}));
  };
  for (qsizetype size : {qsizetype(0), qsizetype(4), qsizetype(8), good.size() / 2, good.size() - 1}) {
    EXPECT_FALSE(chart.loadState(good.left(size))) << size;
    unchanged();
  }
  EXPECT_FALSE(chart.loadState(settings));
  EXPECT_FALSE(chart.loadSettings(good));
  EXPECT_FALSE(chart.loadSettings(settings.left(settings.size() - 1)));
  unchanged();
  std::mt19937 random(5);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int round = 0; round < 200; ++round) {
    QByteArray noise = good.left(8);
    const int size = 8 + round * 7;
    while (noise.size() < size) noise.append(static_cast<char>(byte(random)));
    EXPECT_FALSE(chart.loadState(noise));
    EXPECT_FALSE(chart.loadSettings(noise));
  }
  unchanged();
}

// --- look ---

TEST_F(ChartTest, BuiltInLookKeepsTheLevelAxisLabel) {
  EXPECT_EQ(chart.look().yAxisLabel, QStringLiteral("Y Axis #1"));
  chart.setYAxisLabel(QStringLiteral("dB"));
  ChartLook odd;
  odd.subsetColor = QColor(1, 2, 3);
  odd.xAxisLabel = QStringLiteral("Heure");
  chart.setLook(odd);
  chart.setCursorLinesVisible(false);
  chart.setPointer(Chart::Pointer::Cross);
  chart.applyBuiltInLook();
  ChartLook expected;
  expected.yAxisLabel = QStringLiteral("Y Axis #1");  // odd's, kept
  EXPECT_EQ(chart.look(), expected);
  EXPECT_TRUE(chart.cursorLinesVisible());
  EXPECT_EQ(chart.pointer(), Chart::Pointer::Arrow);
}

TEST_F(ChartTest, BuiltInLookIsDrawn) {
  fill(200);
  const QImage image = picture();
  const QRect area = chart.plotArea();
  // Desk silver outside, black inside the plot, the series in yellow.
  EXPECT_EQ(image.pixelColor(5, 5), QColor(192, 192, 192));
  EXPECT_TRUE(colourNear(image, area.topLeft() + QPoint(area.width() - 20, 20), QColor(0, 0, 0), 0));
  EXPECT_TRUE(colourNear(image, chart.dataToPixel(chart.x(100), chart.y(100)), QColor(255, 255, 0), 2));
  EXPECT_EQ(chart.plot()->xAxis->label(), QStringLiteral("Time"));
  EXPECT_EQ(chart.plot()->yAxis->tickLabelColor(), QColor(255, 0, 0));
  EXPECT_EQ(chart.plot()->xAxis->grid()->pen().style(), Qt::DotLine);
  EXPECT_EQ(chart.plot()->xAxis->grid()->pen().color(), QColor(0, 128, 0));
}

TEST_F(ChartTest, TimeTicksShowTheWallClock) {
  chart.redrawNow();
  const QVector<QString> labels = chart.plot()->xAxis->tickVectorLabels();
  ASSERT_FALSE(labels.isEmpty());
  EXPECT_TRUE(labels.contains(QStringLiteral("11:00"))) << labels.join(' ').toStdString();
  EXPECT_EQ(labels.count(QStringLiteral("10:30")) + labels.count(QStringLiteral("11:30")), 2);
  // The first tick also names the date, in the short format with the century.
  EXPECT_TRUE(labels.first().endsWith(QStringLiteral("\n3/1/2024"))) << labels.first().toStdString();
  for (const QString& label : labels) {
    const QTime time = QTime::fromString(label.section(QLatin1Char('\n'), 0, 0), QStringLiteral("hh:mm"));
    ASSERT_TRUE(time.isValid()) << label.toStdString();
    EXPECT_GE(time, QTime(10, 0));
    EXPECT_LE(time, QTime(12, 0));
  }
}

TEST_F(ChartTest, CustomizeAppliesTheLookOnOk) {
  QSignalSpy customized(&chart, &Chart::customized);
  Chart::setColorPicker([](const QColor&, const QString&) { return QColor(10, 100, 200); });
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<ChartCustomizeDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    dialog->findChild<QLineEdit*>(QStringLiteral("edtMainTitle"))->setText(QStringLiteral("Survey"));
    dialog->findChild<QPushButton*>(QStringLiteral("btnSubsetColor"))->click();
    dialog->accept();
  });
  EXPECT_TRUE(chart.customize());
  Chart::setColorPicker({});
  EXPECT_EQ(customized.count(), 1);
  EXPECT_EQ(chart.look().mainTitle, QStringLiteral("Survey"));
  EXPECT_EQ(chart.look().subsetColor, QColor(10, 100, 200));
  EXPECT_EQ(chart.look().graphBackColor, QColor(0, 0, 0));
  EXPECT_EQ(chart.plot()->graph(0)->pen().color(), QColor(10, 100, 200));
}

TEST_F(ChartTest, CustomizeCancelledChangesNothing) {
  QSignalSpy customized(&chart, &Chart::customized);
  const ChartLook before = chart.look();
  Chart::setColorPicker([](const QColor&, const QString&) { return QColor(10, 100, 200); });
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<ChartCustomizeDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    dialog->findChild<QLineEdit*>(QStringLiteral("edtMainTitle"))->setText(QStringLiteral("Survey"));
    dialog->findChild<QPushButton*>(QStringLiteral("btnDeskColor"))->click();
    dialog->reject();
  });
  EXPECT_FALSE(chart.customize());
  Chart::setColorPicker({});
  EXPECT_EQ(customized.count(), 0);
  EXPECT_EQ(chart.look(), before);
}

TEST(ChartCustomizeDialog, ShowsAndReturnsTheLook) {
  ChartLook look;
  look.mainTitle = QStringLiteral("A");
  look.gridStyle = GridStyle::Hidden;
  look.lineWidth = 4;
  ChartCustomizeDialog dialog(look);
  EXPECT_EQ(dialog.look(), look);
  EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("btnYAxisColor"))->text(), QStringLiteral("#FF0000"));
}

// --- pointer ---

TEST(ChartPointer, CrossIsDrawnWithItsBarsCrossingAt15) {
  const QImage image = Chart::crossPointerPixmap().toImage();
  ASSERT_EQ(image.size(), QSize(32, 32));
  EXPECT_EQ(image.pixelColor(15, 15), QColor(Qt::black));
  EXPECT_EQ(image.pixelColor(8, 8), QColor(Qt::black));
  EXPECT_EQ(image.pixelColor(22, 8), QColor(Qt::black));
  EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0);
  EXPECT_EQ(image.pixelColor(15, 4).alpha(), 0);
  EXPECT_EQ(image.pixelColor(31, 31).alpha(), 0);
  EXPECT_EQ(Chart::crossCursor().hotSpot(), QPoint(0, 0));
}

TEST_F(ChartTest, PointerFollowsTheMode) {
  chart.setPointer(Chart::Pointer::Text);
  EXPECT_EQ(chart.plot()->cursor().shape(), Qt::IBeamCursor);
  chart.setPointer(Chart::Pointer::Cross);
  EXPECT_EQ(chart.plot()->cursor().shape(), Qt::BitmapCursor);
  EXPECT_EQ(chart.plot()->cursor().hotSpot(), QPoint(0, 0));
  chart.setPointer(Chart::Pointer::Arrow);
  EXPECT_EQ(chart.plot()->cursor().shape(), Qt::ArrowCursor);
}

// --- the picture a user sees ---

TEST_F(ChartTest, TwoHourRecordingWithMarks) {
  // Two hours of one-second levels between 50 and 80 dB.
  const int count = 7200;
  chart.reset(count, {30, 130}, kTwoHours);
  chart.setYAxisLabel(QStringLiteral("dB"));
  std::vector<TDateTime> times(count);
  std::vector<float> levels(count);
  std::mt19937 random(7);
  std::normal_distribution<float> noise(0, 2.5f);
  for (int i = 0; i < count; ++i) {
    times[i] = at(10, 0, 0) + datetime::fromSeconds(i);
    // Traffic rising and falling, a vehicle passing every half hour.
    const float traffic = 61.0f + 5.0f * std::sin(static_cast<float>(i) / 1100.0f);
    const int sincePass = i % 1800 - 1700;
    const float pass = sincePass >= 0 ? 12.0f * std::exp(-std::pow((sincePass - 30) / 20.0f, 2.0f)) : 0.0f;
    levels[i] = std::clamp(traffic + pass + noise(random), 50.0f, 80.0f);
  }
  chart.setXValues(times);
  chart.setYValues(levels);
  const int a = count / 3;
  const int b = 2 * count / 3;
  const auto label = [&](int i) {
    return QStringLiteral("|t") + datetime::toQDateTime(times[i]).time().toString(QStringLiteral("hh:mm:ss")) +
           QStringLiteral("\n") + QString::number(levels[i], 'f', 1) + QStringLiteral("dB");
  };
  chart.setCursorLinePosition(kCursorA, times[a]);
  chart.setCursorLineText(kCursorA, label(a));
  chart.setCursorLinePosition(kCursorB, times[b]);
  chart.setCursorLineText(kCursorB, label(b));
  chart.setAnnotation(5, {AnnotationKind::Cross, times[1730], 88, {}});
  chart.setAnnotation(6, {AnnotationKind::None, times[5500], 95, QStringLiteral("Lorry passing")});
  chart.setAnnotation(7, {AnnotationKind::Cross, times[5480], 92, {}});
  const QImage image = picture();
  if (const QByteArray path = qgetenv("ML472_CHART_PNG"); !path.isEmpty()) image.save(QString::fromLocal8Bit(path));

  EXPECT_TRUE(colourNear(image, chart.dataToPixel(times[a], 110), QColor(0, 0, 255), 1));
  EXPECT_TRUE(colourNear(image, chart.dataToPixel(times[b], 110), QColor(255, 0, 0), 1));
  EXPECT_TRUE(colourNear(image, chart.dataToPixel(times[1730], 88) + QPointF(3, 3), QColor(255, 255, 255), 1));
  EXPECT_TRUE(colourNear(image, chart.dataToPixel(times[3000], levels[3000]), QColor(255, 255, 0), 2));
  EXPECT_EQ(chart.plot()->graph(0)->data()->size(), count);
}

TEST_F(ChartTest, ShortTimeSpansNeverRepeatATickLabel) {
  // A recording's first seconds: the ticks must not fall between whole seconds,
  // whose labels would read the same.
  for (double seconds : {2.0, 4.0, 7.0, 12.0}) {
    chart.setXRange(at(10, 0, 0), at(10, 0, 0) + datetime::fromSeconds(seconds));
    chart.redrawNow();
    const QVector<QString> labels = chart.plot()->xAxis->tickVectorLabels();
    ASSERT_FALSE(labels.isEmpty()) << seconds;
    QStringList firstLines;
    for (const QString& label : labels) firstLines << label.section('\n', 0, 0);
    EXPECT_EQ(firstLines.removeDuplicates(), 0) << seconds << ": " << firstLines.join(' ').toStdString();
  }
}
