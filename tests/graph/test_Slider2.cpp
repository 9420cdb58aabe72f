#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <ostream>
#include <string>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QTest>

#include "graph/Slider2.h"

void PrintTo(const QRect& rect, std::ostream* out) {
  *out << "QRect(" << rect.x() << ", " << rect.y() << ", " << rect.width() << ", " << rect.height() << ")";
}

namespace {

// Records which change events fire, in order, and what the slider held meanwhile.
struct EventLog {
  explicit EventLog(Tslider2& slider) {
    QObject::connect(&slider, &Tslider2::OnValueChange1, [this, &slider](Tslider2* sender) {
      text += "1";
      EXPECT_EQ(sender, &slider);
    });
    QObject::connect(&slider, &Tslider2::OnValueChange2, [this, &slider](Tslider2* sender) {
      text += "2";
      EXPECT_EQ(sender, &slider);
    });
  }
  std::string text;
};

bool sendMouse(QWidget& widget, QEvent::Type type, QPoint position, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
  QMouseEvent event(type, QPointF(position), QPointF(widget.mapToGlobal(position)), button, buttons,
                    Qt::NoModifier);
  QCoreApplication::sendEvent(&widget, &event);
  return event.isAccepted();
}
bool press(QWidget& w, QPoint p, Qt::MouseButton b = Qt::LeftButton) {
  return sendMouse(w, QEvent::MouseButtonPress, p, b, b);
}
void moveTo(QWidget& w, QPoint p, Qt::MouseButtons held = Qt::LeftButton) {
  sendMouse(w, QEvent::MouseMove, p, Qt::NoButton, held);
}
void release(QWidget& w, QPoint p, Qt::MouseButton b = Qt::LeftButton, Qt::MouseButtons still = Qt::NoButton) {
  sendMouse(w, QEvent::MouseButtonRelease, p, b, still);
}

// The graph window's slider: 505 pixels, thumbs 10 pixels, a 300-point series.
void makeCursorSlider(Tslider2& slider, int value1 = 50, int value2 = 200) {
  slider.resize(505, 20);
  slider.SetThumbHeight(10);
  slider.SetMax(299);
  slider.SetValue1(value1);
  slider.SetValue2(value2);
}

}  // namespace

TEST(Slider2Geometry, ThumbOffset) {
  const auto check = [](int length, int thumb, int minimum, int maximum, int value, int expected) {
    EXPECT_EQ(slider2::thumbOffset(length, thumb, minimum, maximum, value), expected)
        << "length " << length << " thumb " << thumb << " range " << minimum << ".." << maximum
        << " value " << value;
  };
  check(200, 20, 0, 100, 0, 0);
  check(200, 20, 0, 100, 100, 180);
  check(200, 20, 0, 100, 50, 90);
  check(505, 10, 0, 299, 299, 495);
  check(505, 10, 0, 299, 100, 165);  // 49500 / 299 = 165.55, truncated
  check(505, 10, 0, 299, 1, 1);
  check(200, 20, -50, 50, 0, 90);
  // No range (a one-point series) and no travel put the thumb at the start.
  check(505, 10, 0, 0, 0, 0);
  check(10, 10, 0, 100, 50, 0);
  check(5, 10, 0, 100, 100, 0);
  check(0, 10, 0, 0, 0, 0);
  // Maximum below Minimum (a recording with no point yet): values are 0 or -1.
  check(200, 20, 0, -1, 0, 0);
  check(200, 20, 0, -1, -1, 180);
  // The whole integer range fits without overflow.
  check(2000, 0, INT_MIN, INT_MAX, INT_MAX, 2000);
  check(2000, 0, INT_MIN, INT_MAX, 0, 1000);
  check(2000, 0, INT_MIN, INT_MAX, INT_MIN, 0);
  // Outside the range (never stored, but drawn safely): kept on the control.
  check(200, 20, 0, 100, 500, 180);
  check(200, 20, 0, 100, -500, 0);
}

