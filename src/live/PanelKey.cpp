#include "live/PanelKey.h"

#include <QMouseEvent>
#include <QPainter>

PanelKey::PanelKey(QWidget* parent) : QWidget(parent) {
  setCursor(Qt::PointingHandCursor);
  setAttribute(Qt::WA_Hover);
}

void PanelKey::setGlyph(const QPixmap& glyph) {
  glyph_ = glyph;
  update();
}

void PanelKey::mousePressEvent(QMouseEvent* event) {
  event->accept();
  down_ = true;
  update();
  emit pressed();
}

void PanelKey::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  const bool wasDown = down_;
  down_ = false;
  update();
  emit released();
  if (wasDown && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
}

void PanelKey::enterEvent(QEnterEvent* event) {
  hovered_ = true;
  if (hoverHighlight_) update();
  QWidget::enterEvent(event);
}

void PanelKey::leaveEvent(QEvent* event) {
  hovered_ = false;
  if (hoverHighlight_) update();
  QWidget::leaveEvent(event);
}

void PanelKey::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF area = QRectF(rect()).adjusted(1.5, 1, -1.5, -2);
  if (hoverHighlight_ && (hovered_ || down_)) {
    p.setPen(Qt::NoPen);
    p.setBrush(down_ ? QColor(0, 0, 0, 90) : QColor(255, 255, 255, 40));
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
  } else if (down_) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawRoundedRect(area, 6, 6);
  }
  if (!glyph_.isNull()) p.drawPixmap(QPointF(0, down_ ? 0.5 : 0), glyph_);
}
