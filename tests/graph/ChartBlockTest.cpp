// The state and settings blocks: round trips, the documented layout, and refusal
// of truncated, oversized and random blocks.

#include <gtest/gtest.h>

#include <limits>

#include <random>

#include "graph/ChartBlock.h"

using namespace chart;

namespace {

ChartLook customLook() {
  ChartLook look;
  look.mainTitle = QStringLiteral("Usine — atelier 2");
  look.subTitle = QStringLiteral("Nuit du 1er mars");
  look.xAxisLabel = QStringLiteral("Heure");
  look.yAxisLabel = QStringLiteral("dB");
  look.graphForeColor = QColor(10, 20, 30);
  look.graphBackColor = QColor(1, 2, 3);
  look.deskColor = QColor(200, 201, 202);
  look.textColor = QColor(4, 5, 6);
  look.subsetColor = QColor(0, 255, 128);
  look.yAxisColor = QColor(128, 0, 255, 200);
  look.annotationColor = QColor(255, 128, 0);
  look.gridStyle = GridStyle::Dashed;
  look.lineWidth = 3;
  return look;
}

ChartState sampleState(int points = 7) {
  ChartState state;
  state.look = customLook();
  state.xRange = {45352.41, 45352.52};
  state.yRange = {30, 130};
  state.cursorLinesVisible = false;
  state.annotationsVisible = true;
  state.cursorLines[0] = {45352.45, QStringLiteral("|t10:48:00\n65.3dB"), QColor(0, 0, 255)};
  state.cursorLines[1] = {45352.50, QStringLiteral("|t12:00:00\n71.0dB"), QColor(255, 0, 0)};
  for (int i = 0; i < points; ++i) {
    state.x.push_back(45352.41 + i * datetime::kOneSecondSingle);
    state.y.push_back(50.0f + 0.1f * static_cast<float>(i));
  }
  state.annotations[5] = {AnnotationKind::Cross, 45352.42, 66.6, {}};
  state.annotations[6] = {AnnotationKind::None, 45352.43, 70.1, QStringLiteral("compresseur")};
  state.annotations[9] = {AnnotationKind::None, 0, 0, {}};  // an erased, cleared slot
  return state;
}

void appendU8(QByteArray& bytes, quint8 value) { bytes.append(static_cast<char>(value)); }
void appendU16(QByteArray& bytes, quint16 value) {
  for (int i = 0; i < 2; ++i) appendU8(bytes, static_cast<quint8>(value >> (8 * i)));
}
void appendU32(QByteArray& bytes, quint32 value) {
  for (int i = 0; i < 4; ++i) appendU8(bytes, static_cast<quint8>(value >> (8 * i)));
}
void appendText(QByteArray& bytes, const char* utf8) {
  appendU32(bytes, static_cast<quint32>(qstrlen(utf8)));
  bytes.append(utf8);
}

// Offset of the point count in a state block whose texts are known.
qsizetype pointCountOffset(const ChartState& state) {
  qsizetype offset = 8;
  for (const QString& text : {state.look.mainTitle, state.look.subTitle, state.look.xAxisLabel, state.look.yAxisLabel})
    offset += 4 + text.toUtf8().size();
  offset += 7 * 4 + 2;
  offset += 4 * 8 + 1;
  for (const CursorLine& line : state.cursorLines) offset += 8 + 4 + 4 + line.text.toUtf8().size();
  return offset;
}

void putU32(QByteArray& bytes, qsizetype offset, quint32 value) {
  for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<char>(value >> (8 * i));
}

}  // namespace

TEST(ChartBlock, StateRoundTrip) {
  const ChartState state = sampleState();
  const std::optional<ChartState> back = decodeState(encodeState(state));
  ASSERT_TRUE(back);
  EXPECT_EQ(*back, state);
  // X exactly as doubles, Y exactly as floats.
  for (size_t i = 0; i < state.x.size(); ++i) {
    EXPECT_EQ(back->x[i], state.x[i]);
    EXPECT_EQ(back->y[i], state.y[i]);
  }
}

TEST(ChartBlock, EmptyStateRoundTrip) {
  const ChartState state;
  const std::optional<ChartState> back = decodeState(encodeState(state));
  ASSERT_TRUE(back);
  EXPECT_EQ(*back, state);
}

TEST(ChartBlock, SettingsRoundTripAndNothingElse) {
  const QByteArray block = encodeSettings(customLook());
  const std::optional<ChartLook> back = decodeSettings(block);
  ASSERT_TRUE(back);
  EXPECT_EQ(*back, customLook());
  // The two kinds of block are not interchangeable.
  EXPECT_FALSE(decodeState(block));
  EXPECT_FALSE(decodeSettings(encodeState(sampleState())));
}

