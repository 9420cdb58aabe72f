// A new start date and time for a data set: the change in the collection, the
// grid cells, and the "Date Time" dialog (offscreen).

#include <gtest/gtest.h>

#include <functional>

#include <QApplication>
#include <QDateEdit>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimeEdit>
#include <QTimer>

#include "support/DialogTest.h"
#include "data/DataSetCollection.h"
#include "graph/DateTimeDialog.h"
#include "link/VirtualClock.h"
#include "text/Formats.h"

namespace {

TDateTime at(QDate date, QTime time) { return datetime::fromQDateTime(QDateTime(date, time)); }

using dialogtest::ModalAnswer;
using dialogtest::child;

ParsedDataSet dataSet(TDateTime start, std::int32_t interval, std::vector<float> levels) {
  ParsedDataSet result;
  result.header.startTime = start;
  result.header.samplingInterval = interval;
  result.header.sampleCount = static_cast<std::int32_t>(levels.size());
  result.header.modeByte = 0x08;
  result.levels = std::move(levels);
  return result;
}

// Three data sets recorded on 2023-12-24; the middle one has 5 samples 2 s apart.
class ChangeDateTimeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const QDate day(2023, 12, 24);
    ASSERT_TRUE(collection.replaceFromImage({dataSet(at(day, QTime(9, 0)), 1, {60, 61, 62}),
                                             dataSet(at(day, QTime(10, 0)), 2, {70, 71, 72, 73, 74}),
                                             dataSet(at(day, QTime(11, 0)), 5, {80, 81})}));
    before = collection;
  }

  // A chooser that answers from the test and counts the questions.
  DateTimeChooser answering(std::optional<TDateTime> answer) {
    return [this, answer] {
      ++asked;
      return answer;
    };
  }

  void expectUnchanged(int d) {
    const auto now = collection.dataSet(d);
    const auto was = before.dataSet(d);
    ASSERT_TRUE(now && was);
    EXPECT_EQ(now->startTime, was->startTime) << d;
    EXPECT_TRUE(std::equal(now->sampleTimes.begin(), now->sampleTimes.end(), was->sampleTimes.begin(),
                           was->sampleTimes.end()))
        << d;
    EXPECT_EQ(collection.gridRow(d), before.gridRow(d)) << d;
  }

  DataSetCollection collection;
  DataSetCollection before;
  int asked = 0;
};

TEST_F(ChangeDateTimeTest, TheSamplesFollowTheNewStartAndOtherDataSetsKeepTheirs) {
  const TDateTime chosen = at(QDate(2024, 3, 1), QTime(8, 0, 0));
  EXPECT_EQ(changeDataSetDateTime(collection, 1, answering(chosen)), chosen);
  EXPECT_EQ(asked, 1);

  const auto changed = collection.dataSet(1);
  ASSERT_TRUE(changed);
  EXPECT_EQ(changed->startTime, chosen);
  ASSERT_EQ(changed->sampleTimes.size(), 5u);
  const char* expected[] = {"08:00:00", "08:00:02", "08:00:04", "08:00:06", "08:00:08"};
  for (int k = 0; k < 5; ++k) {
    const TDateTime time = changed->sampleTimes[static_cast<std::size_t>(k)];
    EXPECT_EQ(formats::clockTime(time), QString::fromLatin1(expected[k])) << k;
    EXPECT_EQ(datetime::toQDateTime(time).date(), QDate(2024, 3, 1)) << k;
  }
  // Levels, interval and statistics stay.
  const auto was = before.dataSet(1);
  EXPECT_TRUE(std::equal(changed->levels.begin(), changed->levels.end(), was->levels.begin(), was->levels.end()));
  EXPECT_EQ(changed->samplingInterval, 2);
  EXPECT_EQ(changed->maxIndex, was->maxIndex);
  EXPECT_EQ(changed->averageLevel, was->averageLevel);
  expectUnchanged(0);
  expectUnchanged(2);

  // The grid row the window rewrites reads as the cells helper gives them.
  const DataSetDateTimeCells cells = dataSetDateTimeCells(chosen);
  EXPECT_EQ(cells.date, QStringLiteral("3/1/2024"));
  EXPECT_EQ(cells.time, QStringLiteral("08:00:00"));
  const QStringList row = collection.gridRow(1);
  EXPECT_EQ(row.at(1), cells.date);
  EXPECT_EQ(row.at(2), cells.time);
}

TEST_F(ChangeDateTimeTest, CancelChangesNothing) {
  EXPECT_EQ(changeDataSetDateTime(collection, 1, answering(std::nullopt)), std::nullopt);
  EXPECT_EQ(asked, 1);
  for (int d = 0; d < 3; ++d) expectUnchanged(d);
}

TEST_F(ChangeDateTimeTest, NoDataSetAsksNothing) {
  for (int d : {-1, 3, 100}) {
    EXPECT_EQ(changeDataSetDateTime(collection, d, answering(at(QDate(2024, 3, 1), QTime(8, 0)))), std::nullopt) << d;
  }
  DataSetCollection empty;
  EXPECT_EQ(changeDataSetDateTime(empty, 0, answering(at(QDate(2024, 3, 1), QTime(8, 0)))), std::nullopt);
  EXPECT_EQ(asked, 0);
  for (int d = 0; d < 3; ++d) expectUnchanged(d);
}

