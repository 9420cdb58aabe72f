// Crosses and text marks: the click correction and the plot test, placing marks
// through the shared tool and slot counter, the erase list and erasing, and the
// two dialogs (offscreen).

#include <gtest/gtest.h>

#include <functional>

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <qcustomplot.h>

#include "support/DialogTest.h"
#include "graph/AnnoEdit.h"
#include "graph/Annotation.h"
#include "graph/Chart.h"
#include "graph/DelAnno.h"
#include "text/Formats.h"
#include "text/Texts.h"

using chart::AnnotationKind;
using chart::GraphAnnotation;

namespace {

TDateTime at(int hour, int minute, int second) {
  return datetime::fromQDateTime(QDateTime(QDate(2024, 3, 1), QTime(hour, minute, second)));
}

using dialogtest::ModalAnswer;
using dialogtest::child;

// Sets the language and gives the one before back at the end of the scope.
class LanguageScope {
 public:
  explicit LanguageScope(Language language) : before_(texts::language()) { texts::setLanguage(language); }
  ~LanguageScope() { texts::setLanguage(before_); }
  LanguageScope(const LanguageScope&) = delete;
  LanguageScope& operator=(const LanguageScope&) = delete;

 private:
  Language before_;
};

// A text asker that answers from the test and counts the questions.
struct ScriptedText {
  std::optional<QString> answer;
  int asked = 0;
  AnnotationTextAsker asker() {
    return [this] {
      ++asked;
      return answer;
    };
  }
};

// A chart of five points one second apart, at a fixed size so its plotting area
// is known and stays put.
class AnnotationTest : public ::testing::Test {
 protected:
  static void prepare(Chart& chart) {
    chart.resize(800, 500);
    chart.show();
    chart.reset(5, {30, 130}, {at(10, 0, 0), at(10, 0, 5)});
    chart.applyBuiltInLook();
    for (int i = 0; i < 5; ++i) {
      chart.setX(i, at(10, 0, i));
      chart.setY(i, 60.0f + static_cast<float>(i));
    }
    chart.redrawNow();
  }

  void SetUp() override {
    prepare(chart);
    area = chart.plotArea();
    ASSERT_GT(area.width(), 200);
    ASSERT_GT(area.height(), 200);
  }

