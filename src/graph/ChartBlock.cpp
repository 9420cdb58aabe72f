#include "graph/ChartBlock.h"

// Layout of the chart blocks. Every integer and float is little-endian (floats as
// their IEEE-754 bits), with no padding between fields.
//
//   header, both blocks
//     4 bytes  magic "MLCH"
//     u16      version, 1
//     u16      kind: 1 state block (graph files), 2 settings block (the template)
//   look record, both blocks
//     string   main title, subtitle, time-axis label, level-axis label
//     7 x u32  colours as 0xAARRGGBB: graph fore (grid, frame), graph back, desk,
//              text, series, level axis, annotations
//     u8       grid style: 0 solid, 1 dotted, 2 dashed, 3 hidden
//     u8       series line width in pixels, 1..10
//   state block only, after the look
//     4 x f64  manual ranges: time min, time max (TDateTime), level min, level max (dB)
//     u8       bit 0 cursor lines shown, bit 1 annotations shown, other bits 0
//     2 x      cursor line A then B: f64 position (TDateTime), u32 colour, string label
//     u32 n    number of points, at most kMaxPoints
//     n x f64  X of the points, TDateTime; 0 is a blank point
//     n x f32  Y of the points, dB
//     u32 m    number of annotation slotCount in use
//     m x      u32 slot (strictly ascending), u8 kind (0 no symbol, 2 cross),
//              f64 X (TDateTime), f64 Y (dB), string text
//   string: u32 byte count (at most kMaxTextBytes), then that many bytes of UTF-8
//
// A block ends exactly after its last field; trailing bytes are refused like a
// short block, since either means the block is not what it claims. Ranges and
// annotation positions must be finite; point values are taken as they are (a NaN
// level is simply not drawn). A reader meeting a higher version refuses the block:
// new fields may change the meaning of the old ones.

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

namespace chart {

namespace {

class Writer {
 public:
  explicit Writer(quint16 kind) {
    m_bytes.append(kBlockMagic, 4);
    u16(kBlockVersion);
    u16(kind);
  }
  void u8(quint8 value) { m_bytes.append(static_cast<char>(value)); }
  void u16(quint16 value) { littleEndian(value, 2); }
  void u32(quint32 value) { littleEndian(value, 4); }
  void f32(float value) { littleEndian(std::bit_cast<quint32>(value), 4); }
  void f64(double value) { littleEndian(std::bit_cast<quint64>(value), 8); }
  void colour(const QColor& value) { u32(value.rgba()); }
  void text(const QString& value) {
    QByteArray utf8 = value.toUtf8();
    // A longer text would be refused on reading; keep the block loadable.
    if (utf8.size() > kMaxTextBytes) utf8.truncate(kMaxTextBytes);
    u32(static_cast<quint32>(utf8.size()));
    m_bytes.append(utf8);
  }
  void reserve(qsizetype extra) { m_bytes.reserve(m_bytes.size() + extra); }
  QByteArray take() { return std::move(m_bytes); }

 private:
  void littleEndian(quint64 value, int count) {
    char bytes[8];
    for (int i = 0; i < count; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    m_bytes.append(bytes, count);
  }
  QByteArray m_bytes;
};

// Every read checks what remains first; after the first failure all reads fail
// and return zeros, so the decoders test ok() once per record, not per field.
class Reader {
 public:
  explicit Reader(const QByteArray& bytes)
      : m_data(reinterpret_cast<const unsigned char*>(bytes.constData())), m_left(static_cast<size_t>(bytes.size())) {}
  bool ok() const { return m_ok; }
  bool atEnd() const { return m_left == 0; }
  size_t left() const { return m_left; }
  void fail() { m_ok = false; }

  bool take(void* out, size_t count) {
    if (!m_ok || count > m_left) {
      m_ok = false;
      return false;
    }
    std::memcpy(out, m_data, count);
    m_data += count;
    m_left -= count;
    return true;
  }
  quint8 u8() { return static_cast<quint8>(littleEndian(1)); }
  quint16 u16() { return static_cast<quint16>(littleEndian(2)); }
  quint32 u32() { return static_cast<quint32>(littleEndian(4)); }
  float f32() { return std::bit_cast<float>(static_cast<quint32>(littleEndian(4))); }
  double f64() { return std::bit_cast<double>(littleEndian(8)); }
  double finite() {
    const double value = f64();
    if (!std::isfinite(value)) m_ok = false;
    return value;
  }
  QColor colour() { return QColor::fromRgba(u32()); }
  QString text() {
    const quint32 size = u32();
    if (!m_ok || size > static_cast<quint32>(kMaxTextBytes) || size > m_left) {
      m_ok = false;
      return {};
    }
    const QString value = QString::fromUtf8(reinterpret_cast<const char*>(m_data), static_cast<qsizetype>(size));
    m_data += size;
    m_left -= size;
    return value;
  }