TEST(DataSetDateTimeCells, ShortDateAndTheTwentyFourHourClock) {
  const auto check = [](QDateTime moment, const char* date, const char* time) {
    const DataSetDateTimeCells cells = dataSetDateTimeCells(datetime::fromQDateTime(moment));
    EXPECT_EQ(cells.date, QString::fromLatin1(date));
    EXPECT_EQ(cells.time, QString::fromLatin1(time));
  };
  check(QDateTime(QDate(2024, 3, 1), QTime(8, 0, 0)), "3/1/2024", "08:00:00");
  check(QDateTime(QDate(2024, 12, 31), QTime(23, 59, 59)), "12/31/2024", "23:59:59");
  check(QDateTime(QDate(2001, 1, 9), QTime(0, 0, 0)), "1/9/2001", "00:00:00");
}

// --- the dialog ---

TEST(DateTimeDialog, LooksAsDesigned) {
  const TDateTime moment = at(QDate(2024, 3, 1), QTime(14, 3, 7));
  TfrmDateTime dialog(moment);
  dialog.show();
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Date Time"));
  EXPECT_TRUE(dialog.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(dialog.isModal());
  auto* date = child<QDateEdit>(dialog, "DatePicker");
  auto* time = child<QTimeEdit>(dialog, "TimePicker");
  ASSERT_TRUE(date && time);
  EXPECT_TRUE(date->calendarPopup());
  EXPECT_TRUE(time->displayFormat().contains(QStringLiteral("ss")));
  EXPECT_EQ(date->date(), QDate(2024, 3, 1));
  EXPECT_EQ(time->time(), QTime(14, 3, 7));
  EXPECT_EQ(time->text(), QStringLiteral("2:03:07 PM"));
  // Side by side, the date first.
  EXPECT_LT(date->geometry().right(), time->geometry().left());
  EXPECT_LT(std::abs(date->geometry().center().y() - time->geometry().center().y()), 3);
  EXPECT_EQ(child<QPushButton>(dialog, "btnOK")->text(), QStringLiteral("OK"));
  EXPECT_EQ(child<QPushButton>(dialog, "btnCancel")->text(), QStringLiteral("Cancel"));
  // No stray labels.
  EXPECT_TRUE(dialog.findChildren<QLabel*>().isEmpty());
}

TEST(DateTimeDialog, OkWithoutTouchingGivesTheMomentItOpened) {
  // A moment with milliseconds: nothing of it is lost on the way.
  const TDateTime opened = at(QDate(2024, 3, 1), QTime(14, 3, 7, 250));
  VirtualClock clock(opened);
  const DateTimeChooser choose = TfrmDateTime::chooser(clock, nullptr);
  clock.runFor(60'000);  // the chooser reads the clock when it is called, not when made
  ModalAnswer<TfrmDateTime> answer([](TfrmDateTime& dialog) { child<QPushButton>(dialog, "btnOK")->click(); });
  const std::optional<TDateTime> chosen = choose();
  EXPECT_EQ(answer.opened, 1);
  ASSERT_TRUE(chosen);
  EXPECT_NEAR(datetime::toSeconds(*chosen - clock.now()), 0.0, 0.0005);
  EXPECT_EQ(datetime::toQDateTime(*chosen), QDateTime(QDate(2024, 3, 1), QTime(14, 4, 7, 250)));
}

TEST(DateTimeDialog, ThePickedDateAndTimeChangeTheDataSetAndCancelDoesNot) {
  DataSetCollection collection;
  ASSERT_TRUE(collection.replaceFromImage({dataSet(at(QDate(2023, 12, 24), QTime(10, 0)), 2, {70, 71, 72, 73, 74})}));
  VirtualClock clock(at(QDate(2025, 6, 30), QTime(17, 45, 12)));
  {
    ModalAnswer<TfrmDateTime> answer([](TfrmDateTime& dialog) {
      child<QDateEdit>(dialog, "DatePicker")->setDate(QDate(2024, 3, 1));
      child<QTimeEdit>(dialog, "TimePicker")->setTime(QTime(8, 0, 0));
      child<QPushButton>(dialog, "btnOK")->click();
    });
    const auto changed = changeDataSetDateTime(collection, 0, TfrmDateTime::chooser(clock, nullptr));
    EXPECT_EQ(answer.opened, 1);
    EXPECT_EQ(changed, at(QDate(2024, 3, 1), QTime(8, 0, 0)));
    EXPECT_EQ(formats::clockTime(collection.sampleTimes().back()), QStringLiteral("08:00:08"));
  }
  {
    ModalAnswer<TfrmDateTime> answer([](TfrmDateTime& dialog) {
      child<QDateEdit>(dialog, "DatePicker")->setDate(QDate(2020, 1, 1));
      child<QPushButton>(dialog, "btnCancel")->click();
    });
    EXPECT_EQ(changeDataSetDateTime(collection, 0, TfrmDateTime::chooser(clock, nullptr)), std::nullopt);
    EXPECT_EQ(answer.opened, 1);
    EXPECT_EQ(collection.startTime().front(), at(QDate(2024, 3, 1), QTime(8, 0, 0)));
  }
}

}  // namespace