  // Moves the mouse to a position in the chart's pixels, as the user would before
  // clicking. The event goes straight to the plot: QTest::mouseMove drops moves to
  // where it believes the pointer already is.
  static void moveMouse(Chart& target, QPoint chartPixel) {
    QWidget* plot = target.plot();
    const QPointF local = chartPixel - plot->pos();
    QMouseEvent move(QEvent::MouseMove, local, plot->mapToGlobal(local), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(plot, &move);
    ASSERT_EQ(target.lastMousePosition(), chartPixel);
  }

  bool clickAt(Chart& target, QPoint chartPixel, const AnnotationTextAsker& asker = {}) {
    moveMouse(target, chartPixel);
    return annotationClick(target, state, asker);
  }

  bool crossAt(Chart& target, QPoint chartPixel) {
    selectAnnotationTool(target, state, AnnotationTool::Cross);
    return clickAt(target, chartPixel);
  }

  static std::vector<int> listedSlots(const std::vector<EraseListRow>& rows) {
    std::vector<int> result;
    for (const EraseListRow& row : rows) result.push_back(row.slot);
    return result;
  }

  Chart chart;
  QRect area;
  AnnotationState state;
};

// --- pure parts ---

TEST(AnnotationGeometry, ClickPositionIsCorrectedForThePointer) {
  const auto check = [](AnnotationTool tool, QPoint expected) {
    EXPECT_EQ(correctedClickPosition(QPoint(100, 200), tool), expected) << static_cast<int>(tool);
  };
  check(AnnotationTool::None, QPoint(100, 200));
  check(AnnotationTool::Text, QPoint(101, 207));
  check(AnnotationTool::Cross, QPoint(115, 215));
}

TEST(AnnotationGeometry, PlotAreaEdgesAreInside) {
  const QRect area(100, 50, 600, 400);  // last pixels x 699, y 449
  const auto check = [&](QPoint position, bool expected) {
    EXPECT_EQ(insidePlotArea(position, area), expected) << position.x() << "," << position.y();
  };
  check({100, 50}, true);
  check({699, 449}, true);
  check({400, 300}, true);
  check({99, 300}, false);
  check({700, 300}, false);
  check({400, 49}, false);
  check({400, 450}, false);
}

TEST(AnnotationState, StartsWithNoToolAndCounterFour) {
  const AnnotationState state;
  EXPECT_EQ(state.annotationTool, AnnotationTool::None);
  EXPECT_EQ(state.annotationSlotCounter, 4);
}

// --- placing marks ---

TEST_F(AnnotationTest, ACrossGoesToTheNextSlotAtTheCorrectedPosition) {
  const QPoint raw = area.center();
  ASSERT_TRUE(crossAt(chart, raw));
  EXPECT_EQ(state.annotationSlotCounter, 5);
  const GraphAnnotation mark = chart.annotation(5);
  const chart::DataPoint expected = chart.pixelToData(raw + QPoint(15, 15));
  EXPECT_EQ(mark.kind, AnnotationKind::Cross);
  EXPECT_DOUBLE_EQ(mark.x, expected.time);
  EXPECT_DOUBLE_EQ(mark.y, expected.level);
  EXPECT_TRUE(mark.text.isEmpty());
  // The correction moved the mark: not where the hot spot was.
  EXPECT_GT(mark.x, chart.pixelToData(raw).time);

  ASSERT_TRUE(clickAt(chart, raw - QPoint(100, 50)));
  EXPECT_EQ(state.annotationSlotCounter, 6);
  EXPECT_EQ(chart.annotation(6).kind, AnnotationKind::Cross);
}

TEST_F(AnnotationTest, JustOutsideThePlotAfterTheCorrectionPlacesNothingAndAsksNothing) {
  struct Case {
    AnnotationTool tool;
    QPoint correction;
  };
  for (const Case& c : {Case{AnnotationTool::Cross, {15, 15}}, Case{AnnotationTool::Text, {1, 7}}}) {
    SCOPED_TRACE(static_cast<int>(c.tool));
    Chart target;
    prepare(target);
    AnnotationState shared;
    selectAnnotationTool(target, shared, c.tool);
    ScriptedText text{QStringLiteral("mark")};
    const QPoint lastPixel = target.plotArea().bottomRight() - c.correction;  // corrected onto the last pixel
    // Raw positions inside the plot that the correction carries just out of it.
    for (QPoint raw : {lastPixel + QPoint(1, 0), lastPixel + QPoint(0, 1)}) {
      ASSERT_TRUE(target.plotArea().contains(raw));
      moveMouse(target, raw);
      EXPECT_FALSE(annotationClick(target, shared, text.asker()));
    }
    EXPECT_EQ(text.asked, 0);
    EXPECT_EQ(shared.annotationSlotCounter, 4);
    EXPECT_TRUE(target.annotations().empty());

    // The edge pixel itself is inside.
    moveMouse(target, lastPixel);
    EXPECT_TRUE(annotationClick(target, shared, text.asker()));
    EXPECT_EQ(shared.annotationSlotCounter, 5);
    EXPECT_EQ(text.asked, c.tool == AnnotationTool::Text ? 1 : 0);
    EXPECT_EQ(target.annotations().size(), 1u);
  }
}

TEST_F(AnnotationTest, WithNoToolAClickDoesNothing) {
  ScriptedText text{QStringLiteral("mark")};
  EXPECT_FALSE(clickAt(chart, area.center(), text.asker()));
  EXPECT_EQ(text.asked, 0);
  EXPECT_EQ(state.annotationSlotCounter, 4);
  EXPECT_TRUE(chart.annotations().empty());
}

TEST_F(AnnotationTest, TextIsPlacedOnOkAndNotOnCancel) {
  selectAnnotationTool(chart, state, AnnotationTool::Text);
  ScriptedText text;  // Cancel
  EXPECT_FALSE(clickAt(chart, area.center(), text.asker()));
  EXPECT_EQ(text.asked, 1);
  EXPECT_EQ(state.annotationSlotCounter, 4);
  EXPECT_TRUE(chart.annotations().empty());

  text.answer = QStringLiteral("Peak at the door");
  const QPoint raw = area.center();
  ASSERT_TRUE(clickAt(chart, raw, text.asker()));
  EXPECT_EQ(state.annotationSlotCounter, 5);
  const GraphAnnotation mark = chart.annotation(5);
  EXPECT_EQ(mark.kind, AnnotationKind::None);
  EXPECT_EQ(mark.text, QStringLiteral("Peak at the door"));
  EXPECT_DOUBLE_EQ(mark.x, chart.pixelToData(raw + QPoint(1, 7)).time);
  EXPECT_DOUBLE_EQ(mark.y, chart.pixelToData(raw + QPoint(1, 7)).level);
}

TEST_F(AnnotationTest, AnEmptyTextUsesASlotButIsNeverListed) {
  selectAnnotationTool(chart, state, AnnotationTool::Text);
  ScriptedText text{QString()};
  ASSERT_TRUE(clickAt(chart, area.center(), text.asker()));
  EXPECT_EQ(state.annotationSlotCounter, 5);
  ASSERT_EQ(chart.annotations().count(5), 1u);
  EXPECT_TRUE(eraseList(chart, state).empty());

  ASSERT_TRUE(crossAt(chart, area.center()));
  EXPECT_EQ(state.annotationSlotCounter, 6);
  const std::vector<EraseListRow> rows = eraseList(chart, state);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].number, 1);
  EXPECT_EQ(rows[0].slot, 6);
}

