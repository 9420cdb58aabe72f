// The panel's pictures: their sizes at any device pixel ratio, the seven-segment
// digits, and the bar graph's scale.

#include <gtest/gtest.h>

#include <cmath>

#include <QImage>

#include "live/PanelArt.h"

namespace {

// Whether the segment around (x, y) of a digit (unslanted layout coordinates) is lit.
bool segmentLit(const QImage& digit, qreal dpr, qreal x, qreal y) {
  const qreal lean = 2.5 / 28;
  const qreal slantedX = x - lean * y + 2.5;
  return qAlpha(digit.pixel(int(std::floor(slantedX * dpr)), int(std::floor(y * dpr)))) > 200;
}

}  // namespace

TEST(PanelArt, PicturesHaveTheirSizesAtAnyScale) {
  using Maker = QPixmap (*)(qreal);
  struct Picture {
    const char* name;
    Maker make;
    QSize size;
  };
  const Picture pictures[] = {
      {"meterFront", panelArt::meterFront, {190, 469}},  {"bottom471", panelArt::bottom471, {144, 154}},
      {"titleMask", panelArt::titleMask, {100, 11}},      {"decimalPoint", panelArt::decimalPoint, {5, 5}},
      {"barScale", panelArt::barScale, {101, 8}},         {"underMark", panelArt::underMark, {24, 8}},
      {"overMark", panelArt::overMark, {24, 8}},          {"batteryMark", panelArt::batteryMark, {9, 6}},
      {"autoOffMark", panelArt::autoOffMark, {7, 7}},     {"minimizeGlyph", panelArt::minimizeGlyph, {16, 14}},
      {"closeGlyph", panelArt::closeGlyph, {16, 14}},
  };
  for (qreal dpr : {1.0, 1.5, 2.0}) {
    for (const Picture& picture : pictures) {
      const QPixmap pixmap = picture.make(dpr);
      EXPECT_EQ(pixmap.deviceIndependentSize().toSize(), picture.size) << picture.name << " at " << dpr;
      EXPECT_EQ(pixmap.devicePixelRatio(), dpr) << picture.name;
      EXPECT_EQ(pixmap.width(), int(std::ceil(picture.size.width() * dpr))) << picture.name << " at " << dpr;
    }
    for (const QPixmap& digit : makeLcdDigits(dpr))
      EXPECT_EQ(digit.deviceIndependentSize().toSize(), QSize(17, 28)) << dpr;
  }
}

TEST(PanelArt, DigitsLightTheirSegments) {
  // Segments a to g, and the centre of each.
  const QPointF centres[7] = {{7.2, 1.8}, {12.5, 7.9}, {12.5, 20.1}, {7.2, 26.2}, {1.9, 20.1}, {1.9, 7.9}, {7.2, 14}};
  auto check = [&](int index, const char* lit) {
    for (qreal dpr : {1.0, 2.0}) {
      const QImage digit = panelArt::lcdDigit(index, dpr).toImage();
      QString seen;
      for (int s = 0; s < 7; ++s)
        if (segmentLit(digit, dpr, centres[s].x(), centres[s].y())) seen += QChar('a' + s);
      EXPECT_EQ(seen, QString::fromLatin1(lit)) << "LCD" << index << " at " << dpr;
    }
  };
  check(0, "abcdef");
  check(1, "bc");
  check(2, "abdeg");
  check(3, "abcdg");
  check(4, "bcfg");
  check(5, "acdfg");
  check(6, "acdefg");
  check(7, "abc");
  check(8, "abcdefg");
  check(9, "abcdfg");
  check(10, "");
  check(11, "g");
  check(12, "g");
  check(13, "def");
  check(14, "adefg");
  check(15, "eg");
}

TEST(PanelArt, BarScaleEndsOnASegmentAtEveryOddWidth) {
  // The panel shows the left 2x + 1 pixels: the last of them must be lit, the one after dark.
  const QImage scale = panelArt::barScale(1.0).toImage();
  for (int x = 0; x < 101; ++x)
    EXPECT_EQ(qAlpha(scale.pixel(x, 2)) > 200, x % 2 == 0) << "column " << x;
  for (int x = 0; x < 101; x += 10) EXPECT_GT(qAlpha(scale.pixel(x, 7)), 200) << "tick at " << x;
  EXPECT_EQ(qAlpha(scale.pixel(2, 7)), 0);
}