TEST(ChartBlock, SettingsBlockFollowsTheDocumentedLayout) {
  // Built byte by byte from the layout in ChartBlock.cpp, not by the encoder.
  QByteArray bytes("MLCH");
  appendU16(bytes, 1);
  appendU16(bytes, 2);
  appendText(bytes, "Title");
  appendText(bytes, " ");
  appendText(bytes, "Time");
  appendText(bytes, "dB");
  for (quint32 colour : {0xFF008000u, 0xFF000000u, 0xFFC0C0C0u, 0xFF000000u, 0xFFFFFF00u, 0xFFFF0000u, 0x80FFFFFFu})
    appendU32(bytes, colour);
  appendU8(bytes, 1);  // dotted
  appendU8(bytes, 2);  // line width
  const std::optional<ChartLook> look = decodeSettings(bytes);
  ASSERT_TRUE(look);
  EXPECT_EQ(look->mainTitle, "Title");
  EXPECT_EQ(look->yAxisLabel, "dB");
  EXPECT_EQ(look->graphForeColor, QColor(0, 128, 0));
  EXPECT_EQ(look->deskColor, QColor(192, 192, 192));
  EXPECT_EQ(look->annotationColor, QColor(255, 255, 255, 128));
  EXPECT_EQ(look->gridStyle, GridStyle::Dotted);
  EXPECT_EQ(look->lineWidth, 2);
  EXPECT_EQ(encodeSettings(*look), bytes);
}

TEST(ChartBlock, StateBlockSizeMatchesTheLayout) {
  const ChartState state = sampleState(100);
  const QByteArray block = encodeState(state);
  qsizetype expected = pointCountOffset(state) + 4 + 100 * 12 + 4;
  for (const auto& [slot, annotation] : state.annotations) expected += 4 + 1 + 8 + 8 + 4 + annotation.text.toUtf8().size();
  EXPECT_EQ(block.size(), expected);
  // The point count sits where the layout puts it, little-endian.
  const qsizetype at = pointCountOffset(state);
  EXPECT_EQ(static_cast<quint8>(block[at]), 100);
  EXPECT_EQ(block[at + 1], 0);
}

TEST(ChartBlock, RefusesEveryTruncation) {
  const QByteArray state = encodeState(sampleState(3));
  for (qsizetype size = 0; size < state.size(); ++size) EXPECT_FALSE(decodeState(state.left(size))) << size;
  const QByteArray settings = encodeSettings(customLook());
  for (qsizetype size = 0; size < settings.size(); ++size) EXPECT_FALSE(decodeSettings(settings.left(size))) << size;
}

TEST(ChartBlock, RefusesTrailingBytes) {
  EXPECT_FALSE(decodeState(encodeState(sampleState()) + '\0'));
  EXPECT_FALSE(decodeSettings(encodeSettings(customLook()) + "x"));
}

TEST(ChartBlock, RefusesWrongMagicVersionAndKind) {
  const QByteArray good = encodeSettings(customLook());
  const auto patched = [&](qsizetype offset, char value) {
    QByteArray bytes = good;
    bytes[offset] = value;
    return bytes;
  };
  EXPECT_FALSE(decodeSettings(patched(0, 'X')));
  EXPECT_FALSE(decodeSettings(patched(4, 2)));  // version 2
  EXPECT_FALSE(decodeSettings(patched(5, 1)));  // version 257
  EXPECT_FALSE(decodeSettings(patched(6, 3)));  // unknown kind
}

TEST(ChartBlock, RefusesCountsLargerThanTheBlock) {
  const ChartState state = sampleState(3);
  const QByteArray good = encodeState(state);
  const qsizetype at = pointCountOffset(state);
  // Counts that would need far more bytes than the block holds: refused before
  // anything is allocated.
  for (quint32 count : {4u, 1000u, static_cast<quint32>(kMaxPoints), static_cast<quint32>(kMaxPoints) + 1, 0xFFFFFFFFu}) {
    QByteArray bytes = good;
    putU32(bytes, at, count);
    EXPECT_FALSE(decodeState(bytes)) << count;
  }
  // A text length beyond the block.
  QByteArray bytes = good;
  putU32(bytes, 8, 0x7FFFFFFF);
  EXPECT_FALSE(decodeState(bytes));
}

