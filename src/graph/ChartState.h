#pragma once
// Everything a chart holds besides its widgets: the points of its one series, the
// manual axis ranges, the two cursor lines, the annotation slots and the look.
// Chart owns one ChartState; the graph file stores it whole, the template only its
// look (ChartBlock.h).

#include <array>
#include <cstdint>
#include <map>
#include <vector>

#include <QColor>
#include <QString>

#include "graph/ChartLook.h"
#include "graph/ChartMath.h"
#include "link/TDateTime.h"

namespace chart {

// Limits that keep a damaged block, or a mistyped point count, from asking for
// gigabytes: ten million points is over a hundred days of one-second readings.
inline constexpr int kMaxPoints = 10'000'000;
inline constexpr int kMaxTextBytes = 65'536;

inline constexpr int kCursorA = 0;
inline constexpr int kCursorB = 1;

struct CursorLine {
  TDateTime position = 0;  // 0 lies before any recording: the line is not shown
  QString text;            // may start with a placement code, "|t" top or "|b" bottom
  QColor color;
  bool operator==(const CursorLine&) const = default;
};

// The slot kinds keep the numbers the graph files have always used: 2 is a cross;
// 0 is no symbol, which is a text annotation when the text is not empty and an
// erased slot otherwise.
enum class AnnotationKind : std::uint8_t { None = 0, Cross = 2 };

struct GraphAnnotation {
  AnnotationKind kind = AnnotationKind::None;
  TDateTime x = 0;  // 0 lies before any recording: the slot is not shown
  double y = 0;     // dB
  QString text;
  bool operator==(const GraphAnnotation&) const = default;
};

struct ChartState {
  ChartLook look;
  AxisRange xRange{0, 1};     // manual time range, TDateTime
  AxisRange yRange{30, 130};  // manual level range, dB
  bool cursorLinesVisible = true;
  bool annotationsVisible = true;
  std::array<CursorLine, 2> cursorLines{CursorLine{0, {}, QColor(0, 0, 255)}, CursorLine{0, {}, QColor(255, 0, 0)}};
  // Point i is (x[i], y[i]); both vectors always have the same size. A point whose
  // X is 0 is blank: not yet recorded, and not drawn.
  std::vector<TDateTime> x;
  std::vector<float> y;
  std::map<int, GraphAnnotation> annotations;  // slot -> annotation; slots >= 0

  bool operator==(const ChartState&) const = default;
};

}  // namespace chart
