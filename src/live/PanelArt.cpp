#include "live/PanelArt.h"

#include <cmath>

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace panelArt {

namespace {

// The palette of a moulded instrument: dark grey body, a recessed bezel, a pale
// greenish-grey liquid-crystal window with near-black segments.
const QColor kSurround = QColor::fromRgb(kSurroundRgb);
const QColor kBodyTop(0x56, 0x59, 0x5e);
const QColor kBodyMiddle(0x45, 0x48, 0x4c);
const QColor kBodyBottom(0x34, 0x36, 0x3a);
const QColor kBodyEdge(0x0b, 0x0c, 0x0d);
const QColor kBezelTop(0x2b, 0x2d, 0x31);
const QColor kBezelBottom(0x1e, 0x20, 0x23);
const QColor kGlassFrame(0x0e, 0x0f, 0x10);
const QColor kLcdTop(0xcd, 0xd6, 0xc6);
const QColor kLcdBottom(0xb5, 0xc1, 0xaf);
const QColor kSegment = QColor::fromRgb(kSegmentRgb);
const QColor kGhostSegment(0x19, 0x21, 0x1c, 16);
const QColor kPrint(0xc9, 0xcc, 0xcf);       // text printed on the body
const QColor kPrintDim(0x9a, 0x9e, 0xa3);
const QColor kKeyTop(0x70, 0x74, 0x7a);
const QColor kKeyBottom(0x4a, 0x4d, 0x52);
const QColor kKeyLabel(0xee, 0xef, 0xf0);
const QColor kRed(0xd2, 0x3b, 0x2e);

// The display window, in panel coordinates: every annunciator lies inside it.
const QRectF kLcd(30, 54, 131, 94);
const QRectF kBezel(19, 45, 152, 113);
const QRectF kKeyPlate(12, 172, 166, 186);
const QRectF kTitle(57, 31, 100, 11);

// Key caps, at the panel's click areas.
const QRectF kPowerKey(36, 194, 41, 25);
const QRectF kAcKey(108, 194, 41, 25);
const QRectF kMaxMinKey(33, 255, 48, 25);
const QRectF kFastKey(108, 255, 44, 25);
const QRectF kRecKey(33, 311, 48, 30);
const QRectF kLevelKey(105, 311, 48, 30);

QPixmap canvas(QSize size, qreal dpr) {
  if (dpr <= 0) dpr = 1;
  QPixmap pixmap(QSize(static_cast<int>(std::ceil(size.width() * dpr)), static_cast<int>(std::ceil(size.height() * dpr))));
  pixmap.setDevicePixelRatio(dpr);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

void beginPainting(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
}

QFont font(int pixelSize, int weight = QFont::Bold, bool condensed = false, qreal spacing = 0) {
  QFont f;
  f.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans"), QStringLiteral("Arial")});
  f.setStyleHint(QFont::SansSerif);
  f.setPixelSize(pixelSize);
  f.setWeight(static_cast<QFont::Weight>(weight));
  if (condensed) f.setStretch(QFont::Condensed);
  if (spacing != 0) f.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
  f.setHintingPreference(QFont::PreferNoHinting);
  return f;
}

// Text squeezed horizontally where it would not fit the box, as printed legends are.
void fittedText(QPainter& p, const QRectF& box, const QString& text, Qt::Alignment align) {
  const QFontMetricsF metrics(p.font());
  const qreal width = metrics.horizontalAdvance(text);
  if (width <= box.width()) {
    p.drawText(box, align, text);
    return;
  }
  const qreal squeeze = box.width() / width;
  p.save();
  p.translate(box.left(), 0);
  p.scale(squeeze, 1);
  p.drawText(QRectF(0, box.top(), width, box.height()), (align & ~Qt::AlignHorizontal_Mask) | Qt::AlignHCenter,
             text);
  p.restore();
}

// ------------------------------------------------------------------ body

void paintBody(QPainter& p) {
  p.fillRect(QRectF(-1, 0, 190, 469), kSurround);

  const QRectF body(1.5, 1.5, 186, 465);
  QPainterPath shell;
  shell.addRoundedRect(body, 16, 16);
  QLinearGradient shade(0, body.top(), 0, body.bottom());
  shade.setColorAt(0, kBodyTop);
  shade.setColorAt(0.35, kBodyMiddle);
  shade.setColorAt(1, kBodyBottom);
  p.fillPath(shell, shade);
  // The moulding is rounder at the edges: light from the left, shadow to the right.
  QLinearGradient sheen(body.left(), 0, body.right(), 0);
  sheen.setColorAt(0, QColor(255, 255, 255, 26));
  sheen.setColorAt(0.18, QColor(255, 255, 255, 6));
  sheen.setColorAt(0.75, QColor(0, 0, 0, 0));
  sheen.setColorAt(1, QColor(0, 0, 0, 40));
  p.fillPath(shell, sheen);
  p.setPen(QPen(kBodyEdge, 1));
  p.drawPath(shell);
  p.setPen(QPen(QColor(255, 255, 255, 30), 1));
  p.drawRoundedRect(body.adjusted(1, 1, -1, -1), 15, 15);

  // The top strip, under the minimize and close buttons: the grip of the window.
  const QRectF strip(9, 6, 172, 20);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 60));
  p.drawRoundedRect(strip, 6, 6);
  p.setPen(QPen(QColor(255, 255, 255, 22), 1));
  p.drawLine(QPointF(strip.left() + 5, strip.bottom() + 0.5), QPointF(strip.right() - 5, strip.bottom() + 0.5));
  p.setPen(kPrint);
  p.setFont(font(7, QFont::Bold, false, 1.1));
  fittedText(p, QRectF(18, 6, 102, 20), QStringLiteral("SOUND LEVEL METER"), Qt::AlignLeft | Qt::AlignVCenter);

  // Bezel around the display, sunk into the body.
  QLinearGradient bezelShade(0, kBezel.top(), 0, kBezel.bottom());
  bezelShade.setColorAt(0, kBezelTop);
  bezelShade.setColorAt(1, kBezelBottom);
  p.setPen(Qt::NoPen);
  p.setBrush(bezelShade);
  p.drawRoundedRect(kBezel, 10, 10);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(0, 0, 0, 150), 1));
  p.drawRoundedRect(kBezel.adjusted(0.5, 0.5, -0.5, -0.5), 10, 10);
  p.setPen(QPen(QColor(255, 255, 255, 34), 1));
  p.drawLine(QPointF(kBezel.left() + 9, kBezel.bottom() + 0.5), QPointF(kBezel.right() - 9, kBezel.bottom() + 0.5));

  // The glass and the liquid crystal behind it.
  p.setPen(Qt::NoPen);
  p.setBrush(kGlassFrame);
  p.drawRoundedRect(kLcd.adjusted(-3.5, -3.5, 3.5, 3.5), 5, 5);
  QLinearGradient lcdShade(0, kLcd.top(), 0, kLcd.bottom());
  lcdShade.setColorAt(0, kLcdTop);
  lcdShade.setColorAt(1, kLcdBottom);
  p.setBrush(lcdShade);
  p.drawRoundedRect(kLcd, 2.5, 2.5);
  // Inner shadow of the frame on the top and left edges.
  QLinearGradient topShadow(0, kLcd.top(), 0, kLcd.top() + 5);
  topShadow.setColorAt(0, QColor(0, 0, 0, 80));
  topShadow.setColorAt(1, QColor(0, 0, 0, 0));
  p.fillRect(QRectF(kLcd.left(), kLcd.top(), kLcd.width(), 5), topShadow);
  QLinearGradient leftShadow(kLcd.left(), 0, kLcd.left() + 4, 0);
  leftShadow.setColorAt(0, QColor(0, 0, 0, 55));
  leftShadow.setColorAt(1, QColor(0, 0, 0, 0));
  p.fillRect(QRectF(kLcd.left(), kLcd.top(), 4, kLcd.height()), leftShadow);
  // A faint reflection across the glass.
  QPainterPath glare;
  glare.moveTo(kLcd.left() + 70, kLcd.top());
  glare.lineTo(kLcd.right(), kLcd.top());
  glare.lineTo(kLcd.right(), kLcd.top() + 36);
  glare.closeSubpath();
  p.fillPath(glare, QColor(255, 255, 255, 22));

  // Unlit bar graph segments show through faintly, as on the real display.
  for (int k = 0; k <= 50; ++k) p.fillRect(QRectF(42 + 2 * k, 80, 1, k % 5 == 0 ? 8 : 5), kGhostSegment);
  // The display's fixed scale line under the bar.
  p.fillRect(QRectF(42, 88, 101, 0.8), QColor(0x19, 0x21, 0x1c, 110));

  // The recess the keys sit in.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 42));
  p.drawRoundedRect(kKeyPlate, 11, 11);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(0, 0, 0, 90), 1));
  p.drawRoundedRect(kKeyPlate.adjusted(0.5, 0.5, -0.5, -0.5), 11, 11);
  p.setPen(QPen(QColor(255, 255, 255, 24), 1));
  p.drawLine(QPointF(kKeyPlate.left() + 10, kKeyPlate.bottom() + 0.5),
             QPointF(kKeyPlate.right() - 10, kKeyPlate.bottom() + 0.5));
}

