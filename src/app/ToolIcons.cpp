#include "app/ToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

void draw(QPainter& p, ToolIcon which, bool enabled) {
  const QColor ink = enabled ? QColor(40, 44, 52) : QColor(150, 150, 150);
  auto tint = [enabled](QColor c) { return enabled ? c : QColor(200, 200, 200); };
  p.setPen(QPen(ink, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  switch (which) {
    case ToolIcon::Open: {
      p.setBrush(tint(QColor(240, 200, 90)));
      QPainterPath back;
      back.moveTo(3, 7);
      back.lineTo(9, 7);
      back.lineTo(11, 9);
      back.lineTo(20, 9);
      back.lineTo(20, 19);
      back.lineTo(3, 19);
      back.closeSubpath();
      p.drawPath(back);
      p.setBrush(tint(QColor(250, 222, 130)));
      QPainterPath front;
      front.moveTo(3, 19);
      front.lineTo(6, 12);
      front.lineTo(22, 12);
      front.lineTo(20, 19);
      front.closeSubpath();
      p.drawPath(front);
      break;
    }
    case ToolIcon::Save:
      p.setBrush(tint(QColor(70, 110, 180)));
      p.drawRoundedRect(QRectF(3.5, 3.5, 17, 17), 2, 2);
      p.setBrush(tint(QColor(235, 238, 245)));
      p.drawRect(QRectF(7, 3.5, 10, 6));
      p.drawRect(QRectF(6.5, 13, 11, 7.5));
      break;
    case ToolIcon::Print:
      p.setBrush(Qt::white);
      p.drawRect(QRectF(7, 3.5, 10, 6));
      p.setBrush(tint(QColor(120, 126, 136)));
      p.drawRoundedRect(QRectF(3.5, 9, 17, 8), 2, 2);
      p.setBrush(Qt::white);
      p.drawRect(QRectF(7, 14, 10, 7));
      p.drawLine(QPointF(9, 17), QPointF(15, 17));
      break;
    case ToolIcon::DataLogger:
      p.setBrush(tint(QColor(70, 74, 80)));
      p.drawRoundedRect(QRectF(4, 2.5, 11, 19), 2.5, 2.5);
      p.setBrush(tint(QColor(196, 208, 186)));
      p.drawRect(QRectF(6, 5, 7, 5));
      p.setPen(QPen(tint(QColor(30, 140, 60)), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.drawLine(QPointF(19, 8), QPointF(19, 19));
      p.drawLine(QPointF(15.5, 15.5), QPointF(19, 19));
      p.drawLine(QPointF(22.5, 15.5), QPointF(19, 19));
      break;
    case ToolIcon::OutputToGraph:
      p.setBrush(Qt::white);
      p.drawRect(QRectF(3.5, 3.5, 17, 17));
      p.drawLine(QPointF(3.5, 8), QPointF(20.5, 8));
      p.drawLine(QPointF(9, 3.5), QPointF(9, 20.5));
      p.setPen(QPen(tint(QColor(210, 60, 50)), 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.drawPolyline(QPolygonF({QPointF(10, 18), QPointF(13, 12), QPointF(16, 15), QPointF(19.5, 9.5)}));
      break;
    case ToolIcon::Run:
      p.setBrush(tint(QColor(40, 170, 70)));
      p.drawPolygon(QPolygonF({QPointF(7, 4), QPointF(20, 12), QPointF(7, 20)}));
      break;
    case ToolIcon::Stop:
      p.setBrush(tint(QColor(210, 50, 45)));
      p.drawRoundedRect(QRectF(5.5, 5.5, 13, 13), 2, 2);
      break;
    case ToolIcon::Help: {
      p.setBrush(tint(QColor(60, 120, 200)));
      p.drawEllipse(QRectF(3, 3, 18, 18));
      QFont font = p.font();
      font.setBold(true);
      font.setPixelSize(14);
      p.setFont(font);
      p.setPen(Qt::white);
      p.drawText(QRectF(3, 3, 18, 18), Qt::AlignCenter, "?");
      break;
    }
  }
}

QPixmap render(ToolIcon which, bool enabled, qreal ratio) {
  QPixmap pixmap(QSize(24, 24) * ratio);
  pixmap.setDevicePixelRatio(ratio);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  draw(painter, which, enabled);
  return pixmap;
}

}  // namespace

QIcon toolIcon(ToolIcon which) {
  QIcon icon;
  for (qreal ratio : {1.0, 2.0}) {
    icon.addPixmap(render(which, true, ratio), QIcon::Normal);
    icon.addPixmap(render(which, false, ratio), QIcon::Disabled);
  }
  return icon;
}
