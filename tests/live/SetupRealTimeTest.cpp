// TfrmSetupRealTime: its controls and texts, the presets rewritten in the user's
// number format on show, the period recomputed on the user's edits only, and the
// answer it gives Run.

#include <gtest/gtest.h>

#include <ostream>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "live/SetupRealTime.h"
#include "text/Texts.h"

// Readable failures.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace {

struct LocaleGuard {
  explicit LocaleGuard(const QLocale& locale) { QLocale::setDefault(locale); }
  ~LocaleGuard() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
};

QStringList itemsOf(const QComboBox* box) {
  QStringList items;
  for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
  return items;
}

QString textOf(const QWidget& root, const char* name) {
  const auto* label = root.findChild<QLabel*>(QString::fromLatin1(name));
  return label ? label->text() : QStringLiteral("<missing %1>").arg(QString::fromLatin1(name));
}

TEST(SetupRealTime, ControlsAndTexts) {
  ScriptedPrompts prompts;
  TfrmSetupRealTime dialog(prompts);
  EXPECT_EQ(dialog.windowTitle(), "Real-Time Setup");
  EXPECT_TRUE(dialog.isModal());
  EXPECT_TRUE(dialog.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(textOf(dialog, "Label1"), "Real-Time data no to be recorded");
  EXPECT_EQ(textOf(dialog, "Label2"), "(Adjust the number to meet your need)");
  EXPECT_EQ(textOf(dialog, "Label3"), "Real -Time Sampling Rate");
  EXPECT_EQ(textOf(dialog, "Label4"), "second");
  EXPECT_EQ(textOf(dialog, "Label5"), "Recording Period");
  EXPECT_EQ(textOf(dialog, "Label6"), "HH:MM:SS");
  EXPECT_EQ(dialog.findChild<QPushButton*>("btnOpenSingleSet"), dialog.btnOpenSingleSet);
  EXPECT_EQ(dialog.btnOpenSingleSet->text(), "Start");
  EXPECT_EQ(dialog.findChild<QPushButton*>("Button1"), dialog.Button1);
  EXPECT_EQ(dialog.Button1->text(), "Cancel");

  EXPECT_EQ(dialog.findChild<QLineEdit*>("edtRealTimeNo"), dialog.edtRealTimeNo);
  EXPECT_EQ(dialog.edtRealTimeNo->text(), "2000");
  EXPECT_EQ(dialog.countText().trimmed(), "2000");
  EXPECT_EQ(dialog.findChild<QComboBox*>("txtRate"), dialog.txtRate);
  EXPECT_TRUE(dialog.txtRate->isEditable());
  EXPECT_EQ(dialog.rateText(), "0.1");
  EXPECT_EQ(itemsOf(dialog.txtRate),
            (QStringList{"0.1", "0.2", "0.5", "1.0", "2.0", "5.0", "10.0", "20.0", "30.0"}));
  EXPECT_EQ(dialog.findChild<QLineEdit*>("edtPeriod"), dialog.edtPeriod);
  EXPECT_TRUE(dialog.edtPeriod->isReadOnly());
}

TEST(SetupRealTime, CountTakesUpToFiveDigits) {
  ScriptedPrompts prompts;
  TfrmSetupRealTime dialog(prompts);
  dialog.show();
  dialog.edtRealTimeNo->selectAll();
  QTest::keyClicks(dialog.edtRealTimeNo, "12a3456");
  EXPECT_EQ(dialog.countText(), "12345");
  // A place emptied in the middle stays a blank, which Run refuses.
  dialog.edtRealTimeNo->setCursorPosition(2);
  QTest::keyClick(dialog.edtRealTimeNo, Qt::Key_Delete);
  EXPECT_EQ(dialog.countText(), "12 45");
}

TEST(SetupRealTime, ShowRewritesThePresetsAndKeepsWhatRunPutThere) {
  LocaleGuard french(QLocale(QLocale::French, QLocale::France));
  ScriptedPrompts prompts;
  TfrmSetupRealTime dialog(prompts);
  dialog.setRateText(QStringLiteral("0,6"));
  dialog.setPeriodText(QStringLiteral("0:20:0"));
  dialog.show();
  EXPECT_EQ(itemsOf(dialog.txtRate),
            (QStringList{"0,1", "0,2", "0,5", "1,0", "2,0", "5,0", "10,0", "20,0", "30,0"}));
  EXPECT_EQ(dialog.rateText(), "0,6");
  EXPECT_EQ(dialog.periodText(), "0:20:0");
  EXPECT_TRUE(prompts.asked.empty());
}

TEST(SetupRealTime, EditsRecomputeThePeriod) {
  ScriptedPrompts prompts;
  TfrmSetupRealTime dialog(prompts);
  dialog.setRateText(QStringLiteral("0.1"));
  dialog.setPeriodText(QStringLiteral("0:3:20"));
  dialog.show();
  EXPECT_EQ(dialog.periodText(), "0:3:20");

  dialog.edtRealTimeNo->selectAll();
  QTest::keyClicks(dialog.edtRealTimeNo, "2000");  // the same count, typed again
  EXPECT_EQ(dialog.periodText(), "0:03:20");
  dialog.txtRate->setCurrentIndex(8);  // chosen from the list
  EXPECT_EQ(dialog.periodText(), "16:40:00");
  dialog.edtRealTimeNo->setText(QStringLiteral("99999"));
  EXPECT_EQ(dialog.periodText(), "833:19:30");
  dialog.txtRate->lineEdit()->selectAll();
  QTest::keyClicks(dialog.txtRate->lineEdit(), "0.6");
  EXPECT_EQ(dialog.periodText(), "16:39:59");
  dialog.edtRealTimeNo->clear();  // no count reads as 0
  EXPECT_EQ(dialog.periodText(), "0:00:00");
  EXPECT_TRUE(prompts.asked.empty());
}

TEST(SetupRealTime, RateThatIsNotANumberShowsTheConversionError) {
  ScriptedPrompts prompts;
  TfrmSetupRealTime dialog(prompts);
  dialog.show();
  dialog.edtRealTimeNo->setText(QStringLiteral("100"));
  ASSERT_EQ(dialog.periodText(), "0:00:10");
  dialog.txtRate->setEditText(QStringLiteral("fast"));
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(prompts.asked[0].kind, PromptKind::Error);
  EXPECT_EQ(prompts.asked[0].text, "'fast' is not a valid floating point value");
  EXPECT_EQ(dialog.periodText(), "0:00:10");
}

TEST(SetupRealTime, AskGivesTheFieldsOnStartAndNothingOnCancel) {
  ScriptedPrompts prompts;
  auto answerWith = [](const char* buttonName, const char* count) {
    QTimer::singleShot(0, [=] {
      auto* dialog = qobject_cast<TfrmSetupRealTime*>(QApplication::activeModalWidget());
      if (!dialog) return;
      dialog->edtRealTimeNo->setText(QString::fromLatin1(count));
      dialog->findChild<QPushButton*>(QString::fromLatin1(buttonName))->click();
    });
  };
  answerWith("btnOpenSingleSet", "300");
  const auto started = askRealTimeSetup(prompts, nullptr, {QStringLiteral("0.2"), QStringLiteral("0:6:40")});
  ASSERT_TRUE(started.has_value());
  EXPECT_EQ(started->rateText, "0.2");
  EXPECT_EQ(started->countText.trimmed(), "300");

  answerWith("Button1", "300");
  EXPECT_FALSE(askRealTimeSetup(prompts, nullptr, {QStringLiteral("0.2"), QStringLiteral("0:6:40")}).has_value());
}

}  // namespace