TEST_F(AnnotationTest, AfterTheCounterIsClearedTheNextMarkTakesSlotFourWhichIsNotListed) {
  ASSERT_TRUE(crossAt(chart, area.center()));
  state.annotationSlotCounter = kClearedAnnotationSlotCounter;
  ASSERT_TRUE(clickAt(chart, area.center() - QPoint(50, 0)));
  EXPECT_EQ(state.annotationSlotCounter, 4);
  EXPECT_EQ(chart.annotation(4).kind, AnnotationKind::Cross);
  // The list runs from slot 5 up to the counter, now 4: empty, though slot 5
  // still holds the first cross.
  EXPECT_TRUE(eraseList(chart, state).empty());
  // The next one overwrites slot 5 and is listed.
  ASSERT_TRUE(clickAt(chart, area.center() - QPoint(100, 0)));
  EXPECT_EQ(listedSlots(eraseList(chart, state)), std::vector<int>{5});
}

TEST_F(AnnotationTest, TwoChartsShareTheCounterAndEachListsItsOwnMarks) {
  Chart realTime;
  prepare(realTime);
  ASSERT_TRUE(crossAt(chart, area.center()));
  ASSERT_TRUE(crossAt(realTime, realTime.plotArea().center()));
  EXPECT_EQ(chart.annotation(5).kind, AnnotationKind::Cross);
  EXPECT_EQ(realTime.annotation(6).kind, AnnotationKind::Cross);
  EXPECT_EQ(realTime.annotations().count(5), 0u);
  EXPECT_EQ(listedSlots(eraseList(chart, state)), std::vector<int>{5});
  EXPECT_EQ(listedSlots(eraseList(realTime, state)), std::vector<int>{6});
}

TEST_F(AnnotationTest, ChoosingAToolInOneChartMakesClicksInAnotherFollowIt) {
  Chart other;
  prepare(other);
  selectAnnotationTool(chart, state, AnnotationTool::Cross);
  EXPECT_EQ(chart.pointer(), Chart::Pointer::Cross);
  EXPECT_EQ(other.pointer(), Chart::Pointer::Arrow);
  ASSERT_TRUE(clickAt(other, other.plotArea().center()));
  EXPECT_EQ(other.annotation(5).kind, AnnotationKind::Cross);

  // Opening (or choosing Normal Cursor in) a window ends it everywhere.
  selectAnnotationTool(other, state, AnnotationTool::None);
  EXPECT_FALSE(clickAt(chart, area.center()));
  EXPECT_EQ(state.annotationSlotCounter, 5);
}

TEST_F(AnnotationTest, EachToolHasItsPointer) {
  const auto check = [&](AnnotationTool tool, Chart::Pointer pointer) {
    selectAnnotationTool(chart, state, tool);
    EXPECT_EQ(state.annotationTool, tool);
    EXPECT_EQ(chart.pointer(), pointer) << static_cast<int>(tool);
  };
  check(AnnotationTool::Cross, Chart::Pointer::Cross);
  check(AnnotationTool::Text, Chart::Pointer::Text);
  check(AnnotationTool::None, Chart::Pointer::Arrow);
}

// --- the erase list ---

