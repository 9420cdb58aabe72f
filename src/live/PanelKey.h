#pragma once
// A click area over a key of the meter picture, or one of the panel's flat
// buttons. It draws nothing of its own beyond an optional glyph: the picture
// underneath is the key. While held down it darkens the key a little, so a click
// is seen.

#include <QPixmap>
#include <QWidget>

class PanelKey : public QWidget {
  Q_OBJECT
 public:
  explicit PanelKey(QWidget* parent = nullptr);

  void setGlyph(const QPixmap& glyph);
  // Flat buttons light up under the mouse; key areas do not.
  void setHoverHighlight(bool on) { hoverHighlight_ = on; }
  bool isDown() const { return down_; }

 signals:
  // Any mouse button.
  void pressed();
  void released();
  // Left button pressed and released over the area.
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  QPixmap glyph_;
  bool hoverHighlight_ = false;
  bool hovered_ = false;
  bool down_ = false;
};