// ------------------------------------------------------------------ keys

enum class KeyTint { Grey, Red };

void paintKeyCap(QPainter& p, const QRectF& area, KeyTint tint) {
  const QRectF cap = area.adjusted(1.5, 1, -1.5, -2);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 120));
  p.drawRoundedRect(cap.translated(0, 1.6), 6, 6);
  QLinearGradient shade(0, cap.top(), 0, cap.bottom());
  if (tint == KeyTint::Red) {
    shade.setColorAt(0, QColor(0xb8, 0x45, 0x3b));
    shade.setColorAt(1, QColor(0x7e, 0x26, 0x20));
  } else {
    shade.setColorAt(0, kKeyTop);
    shade.setColorAt(1, kKeyBottom);
  }
  p.setBrush(shade);
  p.setPen(QPen(QColor(0x15, 0x16, 0x18), 1));
  p.drawRoundedRect(cap, 6, 6);
  // Highlight along the top of the cap.
  p.setPen(QPen(QColor(255, 255, 255, tint == KeyTint::Red ? 70 : 60), 1));
  p.drawLine(QPointF(cap.left() + 5, cap.top() + 1.5), QPointF(cap.right() - 5, cap.top() + 1.5));
}

void paintKeyLabel(QPainter& p, const QRectF& area, const QString& text, int pixelSize = 8) {
  p.setPen(kKeyLabel);
  p.setFont(font(pixelSize, QFont::Bold, true));
  fittedText(p, area.adjusted(4, 0, -4, -1), text, Qt::AlignCenter);
}

