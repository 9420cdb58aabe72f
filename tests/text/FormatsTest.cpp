#include <gtest/gtest.h>

#include <QDateTime>
#include <QLocale>

#include "link/TDateTime.h"
#include "text/Formats.h"

namespace {

// Pins a locale for one test and puts back the en_US the test programs run in.
class InLocale {
 public:
  explicit InLocale(QLocale::Language language, QLocale::Territory territory = QLocale::AnyTerritory) {
    QLocale::setDefault(QLocale(language, territory));
  }
  ~InLocale() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
  InLocale(const InLocale&) = delete;
  InLocale& operator=(const InLocale&) = delete;
};

TDateTime at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0, int ms = 0) {
  return datetime::fromQDateTime(QDateTime(QDate(year, month, day), QTime(hour, minute, second, ms)));
}

void checkLevel(double dB, const char* english, const char* french) {
  {
    InLocale locale(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(formats::level(dB), QString::fromUtf8(english)) << dB << " in en_US";
  }
  {
    InLocale locale(QLocale::French, QLocale::France);
    EXPECT_EQ(formats::level(dB), QString::fromUtf8(french)) << dB << " in fr_FR";
  }
}

TEST(Formats, LevelHasOneDecimalAndTheUsersSeparator) {
  checkLevel(65.4, "65.4", "65,4");
  checkLevel(static_cast<float>(65.4), "65.4", "65,4");  // levels are kept as 32-bit floats
  checkLevel(30, "30.0", "30,0");
  checkLevel(0, "0.0", "0,0");
  checkLevel(-12.3, "-12.3", "-12,3");
  checkLevel(-0.04, "0.0", "0,0");  // rounds to zero: no sign
  checkLevel(62.5, "62.5", "62,5");
  checkLevel(65.25, "65.3", "65,3");  // a true half rounds away from zero
  checkLevel(65.349, "65.3", "65,3");
  checkLevel(99.96, "100.0", "100,0");
  // French would group thousands with U+202F, German with '.'.
  checkLevel(1234.5, "1234.5", "1234,5");
  checkLevel(-98765.4, "-98765.4", "-98765,4");
  // Seven significant digits at most.
  checkLevel(1234567.89, "1234568.0", "1234568,0");
}

TEST(Formats, LevelNeverGroupsThousands) {
  InLocale locale(QLocale::German, QLocale::Germany);
  EXPECT_EQ(formats::level(123456.7), QStringLiteral("123456,7"));
}

TEST(Formats, ShortDateKeepsFourDigitYears) {
  const TDateTime day = at(2026, 12, 9, 14, 3, 7);
  {
    InLocale locale(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(formats::shortDateFormat(), QStringLiteral("M/d/yyyy"));
    EXPECT_EQ(formats::shortDate(day), QStringLiteral("12/9/2026"));
  }
  {
    InLocale locale(QLocale::French, QLocale::France);
    EXPECT_EQ(formats::shortDate(day), QStringLiteral("09/12/2026"));
  }
  {
    InLocale locale(QLocale::German, QLocale::Germany);  // "dd.MM.yy"
    EXPECT_EQ(formats::shortDate(day), QStringLiteral("09.12.2026"));
  }
  // Before 2000 too: the century must survive.
  EXPECT_EQ(formats::shortDate(at(1999, 1, 2)), QStringLiteral("1/2/1999"));
}

TEST(Formats, LongTimeHasNoTimeZoneName) {
  const TDateTime afternoon = at(2026, 12, 9, 14, 3, 7);
  {
    InLocale locale(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(formats::longTime(afternoon), QStringLiteral("2:03:07 PM"));
  }
  {
    InLocale locale(QLocale::French, QLocale::France);
    EXPECT_EQ(formats::longTime(afternoon), QStringLiteral("14:03:07"));
  }
  {
    InLocale locale(QLocale::Chinese, QLocale::China);  // the zone comes first there: "t HH:mm:ss"
    EXPECT_EQ(formats::longTime(afternoon), QStringLiteral("14:03:07"));
  }
}

TEST(Formats, DateTimeLeavesOutTheTimeAtMidnight) {
  EXPECT_EQ(formats::dateTime(at(2026, 12, 9, 14, 3, 7)), QStringLiteral("12/9/2026 2:03:07 PM"));
  EXPECT_EQ(formats::dateTime(at(2026, 12, 9)), QStringLiteral("12/9/2026"));
  EXPECT_EQ(formats::dateTime(at(2026, 12, 9, 0, 0, 1)), QStringLiteral("12/9/2026 12:00:01 AM"));
  // Below a second the long time would still read 00:00:00.
  EXPECT_EQ(formats::dateTime(at(2026, 12, 9, 0, 0, 0, 400)), QStringLiteral("12/9/2026"));
  InLocale locale(QLocale::French, QLocale::France);
  EXPECT_EQ(formats::dateTime(at(2026, 12, 9, 14, 3, 7)), QStringLiteral("09/12/2026 14:03:07"));
}

TEST(Formats, ClockTimeIs24HourInEveryLocale) {
  EXPECT_EQ(formats::clockTime(at(2026, 12, 9, 14, 3, 7)), QStringLiteral("14:03:07"));
  EXPECT_EQ(formats::clockTime(at(2026, 12, 9, 9, 5, 30)), QStringLiteral("09:05:30"));
  EXPECT_EQ(formats::clockTime(at(2026, 12, 9)), QStringLiteral("00:00:00"));
  // Half a millisecond before midnight rounds to the next day's midnight.
  EXPECT_EQ(formats::clockTime(at(2026, 12, 10) - 0.4 / datetime::kMsPerDay), QStringLiteral("00:00:00"));
}

TEST(Formats, ClockTimeWithMillisecondsWritesThemWithoutLeadingZeros) {
  EXPECT_EQ(formats::clockTimeWithMilliseconds(at(2026, 12, 9, 14, 3, 7, 0)), QStringLiteral("14:03:07.0"));
  EXPECT_EQ(formats::clockTimeWithMilliseconds(at(2026, 12, 9, 14, 3, 7, 5)), QStringLiteral("14:03:07.5"));
  EXPECT_EQ(formats::clockTimeWithMilliseconds(at(2026, 12, 9, 14, 3, 7, 500)), QStringLiteral("14:03:07.500"));
  EXPECT_EQ(formats::clockTimeWithMilliseconds(at(2026, 12, 9, 8, 0, 0, 999)), QStringLiteral("08:00:00.999"));
}

void checkWiden(const char* format, const char* expected) {
  EXPECT_EQ(formats::widenTwoDigitYear(QString::fromUtf8(format)), QString::fromUtf8(expected)) << format;
}

TEST(Formats, WidenTwoDigitYear) {
  checkWiden("M/d/yy", "M/d/yyyy");
  checkWiden("dd.MM.yy", "dd.MM.yyyy");
  checkWiden("yy-MM-dd", "yyyy-MM-dd");
  checkWiden("dd/MM/yyyy", "dd/MM/yyyy");
  checkWiden("yyyy. MM. dd.", "yyyy. MM. dd.");
  checkWiden("d 'yy' yy", "d 'yy' yyyy");     // quoted text is literal
  checkWiden("d 'it''s' yy", "d 'it''s' yyyy");
  checkWiden("", "");
}

void checkZone(const char* format, const char* expected) {
  EXPECT_EQ(formats::withoutTimeZone(QString::fromUtf8(format)), QString::fromUtf8(expected)) << format;
}

TEST(Formats, WithoutTimeZone) {
  checkZone("h:mm:ss AP t", "h:mm:ss AP");
  checkZone("HH:mm:ss t", "HH:mm:ss");
  checkZone("t HH:mm:ss", "HH:mm:ss");
  checkZone("H時mm分ss秒 t", "H時mm分ss秒");
  checkZone("HH:mm:ss", "HH:mm:ss");
  checkZone("HH:mm:ss 'at' t", "HH:mm:ss 'at'");
  checkZone("HH 'to' mm", "HH 'to' mm");  // a quoted t is text
}

void checkDateFormat(const char* format, char separator, int order) {
  const formats::DateFormatInfo info = formats::analyseShortDateFormat(QString::fromUtf8(format));
  EXPECT_EQ(info.dateSeparator, QChar::fromLatin1(separator)) << format;
  EXPECT_EQ(info.dateOrder, order) << format;
}

TEST(Formats, AnalyseShortDateFormat) {
  checkDateFormat("dd/MM/yyyy", '/', 1);
  checkDateFormat("M/d/yyyy", '/', 2);    // "M/" holds no lower-case letter
  checkDateFormat("yyyy-MM-dd", '-', 4);  // part 2 "MM-" holds no lower-case m
  checkDateFormat("yyyy.mm.dd", '.', 3);
  checkDateFormat("mm/dd/yyyy", '/', 2);
  checkDateFormat("yyyy/dd/mm", '/', 4);
  checkDateFormat("d,M,yyyy", ',', 1);
  checkDateFormat("dd.MM.yy", '.', 1);
  // '/' is looked for before '-', whatever comes first in the format.
  checkDateFormat("dd-MM/yyyy", '/', 1);
  checkDateFormat("yyyy-mm/dd", '/', 2);  // part 1 is "yyyy-mm/": m is tested before y
  // Without a separator the order is the month-day-year default.
  checkDateFormat("ddMMyyyy", '-', 2);
  checkDateFormat("yyyyMMdd", '-', 2);
  checkDateFormat("", '-', 2);
}

TEST(Formats, ParseDateTimeReadsBackWhatWasWritten) {
  const TDateTime written = at(2026, 12, 9, 14, 3, 7);
  for (QLocale::Language language : {QLocale::English, QLocale::French, QLocale::German, QLocale::Hungarian}) {
    InLocale locale(language);
    const QString text = formats::dateTime(written);
    const std::optional<TDateTime> read = formats::parseDateTime(text);
    ASSERT_TRUE(read.has_value()) << text.toStdString();
    EXPECT_NEAR(*read, written, 0.5 / datetime::kMsPerDay) << text.toStdString();
  }
}

TEST(Formats, ParseDateTimeReadsTextFileColumns) {
  auto check = [](const char* text, std::optional<TDateTime> expected) {
    const std::optional<TDateTime> read = formats::parseDateTime(QString::fromUtf8(text));
    ASSERT_EQ(read.has_value(), expected.has_value()) << text;
    if (expected) {
      EXPECT_NEAR(*read, *expected, 0.5 / datetime::kMsPerDay) << text;
    }
  };
  check("12/9/2026 14:03:07.5", at(2026, 12, 9, 14, 3, 7, 5));  // ".5" is 5 ms, as written
  check("12/9/2026 14:03:07.500", at(2026, 12, 9, 14, 3, 7, 500));
  check("12/9/2026 14:03:07", at(2026, 12, 9, 14, 3, 7));
  check("12/9/2026 2:03:07 PM", at(2026, 12, 9, 14, 3, 7));
  check("  12/9/2026   14:03  ", at(2026, 12, 9, 14, 3));
  check("12/9/2026", at(2026, 12, 9));
  check("", std::nullopt);
  check("hello", std::nullopt);
  check("13/45/2026 14:03:07", std::nullopt);
  check("12/9/2026 25:00:00", std::nullopt);
  check("12/9/2026 14:03:07.5000", std::nullopt);
  check("12/9/2026 nonsense", std::nullopt);
}

TEST(Formats, ParseNumberTakesTheUsersDecimalSeparatorOnly) {
  EXPECT_EQ(formats::parseNumber(QStringLiteral("0.6")), 0.6);
  EXPECT_EQ(formats::parseNumber(QStringLiteral(" 65.4 ")), 65.4);
  EXPECT_EQ(formats::parseNumber(QStringLiteral("-3")), -3.0);
  EXPECT_FALSE(formats::parseNumber(QStringLiteral("1,5")).has_value());
  EXPECT_FALSE(formats::parseNumber(QStringLiteral("abc")).has_value());
  EXPECT_FALSE(formats::parseNumber(QString()).has_value());
  InLocale locale(QLocale::French, QLocale::France);
  EXPECT_EQ(formats::parseNumber(QStringLiteral("65,4")), 65.4);
  EXPECT_FALSE(formats::parseNumber(QStringLiteral("65.4")).has_value());
  // What level() writes reads back.
  EXPECT_EQ(formats::parseNumber(formats::level(123456.7)), 123456.7);
}

}  // namespace