TEST_F(AnnotationTest, TheListShowsCrossesAndTextsFromSlotFiveToTheCounter) {
  const TDateTime t = at(10, 0, 2);
  chart.setAnnotation(4, {AnnotationKind::None, t, 70, QStringLiteral("below the list")});
  chart.setAnnotation(5, {AnnotationKind::Cross, t, 70, {}});
  chart.setAnnotation(6, {AnnotationKind::None, t, 70, {}});  // erased
  chart.setAnnotation(7, {AnnotationKind::None, at(0, 0, 0), 70, QStringLiteral("midnight")});
  chart.setAnnotation(9, {AnnotationKind::Cross, t, 70, QStringLiteral("a cross shows as X")});
  chart.setAnnotation(11, {AnnotationKind::Cross, t, 70, {}});  // above the counter
  state.annotationSlotCounter = 10;

  const std::vector<EraseListRow> rows = eraseList(chart, state);
  ASSERT_EQ(rows.size(), 3u);
  const auto check = [&](std::size_t row, int number, int slot, const QString& contents, TDateTime time) {
    EXPECT_EQ(rows[row].number, number);
    EXPECT_EQ(rows[row].slot, slot);
    EXPECT_EQ(rows[row].contents, contents);
    EXPECT_EQ(rows[row].time, formats::dateTime(time));
  };
  check(0, 1, 5, QStringLiteral("X"), t);
  check(1, 2, 7, QStringLiteral("midnight"), at(0, 0, 0));
  check(2, 3, 9, QStringLiteral("X"), t);
  EXPECT_EQ(rows[0].time, QStringLiteral("3/1/2024 10:00:02 AM"));
  EXPECT_EQ(rows[1].time, QStringLiteral("3/1/2024"));
}

TEST_F(AnnotationTest, ErasingRowsTwoToThreeOfThreeKeepsTheFirst) {
  selectAnnotationTool(chart, state, AnnotationTool::Cross);
  ASSERT_TRUE(clickAt(chart, area.center() - QPoint(200, 0)));
  selectAnnotationTool(chart, state, AnnotationTool::Text);
  ScriptedText text{QStringLiteral("second")};
  ASSERT_TRUE(clickAt(chart, area.center(), text.asker()));
  selectAnnotationTool(chart, state, AnnotationTool::Cross);
  ASSERT_TRUE(clickAt(chart, area.center() + QPoint(100, 0)));
  const GraphAnnotation second = chart.annotation(6);
  const GraphAnnotation third = chart.annotation(7);

  // Cancel first: nothing changes.
  EXPECT_EQ(eraseAnnotations(chart, state, [](const std::vector<EraseListRow>&) { return std::nullopt; }), 0);
  EXPECT_EQ(eraseList(chart, state).size(), 3u);

  std::vector<EraseListRow> offered;
  const int erased = eraseAnnotations(chart, state, [&](const std::vector<EraseListRow>& rows) {
    offered = rows;
    return std::optional<EraseRowRange>(EraseRowRange{1, 2});
  });
  EXPECT_EQ(erased, 2);
  EXPECT_EQ(listedSlots(offered), (std::vector<int>{5, 6, 7}));
  EXPECT_EQ(chart.annotation(5).kind, AnnotationKind::Cross);
  for (const auto& [slot, before] : {std::pair{6, second}, std::pair{7, third}}) {
    const GraphAnnotation now = chart.annotation(slot);
    EXPECT_EQ(now.kind, AnnotationKind::None) << slot;
    EXPECT_TRUE(now.text.isEmpty()) << slot;
    EXPECT_DOUBLE_EQ(now.x, before.x) << slot;
    EXPECT_DOUBLE_EQ(now.y, before.y) << slot;
  }
  EXPECT_EQ(listedSlots(eraseList(chart, state)), std::vector<int>{5});
}

TEST_F(AnnotationTest, RowRangesAreClippedToTheList) {
  const auto check = [&](EraseRowRange range, int erased, std::vector<int> left) {
    Chart target;
    AnnotationState shared;
    for (int slot = 5; slot <= 8; ++slot) target.setAnnotation(slot, {AnnotationKind::Cross, at(10, 0, 1), 70, {}});
    shared.annotationSlotCounter = 8;
    EXPECT_EQ(eraseRows(target, eraseList(target, shared), range), erased) << range.first << ".." << range.last;
    EXPECT_EQ(listedSlots(eraseList(target, shared)), left) << range.first << ".." << range.last;
  };
  check({0, 0}, 1, {6, 7, 8});
  check({-3, 1}, 2, {7, 8});
  check({2, 99}, 2, {5, 6});
  check({4, 6}, 0, {5, 6, 7, 8});
  check({2, 1}, 0, {5, 6, 7, 8});
}