void paintPowerKey(QPainter& p) {
  paintKeyCap(p, kPowerKey, KeyTint::Red);
  const QPointF c = kPowerKey.center() - QPointF(0, 0.5);
  p.setPen(QPen(kKeyLabel, 1.6, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  const qreal r = 5;
  p.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), 125 * 16, 290 * 16);
  p.drawLine(QPointF(c.x(), c.y() - r - 1), QPointF(c.x(), c.y() - 0.5));
}

void paintTriangle(QPainter& p, QPointF centre, bool up) {
  QPainterPath t;
  const qreal h = up ? -3.2 : 3.2;
  t.moveTo(centre.x() - 3.6, centre.y() - h / 2);
  t.lineTo(centre.x() + 3.6, centre.y() - h / 2);
  t.lineTo(centre.x(), centre.y() + h / 2);
  t.closeSubpath();
  p.fillPath(t, kKeyLabel);
}

void paintUpperKeys(QPainter& p) {
  paintPowerKey(p);
  paintKeyCap(p, kAcKey, KeyTint::Grey);
  paintKeyLabel(p, kAcKey, QStringLiteral("A/C"), 9);
  paintKeyCap(p, kMaxMinKey, KeyTint::Grey);
  paintKeyLabel(p, kMaxMinKey, QStringLiteral("MAX/MIN"));
  paintKeyCap(p, kFastKey, KeyTint::Grey);
  paintKeyLabel(p, kFastKey, QStringLiteral("FAST/SLOW"));
}

