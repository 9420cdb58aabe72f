#pragma once
// Tslider2: a straight track with two independent thumbs holding integer values in
// one common range. The graph window uses one (Slider1) for the line cursors A
// (Value1) and B (Value2). The values are not ordered: the thumbs may cross.

#include <cstdint>

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QWidget>

// Value ↔ pixel arithmetic of the slider, free of any widget so it can be checked
// case by case. "length" is the control's extent along the track, "thumbHeight" the
// thumb's extent along it; travel = length − thumbHeight is the room a thumb moves in.
namespace slider2 {

// Offset of a thumb's leading edge from the minimum end:
// travel × (value − minimum) / (maximum − minimum), truncated toward zero.
// A range of zero (a one-point graph gives 0..0) or no travel puts the thumb at 0;
// the result always lies within 0..travel.
int thumbOffset(int length, int thumbHeight, int minimum, int maximum, int value);

// The value a drag gives: valueAtPress + (maximum − minimum) × pixelDelta / travel,
// truncated toward zero, before the slider's clamping. Without travel the thumb
// cannot be moved and the value at the press comes back. pixelDelta counts toward
// the maximum (right for a horizontal slider, up for a vertical one); a drag beyond
// the full travel counts as the full travel, which the clamping makes no different
// and which keeps the product within 64 bits for any range.
int dragValue(int valueAtPress, int minimum, int maximum, int pixelDelta, int length, int thumbHeight);

// Clamps as the property setters do: below minimum gives minimum, otherwise above
// maximum gives maximum (so with maximum < minimum every value from minimum up
// becomes maximum).
int clampValue(int value, int minimum, int maximum);

// The thumb's rectangle for a given offset in a control of the given size.
QRect horizontalThumbRect(int offset, int thumbHeight, int controlHeight);
QRect verticalThumbRect(int offset, int thumbHeight, int controlWidth, int controlHeight);

}  // namespace slider2

class Tslider2 : public QWidget {
  Q_OBJECT

 public:
  enum TSliderOrientation { slHoriz, slVertical };
  Q_ENUM(TSliderOrientation)

 private:
  Q_PROPERTY(int TrackWidth READ TrackWidth WRITE SetTrackWidth)
  Q_PROPERTY(QColor TrackColor READ TrackColor WRITE SetTrackColor)
  Q_PROPERTY(int ThumbHeight READ ThumbHeight WRITE SetThumbHeight)
  Q_PROPERTY(int ThumbWidth READ ThumbWidth WRITE SetThumbWidth)
  Q_PROPERTY(QColor ThumbColor READ ThumbColor WRITE SetThumbColor)
  Q_PROPERTY(TSliderOrientation Orientation READ Orientation WRITE SetOrientation)
  Q_PROPERTY(int Minimum READ Minimum WRITE SetMin)
  Q_PROPERTY(int Maximum READ Maximum WRITE SetMax)
  Q_PROPERTY(int Value1 READ Value1 WRITE SetValue1)
  Q_PROPERTY(int Value2 READ Value2 WRITE SetValue2)

 public:
  explicit Tslider2(QWidget* parent = nullptr);

  int TrackWidth() const { return trackWidth_; }
  QColor TrackColor() const { return trackColor_; }
  int ThumbHeight() const { return thumbHeight_; }
  int ThumbWidth() const { return thumbWidth_; }  // kept for the designer; no part of the geometry
  QColor ThumbColor() const { return thumbColor_; }
  TSliderOrientation Orientation() const { return orientation_; }
  int Minimum() const { return minimum_; }
  int Maximum() const { return maximum_; }
  int Value1() const { return value1_; }
  int Value2() const { return value2_; }

  // These repaint the whole control when the value changes.
  void SetTrackWidth(int width);
  void SetTrackColor(const QColor& color);
  void SetThumbHeight(int height);
  void SetThumbWidth(int width);
  void SetThumbColor(const QColor& color);
  void SetOrientation(TSliderOrientation orientation);

  // A new range first pulls a value that falls outside it in (raising its change
  // event), then repaints.
  void SetMin(int minimum);
  void SetMax(int maximum);
  // Clamped to the range; an unchanged value raises nothing. Programmatic settings
  // and drags raise the event alike.
  void SetValue1(int value);
  void SetValue2(int value);

  // Where each thumb is drawn for the current values and size.
  QRect thumbRect1() const;
  QRect thumbRect2() const;
  QRect trackRect() const;

  QSize sizeHint() const override { return {200, 50}; }

 signals:
  void OnValueChange1(Tslider2* sender);
  void OnValueChange2(Tslider2* sender);

 protected:
  // Schedules the repaint of both thumbs' old and new places only; the track
  // between them is left alone.
  virtual void DrawThumb();

  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  struct Drag {
    bool active = false;
    QPoint pressPosition;
    int valueAtPress = 0;
  };

  int length() const;
  QRect thumbRectFor(int value) const;
  int dragTarget(const Drag& drag, const QPoint& position) const;
  void drawThumbShape(class QPainter& painter, const QRect& rect, const QString& label) const;

  int trackWidth_ = 5;
  QColor trackColor_;
  int thumbHeight_ = 20;
  int thumbWidth_ = 8;
  QColor thumbColor_;
  TSliderOrientation orientation_ = slHoriz;
  int minimum_ = 0;
  int maximum_ = 100;
  int value1_ = 0;
  int value2_ = 100;

  bool painted_ = false;
  // Where the thumbs were last put on screen; an invalid rectangle before the first paint.
  QRect drawnRect1_;
  QRect drawnRect2_;
  Drag drag1_;
  Drag drag2_;
};
