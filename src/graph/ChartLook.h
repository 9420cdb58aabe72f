#pragma once
// The look of a chart: what the customization dialog changes and the graph
// template keeps. The member defaults are the chart's built-in look (a black plot
// with a dotted green grid on a silver desk, a yellow series, a red level axis).

#include <cstdint>

#include <QColor>
#include <QString>

namespace chart {

enum class GridStyle : std::uint8_t { Solid = 0, Dotted = 1, Dashed = 2, Hidden = 3 };
inline constexpr int kGridStyleCount = 4;

inline constexpr int kMinLineWidth = 1;
inline constexpr int kMaxLineWidth = 10;

struct ChartLook {
  QString mainTitle;
  QString subTitle = QStringLiteral(" ");
  QString xAxisLabel = QStringLiteral("Time");
  QString yAxisLabel = QStringLiteral("Y Axis #1");
  QColor graphForeColor = QColor(0, 128, 0);      // grid and plot frame
  QColor graphBackColor = QColor(0, 0, 0);        // inside the plotting area
  QColor deskColor = QColor(192, 192, 192);       // around the plotting area
  QColor textColor = QColor(0, 0, 0);             // titles, time axis
  QColor subsetColor = QColor(255, 255, 0);       // the series line
  QColor yAxisColor = QColor(255, 0, 0);          // level axis, its ticks and labels
  QColor annotationColor = QColor(255, 255, 255); // crosses and texts on the plot
  GridStyle gridStyle = GridStyle::Dotted;
  int lineWidth = 1;  // of the series, pixels

  bool operator==(const ChartLook&) const = default;
};

}  // namespace chart