void paintNameplate(QPainter& p, const QString& model, const QString& line) {
  const QRectF plate(30, 414, 130, 40);
  p.setPen(kPrint);
  p.setFont(font(17, QFont::Black, false, 1.0));
  p.drawText(QRectF(plate.left(), plate.top(), plate.width(), 22), Qt::AlignCenter, model);
  p.fillRect(QRectF(plate.left() + 30, plate.top() + 23, plate.width() - 60, 1.2), kRed);
  p.setPen(kPrintDim);
  p.setFont(font(7, QFont::Bold, false, 0.8));
  fittedText(p, QRectF(plate.left(), plate.top() + 26, plate.width(), 11), line, Qt::AlignCenter);
}

void paintRangeLegend(QPainter& p) {
  const QRectF box(30, 360, 130, 44);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(0xc9, 0xcc, 0xcf, 90), 1));
  p.drawRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
  p.setPen(kPrintDim);
  p.setFont(font(7, QFont::Bold, false, 1.0));
  p.drawText(QRectF(box.left(), box.top() + 2, box.width(), 10), Qt::AlignCenter, QStringLiteral("RANGE  dB"));
  p.setPen(QPen(QColor(0xc9, 0xcc, 0xcf, 60), 1));
  p.drawLine(QPointF(box.left() + 8, box.top() + 13.5), QPointF(box.right() - 8, box.top() + 13.5));
  struct Entry {
    const char* name;
    const char* span;
  };
  const Entry entries[4] = {{"Lo", "30-80"}, {"Med", "50-100"}, {"Hi", "80-130"}, {"Auto", "30-130"}};
  for (int i = 0; i < 4; ++i) {
    const qreal x = box.left() + 6 + (i % 2) * 62;
    const qreal y = box.top() + 16 + (i / 2) * 13;
    p.setPen(kPrint);
    p.setFont(font(8, QFont::Bold, true));
    p.drawText(QRectF(x, y, 24, 12), Qt::AlignLeft | Qt::AlignVCenter, QString::fromLatin1(entries[i].name));
    p.setFont(font(8, QFont::Normal, true));
    p.drawText(QRectF(x + 24, y, 36, 12), Qt::AlignLeft | Qt::AlignVCenter, QString::fromLatin1(entries[i].span));
  }
}

// The lower part of the data-logging model: REC and LEVEL keys, legend, name.
void paintLower472(QPainter& p) {
  paintKeyCap(p, kRecKey, KeyTint::Grey);
  p.setPen(Qt::NoPen);
  p.setBrush(kRed);
  p.drawEllipse(QPointF(kRecKey.left() + 12, kRecKey.center().y() - 0.5), 3, 3);
  paintKeyLabel(p, kRecKey.adjusted(12, 0, 0, 0), QStringLiteral("REC"), 9);
  paintKeyCap(p, kLevelKey, KeyTint::Grey);
  paintKeyLabel(p, kLevelKey, QStringLiteral("LEVEL"), 9);
  paintRangeLegend(p);
  paintNameplate(p, QStringLiteral("ML472"), QStringLiteral("SOUND LEVEL METER \u00b7 DATA LOGGER"));
}

// The 471: two LEVEL keys, up in the REC place, down in the LEVEL place.
void paintLower471(QPainter& p) {
  paintKeyCap(p, kRecKey, KeyTint::Grey);
  paintTriangle(p, QPointF(kRecKey.left() + 11, kRecKey.center().y() - 0.5), true);
  paintKeyLabel(p, kRecKey.adjusted(10, 0, 0, 0), QStringLiteral("LEVEL"), 8);
  paintKeyCap(p, kLevelKey, KeyTint::Grey);
  paintTriangle(p, QPointF(kLevelKey.left() + 11, kLevelKey.center().y() - 0.5), false);
  paintKeyLabel(p, kLevelKey.adjusted(10, 0, 0, 0), QStringLiteral("LEVEL"), 8);
  paintRangeLegend(p);
  paintNameplate(p, QStringLiteral("ML471"), QStringLiteral("SOUND LEVEL METER"));
}

