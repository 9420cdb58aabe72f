#include "graph/Annotation.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "graph/Chart.h"
#include "text/Formats.h"

using chart::AnnotationKind;
using chart::GraphAnnotation;

QPoint correctedClickPosition(QPoint position, AnnotationTool tool) {
  switch (tool) {
    case AnnotationTool::Text: return position + QPoint(1, 7);
    case AnnotationTool::Cross: return position + QPoint(15, 15);
    case AnnotationTool::None: break;
  }
  return position;
}

bool insidePlotArea(QPoint position, const QRect& plotArea) { return plotArea.contains(position); }

std::vector<EraseListRow> eraseList(const Chart& chart, const AnnotationState& state) {
  std::vector<EraseListRow> rows;
  const auto& marks = chart.annotations();
  // Walk only the slots the chart holds: an unused slot reads as erased, and the
  // counter may lie far above the slots of this chart.
  for (auto it = marks.lower_bound(kFirstListedAnnotationSlot);
       it != marks.end() && it->first <= state.annotationSlotCounter; ++it) {
    const GraphAnnotation& mark = it->second;
    QString contents;
    if (mark.kind == AnnotationKind::Cross)
      contents = QStringLiteral("X");
    else if (!mark.text.isEmpty())
      contents = mark.text;
    else
      continue;
    rows.push_back({static_cast<int>(rows.size()) + 1, formats::dateTime(mark.x), contents, it->first});
  }
  return rows;
}

int eraseRows(Chart& chart, const std::vector<EraseListRow>& rows, EraseRowRange range) {
  const int first = std::max(range.first, 0);
  const int last = std::min(range.last, static_cast<int>(rows.size()) - 1);
  int erased = 0;
  for (int row = first; row <= last; ++row) {
    const int slot = rows[static_cast<std::size_t>(row)].slot;
    GraphAnnotation mark = chart.annotation(slot);
    mark.kind = AnnotationKind::None;
    mark.text.clear();
    if (chart.setAnnotation(slot, mark)) ++erased;
  }
  return erased;
}

void selectAnnotationTool(Chart& chart, AnnotationState& state, AnnotationTool tool) {
  switch (tool) {
    case AnnotationTool::None: chart.setPointer(Chart::Pointer::Arrow); break;
    case AnnotationTool::Text: chart.setPointer(Chart::Pointer::Text); break;
    case AnnotationTool::Cross: chart.setPointer(Chart::Pointer::Cross); break;
  }
  state.annotationTool = tool;
}

bool annotationClick(Chart& chart, AnnotationState& state, const AnnotationTextAsker& askText) {
  const AnnotationTool tool = state.annotationTool;
  if (tool != AnnotationTool::Text && tool != AnnotationTool::Cross) return false;
  const QPoint position = correctedClickPosition(chart.lastMousePosition(), tool);
  if (!insidePlotArea(position, chart.plotArea())) return false;
  const chart::DataPoint at = chart.pixelToData(position);
  // A collapsed axis range gives no usable position; the chart would refuse the
  // slot, so do not ask for a text or use up a slot number for it.
  if (!std::isfinite(at.time) || !std::isfinite(at.level)) return false;
  // The counter only ever counts up; past its top there is no next slot.
  if (state.annotationSlotCounter < -1 || state.annotationSlotCounter == std::numeric_limits<std::int32_t>::max())
    return false;

  GraphAnnotation mark;
  mark.x = at.time;
  mark.y = at.level;
  if (tool == AnnotationTool::Cross) {
    mark.kind = AnnotationKind::Cross;
  } else {
    if (!askText) return false;
    const std::optional<QString> text = askText();
    if (!text) return false;
    mark.kind = AnnotationKind::None;
    mark.text = *text;
  }
  ++state.annotationSlotCounter;
  chart.setAnnotation(state.annotationSlotCounter, mark);
  chart.redraw();
  return true;
}

int eraseAnnotations(Chart& chart, const AnnotationState& state, const EraseRowChooser& choose) {
  if (!choose) return 0;
  const std::vector<EraseListRow> rows = eraseList(chart, state);
  const std::optional<EraseRowRange> chosen = choose(rows);
  if (!chosen) return 0;
  const int erased = eraseRows(chart, rows, *chosen);
  chart.redraw();
  return erased;
}
