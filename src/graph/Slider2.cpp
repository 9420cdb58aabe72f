#include "graph/Slider2.h"

#include <algorithm>
#include <limits>

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPolygon>

namespace slider2 {

namespace {
// The geometry treats a negative thumb extent as none, so travel never exceeds the
// control's length and the products below stay within 64 bits.
std::int64_t travelOf(int length, int thumbHeight) {
  return static_cast<std::int64_t>(length) - std::max(thumbHeight, 0);
}
}  // namespace

int thumbOffset(int length, int thumbHeight, int minimum, int maximum, int value) {
  const std::int64_t travel = travelOf(length, thumbHeight);
  const std::int64_t range = static_cast<std::int64_t>(maximum) - minimum;
  if (travel <= 0 || range == 0) return 0;
  const std::int64_t offset = travel * (static_cast<std::int64_t>(value) - minimum) / range;
  return static_cast<int>(std::clamp<std::int64_t>(offset, 0, travel));
}

int dragValue(int valueAtPress, int minimum, int maximum, int pixelDelta, int length, int thumbHeight) {
  const std::int64_t travel = travelOf(length, thumbHeight);
  if (travel <= 0) return valueAtPress;
  const std::int64_t range = static_cast<std::int64_t>(maximum) - minimum;
  const std::int64_t delta = std::clamp<std::int64_t>(pixelDelta, -travel, travel);
  const std::int64_t value = valueAtPress + range * delta / travel;
  return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

int clampValue(int value, int minimum, int maximum) {
  if (value < minimum) return minimum;
  if (value > maximum) return maximum;
  return value;
}

QRect horizontalThumbRect(int offset, int thumbHeight, int controlHeight) {
  return QRect(offset, 0, thumbHeight, controlHeight);
}

QRect verticalThumbRect(int offset, int thumbHeight, int controlWidth, int controlHeight) {
  // The minimum is at the bottom: the offset counts up from the lower edge.
  const int bottom = controlHeight - offset;
  return QRect(0, bottom - thumbHeight, controlWidth, thumbHeight);
}

}  // namespace slider2

Tslider2::Tslider2(QWidget* parent) : QWidget(parent) {
  trackColor_ = palette().color(QPalette::Button);
  thumbColor_ = palette().color(QPalette::Button);
  resize(200, 50);
}

void Tslider2::SetTrackWidth(int width) {
  if (width == trackWidth_) return;
  trackWidth_ = width;
  update();
}

void Tslider2::SetTrackColor(const QColor& color) {
  if (color == trackColor_) return;
  trackColor_ = color;
  update();
}

void Tslider2::SetThumbHeight(int height) {
  if (height == thumbHeight_) return;
  thumbHeight_ = height;
  update();
}

void Tslider2::SetThumbWidth(int width) {
  if (width == thumbWidth_) return;
  thumbWidth_ = width;
  update();
}

void Tslider2::SetThumbColor(const QColor& color) {
  if (color == thumbColor_) return;
  thumbColor_ = color;
  update();
}

void Tslider2::SetOrientation(TSliderOrientation orientation) {
  if (orientation == orientation_) return;
  orientation_ = orientation;
  update();
}

void Tslider2::SetMin(int minimum) {
  if (minimum == minimum_) return;
  minimum_ = minimum;
  if (value1_ < minimum) SetValue1(minimum);
  if (value2_ < minimum) SetValue2(minimum);
  update();
}

void Tslider2::SetMax(int maximum) {
  if (maximum == maximum_) return;
  maximum_ = maximum;
  if (value1_ > maximum) SetValue1(maximum);
  if (value2_ > maximum) SetValue2(maximum);
  update();
}

void Tslider2::SetValue1(int value) {
  const int clamped = slider2::clampValue(value, minimum_, maximum_);
  if (clamped == value1_) return;
  value1_ = clamped;
  emit OnValueChange1(this);
  if (painted_) DrawThumb();
}

void Tslider2::SetValue2(int value) {
  const int clamped = slider2::clampValue(value, minimum_, maximum_);
  if (clamped == value2_) return;
  value2_ = clamped;
  emit OnValueChange2(this);
  if (painted_) DrawThumb();
}

int Tslider2::length() const { return orientation_ == slHoriz ? width() : height(); }

QRect Tslider2::thumbRectFor(int value) const {
  const int offset = slider2::thumbOffset(length(), thumbHeight_, minimum_, maximum_, value);
  return orientation_ == slHoriz ? slider2::horizontalThumbRect(offset, thumbHeight_, height())
                                 : slider2::verticalThumbRect(offset, thumbHeight_, width(), height());
}

QRect Tslider2::thumbRect1() const { return thumbRectFor(value1_); }
QRect Tslider2::thumbRect2() const { return thumbRectFor(value2_); }

QRect Tslider2::trackRect() const {
  if (orientation_ == slHoriz) return QRect(0, (height() - trackWidth_) / 2, width(), trackWidth_);
  return QRect((width() - trackWidth_) / 2, 0, trackWidth_, height());
}

void Tslider2::DrawThumb() {
  // Qt repaints what lies under the old place (track, background, the other thumb)
  // itself, so marking the old and new rectangles of a thumb that moved is the whole
  // of the partial redraw.
  const auto move = [this](QRect& drawn, const QRect& next) {
    if (drawn == next) return;
    if (drawn.isValid()) update(drawn);
    update(next);
    drawn = next;
  };
  move(drawnRect1_, thumbRect1());
  move(drawnRect2_, thumbRect2());
}

void Tslider2::paintEvent(QPaintEvent* event) {
  painted_ = true;
  Q_UNUSED(event);  // the painter is already clipped to the part to redraw
  QPainter painter(this);

  const QColor highlight = palette().color(QPalette::Light);
  const QColor shadow = palette().color(QPalette::Dark);

  // A sunken groove: light outline, its top and left edges again in shadow.
  const QRect track = trackRect();
  if (track.width() > 0 && track.height() > 0) {
    painter.fillRect(track, trackColor_);
    painter.setPen(highlight);
    painter.drawRect(track.adjusted(0, 0, -1, -1));
    painter.setPen(shadow);
    painter.drawLine(track.topLeft(), track.topRight());
    painter.drawLine(track.topLeft(), track.bottomLeft());
  }

  drawnRect1_ = thumbRect1();
  drawnRect2_ = thumbRect2();
  // Thumb 2 goes on top where the two overlap.
  drawThumbShape(painter, drawnRect1_, QStringLiteral("A"));
  drawThumbShape(painter, drawnRect2_, QStringLiteral("B"));
}

void Tslider2::drawThumbShape(QPainter& painter, const QRect& rect, const QString& label) const {
  if (rect.width() <= 0 || rect.height() <= 0) return;
  const QColor shadow = palette().color(QPalette::Dark);
  const int l = rect.left();
  const int t = rect.top();
  const int r = rect.left() + rect.width();  // one past the right edge
  const int b = rect.top() + rect.height();  // one past the bottom edge
  const QColor thumb = isEnabled() ? thumbColor_ : palette().color(QPalette::Disabled, QPalette::Button);
  QRect labelArea;

  if (orientation_ == slHoriz) {
    // A pointer with its tip at the bottom centre, lit from the top left. The dark
    // outline keeps a pale thumb visible on a pale window.
    const int h = height() / 3;
    const int mid = (l + r) / 2;
    const QPolygon outline({QPoint(l, t), QPoint(r - 1, t), QPoint(r - 1, b - h), QPoint(mid, b - 1),
                            QPoint(l, b - h)});
    painter.setPen(shadow);
    painter.setBrush(thumb);
    painter.drawPolygon(outline);
    painter.setBrush(Qt::NoBrush);
    if (r - l >= 4 && b - h - t >= 3) {
      painter.setPen(thumb.lighter(160));
      painter.drawPolyline(QPolygon({QPoint(r - 2, t + 1), QPoint(l + 1, t + 1), QPoint(l + 1, b - h)}));
      painter.setPen(thumb.darker(150));
      painter.drawLine(QPoint(r - 2, t + 1), QPoint(r - 2, b - h));
    }
    labelArea = QRect(l + 2, t + 2, r - l - 4, b - h - t - 2);
  } else {
    // A raised block.
    painter.setPen(shadow);
    painter.setBrush(thumb);
    painter.drawRect(QRect(l, t, r - l - 1, b - t - 1));
    painter.setBrush(Qt::NoBrush);
    if (r - l >= 4 && b - t >= 4) {
      painter.setPen(thumb.lighter(160));
      painter.drawPolyline(QPolygon({QPoint(l + 1, b - 2), QPoint(l + 1, t + 1), QPoint(r - 2, t + 1)}));
      painter.setPen(thumb.darker(150));
      painter.drawPolyline(QPolygon({QPoint(l + 2, b - 2), QPoint(r - 2, b - 2), QPoint(r - 2, t + 2)}));
    }
    labelArea = QRect(l + 2, t + 2, r - l - 4, b - t - 4);
  }

  // Name the thumb after its cursor when there is room for a legible letter.
  const int letterSize = std::min({labelArea.height() + 1, labelArea.width() + 4, 11});
  if (letterSize >= 7) {
    QFont font = painter.font();
    font.setPixelSize(letterSize);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(qGray(thumb.rgb()) < 112 ? Qt::white : Qt::black);
    painter.drawText(labelArea, Qt::AlignCenter, label);
  }
}

int Tslider2::dragTarget(const Drag& drag, const QPoint& position) const {
  const int delta = orientation_ == slHoriz ? position.x() - drag.pressPosition.x()
                                            : drag.pressPosition.y() - position.y();  // up increases
  return slider2::dragValue(drag.valueAtPress, minimum_, maximum_, delta, length(), thumbHeight_);
}

void Tslider2::mousePressEvent(QMouseEvent* event) {
  const QPoint position = event->position().toPoint();
  if (event->button() == Qt::LeftButton) {
    // Thumb 1 wins where the two overlap, although thumb 2 is drawn on top.
    if (thumbRect1().contains(position)) {
      drag1_ = {true, position, value1_};
      event->accept();
      return;
    }
    if (thumbRect2().contains(position)) {
      drag2_ = {true, position, value2_};
      event->accept();
      return;
    }
  }
  QWidget::mousePressEvent(event);
}

void Tslider2::mouseMoveEvent(QMouseEvent* event) {
  const QPoint position = event->position().toPoint();
  if (drag1_.active) SetValue1(dragTarget(drag1_, position));
  if (drag2_.active) {
    SetValue2(dragTarget(drag2_, position));
    event->accept();
  } else {
    QWidget::mouseMoveEvent(event);
  }
}

void Tslider2::mouseReleaseEvent(QMouseEvent* event) {
  QWidget::mouseReleaseEvent(event);
  // Another button let go during a drag leaves the drag going.
  if (event->button() == Qt::LeftButton) {
    drag1_.active = false;
    drag2_.active = false;
  }
}