void paintTitle(QPainter& p) {
  p.setPen(kPrint);
  p.setFont(font(8, QFont::Bold, false, 1.6));
  p.drawText(kTitle, Qt::AlignCenter, QStringLiteral("DATA LOGGER"));
  p.fillRect(QRectF(kTitle.left() + 2, kTitle.center().y(), 9, 1), kRed);
  p.fillRect(QRectF(kTitle.right() - 11, kTitle.center().y(), 9, 1), kRed);
}

// A part laid over imgPanel at `at`: the same background, then its own content.
template <typename Content>
QPixmap overlay(QSize size, QPoint at, qreal dpr, Content content) {
  QPixmap pixmap = canvas(size, dpr);
  QPainter p(&pixmap);
  beginPainting(p);
  p.setClipRect(QRect(QPoint(0, 0), size));
  p.translate(-at.x(), -at.y());
  paintBody(p);
  content(p);
  return pixmap;
}

// ------------------------------------------------------------------ digits

enum Segment { A = 1, B = 2, C = 4, D = 8, E = 16, F = 32, G = 64 };

constexpr int kDigitSegments[16] = {
    A | B | C | D | E | F,      // 0
    B | C,                      // 1
    A | B | G | E | D,          // 2
    A | B | G | C | D,          // 3
    F | G | B | C,              // 4
    A | F | G | C | D,          // 5
    A | F | G | E | D | C,      // 6
    A | B | C,                  // 7
    A | B | C | D | E | F | G,  // 8
    A | B | C | D | F | G,      // 9
    0,                          // blank
    G,                          // dash
    G,                          // dash
    F | E | D,                  // L
    A | F | G | E | D,          // E
    E | G,                      // r
};

// One segment as a hexagon with pointed ends from p1 to p2, shortened by gap at
// both ends so that neighbouring segments stay apart.
QPolygonF segmentShape(QPointF p1, QPointF p2, qreal thickness, qreal gap) {
  const QPointF along = p2 - p1;
  const qreal length = std::hypot(along.x(), along.y());
  const QPointF d = along / length;
  const QPointF n(-d.y(), d.x());
  const qreal h = thickness / 2;
  const QPointF s = p1 + d * gap;
  const QPointF e = p2 - d * gap;
  return QPolygonF({s, s + d * h + n * h, e - d * h + n * h, e, e - d * h - n * h, s + d * h - n * h});
}

}  // namespace

QPixmap meterFront(qreal devicePixelRatio) {
  QPixmap pixmap = canvas(kFrontSize, devicePixelRatio);
  QPainter p(&pixmap);
  beginPainting(p);
  p.translate(-kFrontAt.x(), -kFrontAt.y());
  paintBody(p);
  paintTitle(p);
  paintUpperKeys(p);
  paintLower472(p);
  return pixmap;
}

QPixmap bottom471(qreal devicePixelRatio) {
  return overlay(kBottom471Size, kBottom471At, devicePixelRatio, paintLower471);
}

QPixmap titleMask(qreal devicePixelRatio) {
  return overlay(kTitleMaskSize, kTitleMaskAt, devicePixelRatio, [](QPainter&) {});
}

QPixmap decimalPoint(qreal devicePixelRatio) {
  QPixmap pixmap = canvas(kPointSize, devicePixelRatio);
  QPainter p(&pixmap);
  beginPainting(p);
  p.setPen(Qt::NoPen);
  p.setBrush(kSegment);
  p.drawRoundedRect(QRectF(1, 1.5, 3, 3), 0.8, 0.8);
  return pixmap;
}

QPixmap barScale(qreal devicePixelRatio) {
  QPixmap pixmap = canvas(kBarScaleSize, devicePixelRatio);
  QPainter p(&pixmap);
  // One segment per dB step on the even columns, so a width of 2x + 1 ends on a
  // whole segment; every tenth column a longer tick.
  for (int k = 0; k <= 50; ++k) p.fillRect(QRectF(2 * k, 0, 1, k % 5 == 0 ? 8 : 5), kSegment);
  return pixmap;
}

