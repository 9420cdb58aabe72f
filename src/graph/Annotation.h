#pragma once
// Crosses and text marks on a graph: the annotation tool shared by every graph
// window, the slot counter, placing a mark where the chart was clicked, and the
// list the user erases marks from.
//
// The marks live in the chart's numbered slots (Chart::setAnnotation). Slots are
// handed out from one counter shared by all graph windows, so the slots of one
// chart leave gaps in another's. The erase list starts at slot 5: the counter
// starts at 4 and the first mark takes 5; after "Clear" of the Real-Time Graph the
// counter is 3, and the next mark takes slot 4, which the list never shows.

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include <QPoint>
#include <QRect>
#include <QString>

class Chart;

// What a click on a chart does. The numbers are the codes the graph window has
// always used; only equality matters.
enum class AnnotationTool : int { None = -99, Text = 0, Cross = 2 };

inline constexpr std::int32_t kInitialAnnotationSlotCounter = 4;
// What "Clear" of the Real-Time Graph window sets the counter back to.
inline constexpr std::int32_t kClearedAnnotationSlotCounter = 3;
// The first slot the erase list looks at.
inline constexpr int kFirstListedAnnotationSlot = 5;

// The two values every graph window of the process shares. The main window owns
// the one instance and hands it to each graph window.
struct AnnotationState {
  AnnotationTool annotationTool = AnnotationTool::None;
  // The last slot used; a new mark takes the next one.
  std::int32_t annotationSlotCounter = kInitialAnnotationSlotCounter;
};

// --- pure parts ---

// The click position corrected for where the pointer draws its mark: the text
// pointer's spot is 1 right and 7 down of its hot spot, the cross pointer's
// crossing 15 right and 15 down of its top-left hot spot. None is not corrected.
QPoint correctedClickPosition(QPoint position, AnnotationTool tool);

// Whether position lies in the plotting area, its edge pixels included (QRect's
// right() and bottom() are its last pixels).
bool insidePlotArea(QPoint position, const QRect& plotArea);

// One row of the erase list.
struct EraseListRow {
  int number = 0;   // "NO": 1, 2, 3 ... in list order
  QString time;     // "Time": the slot's X as date and time
  QString contents; // "Contents": "X" for a cross, else the text
  int slot = 0;     // the chart slot the row stands for
};

// The chart's marks from slot 5 to the counter, in slot order: a cross as "X", a
// slot with a text as its text; erased slots and texts left empty are skipped.
// Any number of rows and any slot number are listed.
std::vector<EraseListRow> eraseList(const Chart& chart, const AnnotationState& state);

// Rows first..last of a list, 0-based and inclusive.
struct EraseRowRange {
  int first = 0;
  int last = 0;
  bool operator==(const EraseRowRange&) const = default;
};

// Erases the slots of rows range.first..range.last (clipped to the list; a range
// that misses the list, or runs backwards, erases nothing): kind None and an empty
// text, so the mark disappears and is listed no more; X and Y stay. Returns the
// number of slots erased. Does not redraw.
int eraseRows(Chart& chart, const std::vector<EraseListRow>& rows, EraseRowRange range);

// --- what the graph window's handlers call ---

// The tool buttons ("Normal Cursor", "Draw A Cross On Graph", "Text"), and the
// window's opening with None: sets this chart's pointer and the shared tool. Other
// charts keep their pointers but their clicks follow the new tool.
void selectAnnotationTool(Chart& chart, AnnotationState& state, AnnotationTool tool);

// Asks for the text of a text mark: the text typed (possibly empty) on OK, nothing
// on Cancel. The desktop's is TfrmAnnoEdit::asker().
using AnnotationTextAsker = std::function<std::optional<QString>()>;

// A click on the chart, at the chart's last mouse position: with the shared tool
// Cross, a cross in the next slot; with Text, asks for the text and on OK puts it
// in the next slot; with None, or outside the plotting area after the correction,
// nothing (and no question). Returns whether a mark was placed; the chart is
// redrawn when one was.
bool annotationClick(Chart& chart, AnnotationState& state, const AnnotationTextAsker& askText);

// Shows the erase list and answers the rows chosen for erasing, or nothing for
// Cancel. The list may be empty (then only Cancel makes sense). The desktop's is
// TfrmDelAnno::chooser().
using EraseRowChooser = std::function<std::optional<EraseRowRange>(const std::vector<EraseListRow>& rows)>;

// "Erase annotations": lists the chart's marks, lets the user choose, erases the
// chosen rows and redraws. Returns the number of marks erased (0 for Cancel).
int eraseAnnotations(Chart& chart, const AnnotationState& state, const EraseRowChooser& choose);