TEST(ChartBlock, RefusesValuesOutOfRange) {
  // Grid style and line width are the last two bytes of a settings block; the
  // encoder never writes values out of range, so they are patched in.
  const QByteArray good = encodeSettings(ChartLook{});
  const auto patched = [&](qsizetype fromEnd, char value) {
    QByteArray bytes = good;
    bytes[bytes.size() - fromEnd] = value;
    return bytes;
  };
  EXPECT_TRUE(decodeSettings(patched(2, 3)));
  EXPECT_FALSE(decodeSettings(patched(2, 4)));
  EXPECT_TRUE(decodeSettings(patched(1, 10)));
  EXPECT_FALSE(decodeSettings(patched(1, 0)));
  EXPECT_FALSE(decodeSettings(patched(1, 11)));

  ChartState nonFinite = sampleState();
  nonFinite.xRange.upper = NAN;
  EXPECT_FALSE(decodeState(encodeState(nonFinite)));
  ChartState badAnnotation = sampleState();
  badAnnotation.annotations[7] = {AnnotationKind::Cross, INFINITY, 50, {}};
  EXPECT_FALSE(decodeState(encodeState(badAnnotation)));
  ChartState badKind = sampleState();
  badKind.annotations[7] = {static_cast<AnnotationKind>(1), 45352.42, 50, {}};
  EXPECT_FALSE(decodeState(encodeState(badKind)));
}

TEST(ChartBlock, RefusesPointsThatAreNotNumbers) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (int which = 0; which < 4; ++which) {
    ChartState state = sampleState(3);
    if (which == 0) state.x[1] = nan;
    if (which == 1) state.x[2] = std::numeric_limits<double>::infinity();
    if (which == 2) state.y[0] = std::numeric_limits<float>::quiet_NaN();
    if (which == 3) state.y[2] = -std::numeric_limits<float>::infinity();
    EXPECT_FALSE(decodeState(encodeState(state))) << which;
  }
}

TEST(ChartBlock, RefusesRepeatedOrDescendingSlots) {
  ChartState state = sampleState();
  state.annotations.clear();
  state.annotations[5] = {AnnotationKind::Cross, 45352.42, 66.6, {}};
  state.annotations[6] = {AnnotationKind::Cross, 45352.43, 66.6, {}};
  QByteArray bytes = encodeState(state);
  // The second record's slot is 20 + its text bytes (0) from the end of the first;
  // the last record is 25 bytes long, starting with its slot.
  putU32(bytes, bytes.size() - 25, 5);
  EXPECT_FALSE(decodeState(bytes));
  putU32(bytes, bytes.size() - 25, 4);
  EXPECT_FALSE(decodeState(bytes));
  putU32(bytes, bytes.size() - 25, 6);
  EXPECT_TRUE(decodeState(bytes));
}

TEST(ChartBlock, RandomBlocksAreRefusedWithoutHarm) {
  std::mt19937 random(472);
  std::uniform_int_distribution<int> byte(0, 255);
  const QByteArray header = encodeState(ChartState{}).left(8);
  for (int round = 0; round < 3000; ++round) {
    const int size = std::uniform_int_distribution<int>(0, 600)(random);
    QByteArray bytes;
    // Half of them get a valid header so that the body is what gets tested.
    if (round % 2 == 0) bytes = header;
    while (bytes.size() < size) bytes.append(static_cast<char>(byte(random)));
    EXPECT_FALSE(decodeState(bytes)) << round;
    EXPECT_FALSE(decodeSettings(bytes)) << round;
  }
}

TEST(ChartBlock, MutatedBlocksDecodeOrAreRefusedCleanly) {
  // Flipping bytes of a valid block may still give a valid block (a changed level,
  // say); whatever decodes must encode back to the same bytes.
  std::mt19937 random(2024);
  const QByteArray good = encodeState(sampleState(20));
  std::uniform_int_distribution<qsizetype> offset(0, good.size() - 1);
  std::uniform_int_distribution<int> byte(0, 255);
  int decoded = 0;
  for (int round = 0; round < 3000; ++round) {
    QByteArray bytes = good;
    for (int flips = 0; flips < 1 + round % 4; ++flips) bytes[offset(random)] = static_cast<char>(byte(random));
    const std::optional<ChartState> state = decodeState(bytes);
    if (!state) continue;
    ++decoded;
    const std::optional<ChartState> again = decodeState(encodeState(*state));
    ASSERT_TRUE(again) << round;
    EXPECT_EQ(encodeState(*again), encodeState(*state)) << round;
  }
  EXPECT_GT(decoded, 0);
}