namespace {
QPixmap markText(QSize size, qreal dpr, const QString& text) {
  QPixmap pixmap = canvas(size, dpr);
  QPainter p(&pixmap);
  beginPainting(p);
  p.setPen(kSegment);
  p.setFont(font(8, QFont::Bold, true));
  fittedText(p, QRectF(QPointF(0, -1), QSizeF(size) + QSizeF(0, 2)), text, Qt::AlignCenter);
  return pixmap;
}
}  // namespace

QPixmap underMark(qreal devicePixelRatio) { return markText(kRangeMarkSize, devicePixelRatio, QStringLiteral("UNDER")); }

QPixmap overMark(qreal devicePixelRatio) { return markText(kRangeMarkSize, devicePixelRatio, QStringLiteral("OVER")); }

QPixmap batteryMark(qreal devicePixelRatio) {
  QPixmap pixmap = canvas(kBatterySize, devicePixelRatio);
  QPainter p(&pixmap);
  beginPainting(p);
  p.setPen(QPen(kSegment, 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(0.5, 0.5, 7, 5));
  p.setPen(Qt::NoPen);
  p.setBrush(kSegment);
  p.drawRect(QRectF(8, 1.5, 1, 3));
  p.drawRect(QRectF(2, 2, 1.6, 2));
  return pixmap;
}

QPixmap autoOffMark(qreal devicePixelRatio) {
  QPixmap pixmap = canvas(kAutoOffSize, devicePixelRatio);
  QPainter p(&pixmap);
  beginPainting(p);
  p.setPen(QPen(kSegment, 1, Qt::SolidLine, Qt::RoundCap));
  p.drawArc(QRectF(0.8, 0.8, 5.4, 5.4), 125 * 16, 290 * 16);
  p.drawLine(QPointF(3.5, 0.3), QPointF(3.5, 3.2));
  return pixmap;
}

QPixmap minimizeGlyph(qreal devicePixelRatio) {
  QPixmap pixmap = canvas(kFlatButtonSize, devicePixelRatio);
  QPainter p(&pixmap);
  beginPainting(p);
  p.setPen(QPen(kPrint, 1.6, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(4.5, 9.5), QPointF(11.5, 9.5));
  return pixmap;
}

QPixmap closeGlyph(qreal devicePixelRatio) {
  QPixmap pixmap = canvas(kFlatButtonSize, devicePixelRatio);
  QPainter p(&pixmap);
  beginPainting(p);
  p.setPen(QPen(kPrint, 1.6, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(4.8, 3.8), QPointF(11.2, 10.2));
  p.drawLine(QPointF(11.2, 3.8), QPointF(4.8, 10.2));
  return pixmap;
}

QPixmap lcdDigit(int index, qreal devicePixelRatio) {
  QPixmap pixmap = canvas(kDigitSize, devicePixelRatio);
  QPainter p(&pixmap);
  beginPainting(p);
  // The segments lean forward like the meter's: the top is 2.5 px to the right of the bottom.
  const qreal lean = 2.5 / kDigitSize.height();
  p.setTransform(QTransform(1, 0, -lean, 1, 2.5, 0));

  const qreal left = 1.9, right = 12.5, top = 1.8, middle = 14, bottom = 26.2;
  const qreal thickness = 2.7, gap = 0.45;
  const std::pair<QPointF, QPointF> ends[7] = {
      {{left, top}, {right, top}},        // A
      {{right, top}, {right, middle}},    // B
      {{right, middle}, {right, bottom}}, // C
      {{left, bottom}, {right, bottom}},  // D
      {{left, middle}, {left, bottom}},   // E
      {{left, top}, {left, middle}},      // F
      {{left, middle}, {right, middle}},  // G
  };
  const int lit = kDigitSegments[index & 15];
  p.setPen(Qt::NoPen);
  for (int s = 0; s < 7; ++s) {
    p.setBrush((lit & (1 << s)) ? kSegment : kGhostSegment);
    p.drawPolygon(segmentShape(ends[s].first, ends[s].second, thickness, gap));
  }
  return pixmap;
}

}  // namespace panelArt

std::array<QPixmap, 16> makeLcdDigits(qreal devicePixelRatio) {
  std::array<QPixmap, 16> digits;
  for (int i = 0; i < 16; ++i) digits[i] = panelArt::lcdDigit(i, devicePixelRatio);
  return digits;
}
