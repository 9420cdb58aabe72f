#pragma once
// The pictures of the front panel, drawn in code rather than loaded from files, so
// they stay sharp at any screen scale: each is painted into a pixmap of its size in
// pixels times the device pixel ratio, and carries that ratio.
//
// Sizes are the panel's layout sizes (device-independent pixels). The panel
// pictures use panel coordinates internally: imgPanel sits at x = -1, and the
// parts laid over it (imgMask1, img471Bottom) repeat its background exactly, so
// they cover the picture without a seam.

#include <array>

#include <QColor>
#include <QPixmap>
#include <QSize>

namespace panelArt {

// Around the meter's body (the panel's own background) and the display's segments
// (the annunciator labels are written in it).
inline constexpr QRgb kSurroundRgb = 0xff161719;
inline constexpr QRgb kSegmentRgb = 0xff19211c;

inline constexpr QSize kFrontSize{190, 469};       // imgPanel
inline constexpr QSize kBottom471Size{144, 154};   // img471Bottom
inline constexpr QSize kTitleMaskSize{100, 11};    // imgMask1
inline constexpr QSize kDigitSize{17, 28};         // MainD1..MainD4, lcdDigits
inline constexpr QSize kPointSize{5, 5};           // imgPoint
inline constexpr QSize kBarScaleSize{101, 8};      // imgColorBar
inline constexpr QSize kRangeMarkSize{24, 8};      // imgUNDER, imgOVER
inline constexpr QSize kBatterySize{9, 6};         // imgBAT
inline constexpr QSize kAutoOffSize{7, 7};         // imgAutoOff
inline constexpr QSize kFlatButtonSize{16, 14};    // SpeedButton1, SpeedButton2

// Where the parts laid over imgPanel sit in the panel.
inline constexpr QPoint kFrontAt{-1, 0};
inline constexpr QPoint kBottom471At{21, 307};
inline constexpr QPoint kTitleMaskAt{57, 31};

// The meter front of the data-logging model: body, display window, keys, range legend,
// and the "DATA LOGGER" title that imgMask1 covers.
QPixmap meterFront(qreal devicePixelRatio);
// The 471's lower part: its two LEVEL keys (up at the REC place, down at LEVEL).
QPixmap bottom471(qreal devicePixelRatio);
// The body without the title, for the 471.
QPixmap titleMask(qreal devicePixelRatio);

QPixmap decimalPoint(qreal devicePixelRatio);
// The bar graph fully lit with its scale ticks; the panel shows its left part.
QPixmap barScale(qreal devicePixelRatio);
QPixmap underMark(qreal devicePixelRatio);
QPixmap overMark(qreal devicePixelRatio);
QPixmap batteryMark(qreal devicePixelRatio);
QPixmap autoOffMark(qreal devicePixelRatio);
QPixmap minimizeGlyph(qreal devicePixelRatio);
QPixmap closeGlyph(qreal devicePixelRatio);

// One seven-segment digit: 0-9, 10 blank, 11 and 12 a dash, 13 "L", 14 "E", 15 "r".
// Unlit segments show faintly, as on a real liquid-crystal display.
QPixmap lcdDigit(int index, qreal devicePixelRatio);

}  // namespace panelArt

// The sixteen digit pictures "LCD0".."LCD15" (lcdDigits), made once by the main window.
std::array<QPixmap, 16> makeLcdDigits(qreal devicePixelRatio);