TEST_F(AnnotationTest, ThreeHundredMarksAreListedAndErasedThroughTheDialog) {
  selectAnnotationTool(chart, state, AnnotationTool::Cross);
  for (int i = 0; i < 300; ++i) ASSERT_TRUE(clickAt(chart, area.topLeft() + QPoint(i % 250, i % 100)));
  EXPECT_EQ(state.annotationSlotCounter, 304);
  const std::vector<EraseListRow> rows = eraseList(chart, state);
  ASSERT_EQ(rows.size(), 300u);
  EXPECT_EQ(rows.back().number, 300);
  EXPECT_EQ(rows.back().slot, 304);

  std::vector<int> slotsInTheGrid;
  ModalAnswer<TfrmDelAnno> answer([&](TfrmDelAnno& dialog) {
    auto* grid = child<QTableWidget>(dialog, "Grid1");
    ASSERT_EQ(grid->rowCount(), 300);
    for (int row = 0; row < grid->rowCount(); ++row) slotsInTheGrid.push_back(grid->item(row, 0)->data(Qt::UserRole).toInt());
    EXPECT_EQ(grid->item(299, 0)->text(), QStringLiteral("300"));
    grid->selectAll();
    child<QPushButton>(dialog, "btnDelete")->click();
  });
  EXPECT_EQ(eraseAnnotations(chart, state, TfrmDelAnno::chooser(&chart)), 300);
  EXPECT_EQ(answer.opened, 1);
  EXPECT_EQ(slotsInTheGrid, listedSlots(rows));
  EXPECT_TRUE(eraseList(chart, state).empty());
}

// --- the dialogs ---

TEST_F(AnnotationTest, TheTextDialogHasNoTitleAndOneFieldAndIsAskedOnAClick) {
  {
    TfrmAnnoEdit dialog;
    EXPECT_TRUE(dialog.windowTitle().isEmpty());
    EXPECT_FALSE(dialog.windowFlags().testFlag(Qt::WindowTitleHint));
    EXPECT_EQ(child<QLineEdit>(dialog, "edtText")->width(), 297);
    EXPECT_EQ(dialog.findChildren<QLineEdit*>().size(), 1);
    EXPECT_EQ(child<QPushButton>(dialog, "btnOK")->text(), QStringLiteral("OK"));
    EXPECT_EQ(child<QPushButton>(dialog, "btnCancel")->text(), QStringLiteral("Cancel"));
  }

  selectAnnotationTool(chart, state, AnnotationTool::Text);
  {
    ModalAnswer<TfrmAnnoEdit> answer([](TfrmAnnoEdit& dialog) {
      EXPECT_TRUE(dialog.isModal());
      QTest::keyClicks(child<QLineEdit>(dialog, "edtText"), QStringLiteral("Door"));
      child<QPushButton>(dialog, "btnOK")->click();
    });
    ASSERT_TRUE(clickAt(chart, area.center(), TfrmAnnoEdit::asker(&chart)));
    EXPECT_EQ(answer.opened, 1);
    EXPECT_EQ(chart.annotation(5).text, QStringLiteral("Door"));
  }
  {
    ModalAnswer<TfrmAnnoEdit> answer([](TfrmAnnoEdit& dialog) {
      QTest::keyClicks(child<QLineEdit>(dialog, "edtText"), QStringLiteral("never"));
      child<QPushButton>(dialog, "btnCancel")->click();
    });
    EXPECT_FALSE(clickAt(chart, area.center(), TfrmAnnoEdit::asker(&chart)));
    EXPECT_EQ(answer.opened, 1);
    EXPECT_EQ(state.annotationSlotCounter, 5);
  }
  // The dialogs are freed once answered.
  EXPECT_TRUE(chart.findChildren<TfrmAnnoEdit*>().isEmpty());
}