TEST(Slider2Geometry, DragValue) {
  const auto check = [](int atPress, int minimum, int maximum, int delta, int length, int thumb,
                        int expected) {
    EXPECT_EQ(slider2::dragValue(atPress, minimum, maximum, delta, length, thumb), expected)
        << "from " << atPress << " range " << minimum << ".." << maximum << " by " << delta << " on "
        << length << "/" << thumb;
  };
  check(50, 0, 299, 100, 505, 10, 110);  // 29900 / 495 = 60.4
  check(50, 0, 299, -100, 505, 10, -10);  // truncated toward zero: -60, clamped later
  check(50, 0, 299, 1, 505, 10, 50);      // less than a value's worth of pixels
  check(50, 0, 299, -1, 505, 10, 50);
  check(50, 0, 299, 2, 505, 10, 51);
  check(0, 0, 299, 495, 505, 10, 299);
  check(0, 0, 0, 100, 505, 10, 0);    // no range: nothing moves
  check(5, 0, 100, 50, 10, 10, 5);    // no travel: nothing moves
  check(5, 0, 100, 50, 4, 10, 5);
  check(0, 0, 299, 1'000'000'000, 505, 10, 299);  // far past the end counts as the end
  check(INT_MIN, INT_MIN, INT_MAX, 100, 100, 0, INT_MAX);
  check(INT_MAX, INT_MIN, INT_MAX, INT_MIN, 100, 0, INT_MIN);
}

TEST(Slider2Geometry, ClampValue) {
  const auto check = [](int value, int minimum, int maximum, int expected) {
    EXPECT_EQ(slider2::clampValue(value, minimum, maximum), expected) << value << " in " << minimum << ".." << maximum;
  };
  check(-5, 0, 100, 0);
  check(150, 0, 100, 100);
  check(50, 0, 100, 50);
  check(0, 0, 0, 0);
  check(7, 0, 0, 0);
  // With Maximum below Minimum, everything from Minimum up becomes Maximum.
  check(5, 0, -1, -1);
  check(0, 0, -1, -1);
  check(-3, 0, -1, 0);
}

TEST(Slider2, DefaultsAndProperties) {
  Tslider2 slider;
  EXPECT_EQ(slider.size(), QSize(200, 50));
  EXPECT_EQ(slider.property("TrackWidth").toInt(), 5);
  EXPECT_EQ(slider.property("ThumbHeight").toInt(), 20);
  EXPECT_EQ(slider.property("ThumbWidth").toInt(), 8);
  EXPECT_EQ(slider.property("Orientation").value<Tslider2::TSliderOrientation>(), Tslider2::slHoriz);
  EXPECT_EQ(slider.property("Minimum").toInt(), 0);
  EXPECT_EQ(slider.property("Maximum").toInt(), 100);
  EXPECT_EQ(slider.property("Value1").toInt(), 0);
  EXPECT_EQ(slider.property("Value2").toInt(), 100);
  EXPECT_EQ(slider.property("TrackColor").value<QColor>(), slider.palette().color(QPalette::Button));

  // Written through the property system, as a designer or a template would.
  EXPECT_TRUE(slider.setProperty("TrackColor", QColor(Qt::yellow)));
  EXPECT_TRUE(slider.setProperty("ThumbColor", QColor(Qt::green)));
  EXPECT_TRUE(slider.setProperty("Value1", 30));
  EXPECT_EQ(slider.TrackColor(), QColor(Qt::yellow));
  EXPECT_EQ(slider.ThumbColor(), QColor(Qt::green));
  EXPECT_EQ(slider.Value1(), 30);

  // Thumbs of a new control: 0 to 20 and 180 to 200.
  slider.SetValue1(0);
  EXPECT_EQ(slider.thumbRect1(), QRect(0, 0, 20, 50));
  EXPECT_EQ(slider.thumbRect2(), QRect(180, 0, 20, 50));
  EXPECT_EQ(slider.trackRect(), QRect(0, 22, 200, 5));

  slider.SetOrientation(Tslider2::slVertical);
  slider.resize(50, 200);
  EXPECT_EQ(slider.thumbRect1(), QRect(0, 180, 50, 20));  // the minimum at the bottom
  EXPECT_EQ(slider.thumbRect2(), QRect(0, 0, 50, 20));
  EXPECT_EQ(slider.trackRect(), QRect(22, 0, 5, 200));
}

// Which change events a property setting raises, and the values it leaves.
TEST(Slider2, ChangeEvents) {
  struct Case {
    const char* name;
    std::function<void(Tslider2&)> act;
    const char* events;
    int value1;
    int value2;
  };
  const std::vector<Case> cases = {
      {"value below the minimum, already there", [](Tslider2& s) { s.SetValue1(-5); }, "", 0, 100},
      {"value below the minimum", [](Tslider2& s) { s.SetValue1(10); s.SetValue1(-5); }, "11", 0, 100},
      {"same value twice", [](Tslider2& s) { s.SetValue1(30); s.SetValue1(30); }, "1", 30, 100},
      {"above the maximum, already there", [](Tslider2& s) { s.SetValue2(150); }, "", 0, 100},
      {"value 2", [](Tslider2& s) { s.SetValue2(40); }, "2", 0, 40},
      {"maximum pulls value 2 in", [](Tslider2& s) { s.SetMax(10); }, "2", 0, 10},
      {"maximum pulls both in", [](Tslider2& s) { s.SetValue1(90); s.SetMax(10); }, "112", 10, 10},
      {"minimum pulls both in", [](Tslider2& s) { s.SetValue2(5); s.SetMin(20); }, "212", 20, 20},
      {"unchanged maximum", [](Tslider2& s) { s.SetMax(100); }, "", 0, 100},
      {"range widened", [](Tslider2& s) { s.SetMax(1000); s.SetMin(-1000); }, "", 0, 100},
      {"range of one point", [](Tslider2& s) { s.SetMax(0); s.SetValue1(0); s.SetValue2(0); }, "2", 0, 0},
      // A recording with no point: Maximum -1 below Minimum 0. The new maximum pulls
  // value 2 to the minimum (-1 clamps up to 0), then 0 clamps to the maximum -1.
      {"no point", [](Tslider2& s) { s.SetMax(-1); s.SetValue1(0); s.SetValue2(0); }, "212", -1, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Tslider2 slider;
    EventLog log(slider);
    c.act(slider);
    EXPECT_EQ(log.text, c.events);
    EXPECT_EQ(slider.Value1(), c.value1);
    EXPECT_EQ(slider.Value2(), c.value2);
  }
}

TEST(Slider2, NewRangeIsInPlaceWhenTheValueEventFires) {
  Tslider2 slider;
  int maximumSeen = 0;
  int valueSeen = 0;
  QObject::connect(&slider, &Tslider2::OnValueChange2, [&](Tslider2* sender) {
    maximumSeen = sender->Maximum();
    valueSeen = sender->Value2();
  });
  slider.SetMax(10);
  EXPECT_EQ(maximumSeen, 10);
  EXPECT_EQ(valueSeen, 10);
}

// The graph window sets 0, n-1, n div 3, 2n div 3 for every series it plots; a
// second series of the same length must fire nothing.
TEST(Slider2, PlottingSeriesOfEqualLengthFiresNothing) {
  Tslider2 slider;
  EventLog log(slider);
  const auto plot = [&slider](int n) {
    slider.SetMin(0);
    slider.SetMax(n - 1);
    slider.SetValue1(n / 3);
    slider.SetValue2(2 * n / 3);
  };
  plot(300);
  EXPECT_EQ(log.text, "12");
  EXPECT_EQ(slider.Value1(), 100);
  EXPECT_EQ(slider.Value2(), 200);
  log.text.clear();
  plot(300);
  EXPECT_EQ(log.text, "");
  plot(30);
  EXPECT_EQ(log.text, "1212");  // the new maximum 29 pulls both in, then the thirds
  EXPECT_EQ(slider.Value1(), 10);
  EXPECT_EQ(slider.Value2(), 20);
}

TEST(Slider2, DraggingAThumb) {
  Tslider2 slider;
  makeCursorSlider(slider);
  EventLog log(slider);
  const QPoint start = slider.thumbRect1().center();

  EXPECT_TRUE(press(slider, start));
  moveTo(slider, start + QPoint(100, 0));
  EXPECT_EQ(slider.Value1(), 110);
  EXPECT_EQ(slider.Value2(), 200);
  EXPECT_EQ(log.text, "1");
  // Each move counts from the press, not from the last move.
  moveTo(slider, start + QPoint(100, 7));
  EXPECT_EQ(log.text, "1");
  moveTo(slider, start + QPoint(-20, 0));
  EXPECT_EQ(slider.Value1(), 38);  // 50 + (299 × -20) / 495 = 50 - 12
  // Far outside the control the clamping holds the value in range.
  moveTo(slider, start + QPoint(5000, 0));
  EXPECT_EQ(slider.Value1(), 299);
  moveTo(slider, start + QPoint(-5000, 0));
  EXPECT_EQ(slider.Value1(), 0);
  release(slider, start);
  log.text.clear();
  moveTo(slider, start + QPoint(100, 0), Qt::NoButton);
  EXPECT_EQ(slider.Value1(), 0);
  EXPECT_EQ(log.text, "");

  // Thumb 2 by its own press.
  const QPoint start2 = slider.thumbRect2().center();
  EXPECT_TRUE(press(slider, start2));
  moveTo(slider, start2 + QPoint(-100, 0));
  EXPECT_EQ(slider.Value2(), 140);  // 200 - 60
  EXPECT_EQ(slider.Value1(), 0);
  EXPECT_EQ(log.text, "2");
  release(slider, start2);
}

TEST(Slider2, PressRules) {
  struct Case {
    const char* name;
    int value1;
    int value2;
    std::function<QPoint(const Tslider2&)> where;
    Qt::MouseButton button;
    bool accepted;      // a press on a thumb is the slider's; elsewhere it goes on
    const char* moves;  // which value a drag of 100 pixels to the right changes
  };
  const std::vector<Case> cases = {
      {"thumb 1", 50, 200, [](const Tslider2& s) { return s.thumbRect1().center(); }, Qt::LeftButton, true, "1"},
      {"thumb 2", 50, 200, [](const Tslider2& s) { return s.thumbRect2().center(); }, Qt::LeftButton, true, "2"},
      {"overlap picks thumb 1", 120, 120, [](const Tslider2& s) { return s.thumbRect1().center(); },
       Qt::LeftButton, true, "1"},
      {"left edge is inside", 50, 200, [](const Tslider2& s) { return s.thumbRect1().topLeft(); },
       Qt::LeftButton, true, "1"},
      {"right edge is outside", 50, 200,
       [](const Tslider2& s) { return s.thumbRect1().topLeft() + QPoint(s.thumbRect1().width(), 0); },
       Qt::LeftButton, false, ""},
      {"track between the thumbs", 50, 200,
       [](const Tslider2& s) { return QPoint((s.thumbRect1().right() + s.thumbRect2().left()) / 2, 10); },
       Qt::LeftButton, false, ""},
      {"right button on a thumb", 50, 200, [](const Tslider2& s) { return s.thumbRect1().center(); },
       Qt::RightButton, false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Tslider2 slider;
    makeCursorSlider(slider, c.value1, c.value2);
    EventLog log(slider);
    const QPoint at = c.where(slider);
    EXPECT_EQ(press(slider, at, c.button), c.accepted);
    moveTo(slider, at + QPoint(100, 0), c.button);
    EXPECT_EQ(log.text, c.moves);
    release(slider, at + QPoint(100, 0), c.button);
  }
}

TEST(Slider2, OnlyTheLeftButtonEndsADrag) {
  Tslider2 slider;
  makeCursorSlider(slider);
  const QPoint start = slider.thumbRect1().center();
  press(slider, start);
  sendMouse(slider, QEvent::MouseButtonPress, start, Qt::RightButton, Qt::LeftButton | Qt::RightButton);
  release(slider, start, Qt::RightButton, Qt::LeftButton);
  moveTo(slider, start + QPoint(100, 0));
  EXPECT_EQ(slider.Value1(), 110);
  release(slider, start + QPoint(100, 0));
  moveTo(slider, start + QPoint(200, 0), Qt::NoButton);
  EXPECT_EQ(slider.Value1(), 110);
}

TEST(Slider2, VerticalDragUpIncreases) {
  Tslider2 slider;
  slider.SetOrientation(Tslider2::slVertical);
  slider.resize(20, 505);
  slider.SetThumbHeight(10);
  slider.SetMax(299);
  slider.SetValue1(50);
  const QPoint start = slider.thumbRect1().center();
  EXPECT_TRUE(press(slider, start));
  moveTo(slider, start - QPoint(0, 100));
  EXPECT_EQ(slider.Value1(), 110);
  moveTo(slider, start + QPoint(0, 100));
  EXPECT_EQ(slider.Value1(), 0);  // 50 - 60, clamped
  release(slider, start);
}

// A one-point series (range 0..0) and a control no longer than its thumb divide by
// zero in the plain formulas; both must draw and drag.
TEST(Slider2, DegenerateSlidersDrawAndDrag) {
  struct Case {
    const char* name;
    QSize size;
    int maximum;
    Tslider2::TSliderOrientation orientation;
    int value1;           // after SetMax(maximum), SetValue1(0), SetValue2(maximum)
    int value1AfterDrag;  // after dragging thumb 1 by 100 pixels toward the maximum
  };
  const std::vector<Case> cases = {
      {"range 0..0", {505, 20}, 0, Tslider2::slHoriz, 0, 0},
      // Maximum below Minimum: the clamping alone decides (every value from 0 up is -1).
      {"range 0..-1", {505, 20}, -1, Tslider2::slHoriz, -1, 0},
      {"as long as the thumb", {10, 20}, 299, Tslider2::slHoriz, 0, 0},
      {"shorter than the thumb", {6, 20}, 299, Tslider2::slHoriz, 0, 0},
      {"no size", {0, 0}, 299, Tslider2::slHoriz, 0, 0},
      {"vertical, range 0..0", {20, 505}, 0, Tslider2::slVertical, 0, 0},
      {"vertical, as long as the thumb", {20, 10}, 299, Tslider2::slVertical, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Tslider2 slider;
    slider.SetOrientation(c.orientation);
    slider.resize(c.size);
    slider.SetThumbHeight(10);
    slider.SetMax(c.maximum);
    slider.SetValue1(0);
    slider.SetValue2(c.maximum);
    EXPECT_EQ(slider.Value1(), c.value1);
    if (!c.size.isEmpty()) {
      EXPECT_EQ(slider.grab().size(), c.size);
      for (const QRect& thumb : {slider.thumbRect1(), slider.thumbRect2()}) {
        EXPECT_GE(thumb.left(), 0);
        EXPECT_LE(thumb.top() + thumb.height(), c.size.height());
      }
    }
    const QPoint start = slider.thumbRect1().topLeft();
    press(slider, start);
    moveTo(slider, start + QPoint(100, -100));
    EXPECT_EQ(slider.Value1(), c.value1AfterDrag);
    release(slider, start);
  }
}

namespace {
class RecordingSlider : public Tslider2 {
 public:
  QRegion painted;
  int paints = 0;

 protected:
  void paintEvent(QPaintEvent* event) override {
    painted += event->region();
    ++paints;
    Tslider2::paintEvent(event);
  }
};
}  // namespace

TEST(Slider2, MovingAThumbRepaintsOnlyItsOldAndNewPlaces) {
  RecordingSlider slider;
  makeCursorSlider(slider);
  slider.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&slider));
  QCoreApplication::processEvents();
  ASSERT_GT(slider.paints, 0);

  const QRect old1 = slider.thumbRect1();
  const QRect thumb2 = slider.thumbRect2();
  slider.painted = QRegion();
  slider.paints = 0;
  slider.SetValue1(120);
  const QRect new1 = slider.thumbRect1();
  QCoreApplication::processEvents();

  ASSERT_GT(slider.paints, 0);
  EXPECT_EQ(slider.painted, QRegion(old1) + QRegion(new1));
  EXPECT_FALSE(slider.painted.intersects(thumb2));

  // A range change repaints everything.
  slider.painted = QRegion();
  slider.SetMax(500);
  QCoreApplication::processEvents();
  EXPECT_TRUE(slider.painted.contains(slider.rect()));
}

TEST(Slider2, DrawsTrackAndThumbsInTheirColours) {
  Tslider2 slider;
  makeCursorSlider(slider);
  slider.SetTrackColor(Qt::yellow);
  slider.SetThumbColor(Qt::green);
  const QImage image = slider.grab().toImage();
  const QRect track = slider.trackRect();
  // Inside the groove, away from its edges and from both thumbs.
  EXPECT_EQ(image.pixelColor(300, track.center().y()), QColor(Qt::yellow));
  EXPECT_NE(image.pixelColor(300, 2), QColor(Qt::yellow));
  // The pointed lower part of each thumb, below its letter.
  for (const QRect& thumb : {slider.thumbRect1(), slider.thumbRect2()}) {
    const int tipTop = thumb.bottom() + 1 - slider.height() / 3;
    EXPECT_EQ(image.pixelColor(thumb.center().x(), tipTop + 1), QColor(Qt::green)) << thumb.x();
  }
}