 private:
  quint64 littleEndian(int count) {
    unsigned char bytes[8] = {};
    if (!take(bytes, static_cast<size_t>(count))) return 0;
    quint64 value = 0;
    for (int i = count - 1; i >= 0; --i) value = (value << 8) | bytes[i];
    return value;
  }
  const unsigned char* m_data;
  size_t m_left;
  bool m_ok = true;
};

void writeLook(Writer& out, const ChartLook& look) {
  out.text(look.mainTitle);
  out.text(look.subTitle);
  out.text(look.xAxisLabel);
  out.text(look.yAxisLabel);
  for (const QColor* colour : {&look.graphForeColor, &look.graphBackColor, &look.deskColor, &look.textColor,
                               &look.subsetColor, &look.yAxisColor, &look.annotationColor})
    out.colour(*colour);
  out.u8(static_cast<quint8>(look.gridStyle));
  out.u8(static_cast<quint8>(std::clamp(look.lineWidth, kMinLineWidth, kMaxLineWidth)));
}

std::optional<ChartLook> readLook(Reader& in) {
  ChartLook look;
  look.mainTitle = in.text();
  look.subTitle = in.text();
  look.xAxisLabel = in.text();
  look.yAxisLabel = in.text();
  for (QColor* colour : {&look.graphForeColor, &look.graphBackColor, &look.deskColor, &look.textColor,
                         &look.subsetColor, &look.yAxisColor, &look.annotationColor})
    *colour = in.colour();
  const quint8 grid = in.u8();
  const quint8 width = in.u8();
  if (!in.ok() || grid >= kGridStyleCount || width < kMinLineWidth || width > kMaxLineWidth) return std::nullopt;
  look.gridStyle = static_cast<GridStyle>(grid);
  look.lineWidth = width;
  return look;
}

bool readHeader(Reader& in, quint16 expectedKind) {
  char magic[4] = {};
  if (!in.take(magic, 4) || std::memcmp(magic, kBlockMagic, 4) != 0) return false;
  const quint16 version = in.u16();
  const quint16 kind = in.u16();
  return in.ok() && version == kBlockVersion && kind == expectedKind;
}

}  // namespace

QByteArray encodeSettings(const ChartLook& look) {
  Writer out(kSettingsBlock);
  writeLook(out, look);
  return out.take();
}

QByteArray encodeState(const ChartState& state) {
  Writer out(kStateBlock);
  const size_t points = std::min(std::min(state.x.size(), state.y.size()), static_cast<size_t>(kMaxPoints));
  out.reserve(static_cast<qsizetype>(points * 12 + state.annotations.size() * 32 + 512));
  writeLook(out, state.look);
  out.f64(state.xRange.lower);
  out.f64(state.xRange.upper);
  out.f64(state.yRange.lower);
  out.f64(state.yRange.upper);
  out.u8((state.cursorLinesVisible ? 1 : 0) | (state.annotationsVisible ? 2 : 0));
  for (const CursorLine& line : state.cursorLines) {
    out.f64(line.position);
    out.colour(line.color);
    out.text(line.text);
  }
  out.u32(static_cast<quint32>(points));
  for (size_t i = 0; i < points; ++i) out.f64(state.x[i]);
  for (size_t i = 0; i < points; ++i) out.f32(state.y[i]);
  out.u32(static_cast<quint32>(state.annotations.size()));
  for (const auto& [slot, annotation] : state.annotations) {
    out.u32(static_cast<quint32>(slot));
    out.u8(static_cast<quint8>(annotation.kind));
    out.f64(annotation.x);
    out.f64(annotation.y);
    out.text(annotation.text);
  }
  return out.take();
}

std::optional<ChartLook> decodeSettings(const QByteArray& block) {
  Reader in(block);
  if (!readHeader(in, kSettingsBlock)) return std::nullopt;
  std::optional<ChartLook> look = readLook(in);
  if (!look || !in.atEnd()) return std::nullopt;
  return look;
}

std::optional<ChartState> decodeState(const QByteArray& block) {
  Reader in(block);
  if (!readHeader(in, kStateBlock)) return std::nullopt;
  ChartState state;
  std::optional<ChartLook> look = readLook(in);
  if (!look) return std::nullopt;
  state.look = *look;

  state.xRange = {in.finite(), in.finite()};
  state.yRange = {in.finite(), in.finite()};
  const quint8 flags = in.u8();
  if (!in.ok() || (flags & ~0x03) != 0) return std::nullopt;
  state.cursorLinesVisible = (flags & 1) != 0;
  state.annotationsVisible = (flags & 2) != 0;
  for (CursorLine& line : state.cursorLines) {
    line.position = in.finite();
    line.color = in.colour();
    line.text = in.text();
  }

  const quint32 points = in.u32();
  // The size is checked against the bytes that remain before anything is
  // allocated, so a damaged count cannot ask for more memory than the block holds.
  if (!in.ok() || points > static_cast<quint32>(kMaxPoints) || in.left() / 12 < points) return std::nullopt;
  state.x.resize(points);
  state.y.resize(points);
  // A time or level that is not a number would spoil every statistic and axis of
  // the window that opens the file: such a block is refused like any damaged one.
  for (quint32 i = 0; i < points; ++i) state.x[i] = in.finite();
  for (quint32 i = 0; i < points; ++i) {
    state.y[i] = in.f32();
    if (!std::isfinite(state.y[i])) return std::nullopt;
  }

  const quint32 slotCount = in.u32();
  // Each annotation record takes at least 25 bytes (slot, kind, X, Y, text size).
  if (!in.ok() || in.left() / 25 < slotCount) return std::nullopt;
  qint64 previousSlot = -1;
  for (quint32 i = 0; i < slotCount; ++i) {
    const quint32 slot = in.u32();
    const quint8 kind = in.u8();
    GraphAnnotation annotation;
    annotation.x = in.finite();
    annotation.y = in.finite();
    annotation.text = in.text();
    if (!in.ok() || slot > static_cast<quint32>(INT32_MAX) || static_cast<qint64>(slot) <= previousSlot ||
        (kind != static_cast<quint8>(AnnotationKind::None) && kind != static_cast<quint8>(AnnotationKind::Cross)))
      return std::nullopt;
    annotation.kind = static_cast<AnnotationKind>(kind);
    state.annotations.emplace(static_cast<int>(slot), annotation);
    previousSlot = slot;
  }
  if (!in.ok() || !in.atEnd()) return std::nullopt;
  return state;
}

}  // namespace chart