TEST(DelAnnoDialog, LooksAsDesignedAndEnablesDeleteOnlyWithRows) {
  const LanguageScope english(Language::English);
  TfrmDelAnno dialog;
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Erase Annotation"));
  EXPECT_TRUE(dialog.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  auto* grid = child<QTableWidget>(dialog, "Grid1");
  ASSERT_EQ(grid->columnCount(), 3);
  const int widths[] = {50, 120, 200};
  const char* headings[] = {"NO", "Time", "Contents"};
  for (int column = 0; column < 3; ++column) {
    EXPECT_EQ(grid->columnWidth(column), widths[column]);
    EXPECT_EQ(grid->horizontalHeaderItem(column)->text(), QString::fromLatin1(headings[column]));
  }
  EXPECT_EQ(grid->selectionBehavior(), QAbstractItemView::SelectRows);
  EXPECT_EQ(grid->selectionMode(), QAbstractItemView::ContiguousSelection);
  EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
  auto* remove = child<QPushButton>(dialog, "btnDelete");
  EXPECT_EQ(remove->text(), QStringLiteral("Delete"));
  EXPECT_FALSE(remove->isEnabled());

  dialog.show();
  const QSize size = dialog.size();
  dialog.setRows({{1, QStringLiteral("3/1/2024 10:00:02 AM"), QStringLiteral("X"), 5},
                  {2, QStringLiteral("3/1/2024 10:00:03 AM"), QStringLiteral("door"), 8}});
  EXPECT_TRUE(remove->isEnabled());
  EXPECT_EQ(grid->rowCount(), 2);
  EXPECT_EQ(grid->item(1, 2)->text(), QStringLiteral("door"));
  EXPECT_EQ(grid->item(1, 0)->data(Qt::UserRole).toInt(), 8);
  // A grid always has a current row: Delete right away takes the first.
  EXPECT_EQ(dialog.selectedRows(), (EraseRowRange{0, 0}));
  EXPECT_EQ(dialog.size(), size);
  EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());

  dialog.setRows({});
  EXPECT_FALSE(remove->isEnabled());
  EXPECT_EQ(dialog.selectedRows(), std::nullopt);
}

TEST(DelAnnoDialog, ALongTimeIsNotCutOff) {
  const QString longTime = QStringLiteral("Wednesday 31 December 2024 11:59:59 PM");
  TfrmDelAnno dialog;
  dialog.setRows({{1, longTime, QStringLiteral("X"), 5}});
  auto* grid = child<QTableWidget>(dialog, "Grid1");
  EXPECT_GT(grid->columnWidth(1), grid->fontMetrics().horizontalAdvance(longTime));
  // "Contents" keeps its width and the grid shows every column without scrolling.
  dialog.show();
  EXPECT_EQ(grid->columnWidth(2), 200);
  EXPECT_GE(grid->viewport()->width(), grid->columnWidth(0) + grid->columnWidth(1) + 200);
}

TEST(DelAnnoDialog, HeadingsFollowTheLanguage) {
  std::optional<LanguageScope> french(Language::French);
  TfrmDelAnno dialog;
  french.reset();
  auto* grid = child<QTableWidget>(dialog, "Grid1");
  EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), QStringLiteral("NO"));
  EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), QStringLiteral("Heure"));
  EXPECT_EQ(grid->horizontalHeaderItem(2)->text(), QStringLiteral("Contenu"));
}

TEST(DelAnnoDialog, DeleteAnswersTheSelectedRunAndCancelNothing) {
  const std::vector<EraseListRow> rows = {{1, QStringLiteral("a"), QStringLiteral("X"), 5},
                                          {2, QStringLiteral("b"), QStringLiteral("X"), 6},
                                          {3, QStringLiteral("c"), QStringLiteral("X"), 7}};
  {
    ModalAnswer<TfrmDelAnno> answer([](TfrmDelAnno& dialog) {
      auto* grid = child<QTableWidget>(dialog, "Grid1");
      // Click row 2, shift-click row 3.
      const QPoint second = grid->visualItemRect(grid->item(1, 1)).center();
      const QPoint third = grid->visualItemRect(grid->item(2, 1)).center();
      QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, second);
      QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ShiftModifier, third);
      child<QPushButton>(dialog, "btnDelete")->click();
    });
    EXPECT_EQ(TfrmDelAnno::chooseRows(rows, nullptr), (EraseRowRange{1, 2}));
    EXPECT_EQ(answer.opened, 1);
  }
  {
    ModalAnswer<TfrmDelAnno> answer([](TfrmDelAnno& dialog) { child<QPushButton>(dialog, "btnCancel")->click(); });
    EXPECT_EQ(TfrmDelAnno::chooseRows(rows, nullptr), std::nullopt);
    EXPECT_EQ(answer.opened, 1);
  }
}

}  // namespace
