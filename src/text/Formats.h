#pragma once
// Every number, date and time the user sees is formatted here, in the user's locale:
// QLocale() as it stands, which the desktop leaves at the system's and tests pin with
// QLocale::setDefault. Text files are written with these formats and read back with
// the parsers below, under the same settings.

#include <optional>

#include <QChar>
#include <QString>

#include "link/TDateTime.h"

namespace formats {

// A level in dB, and every other value shown with one decimal (sampling rates,
// averages): fixed notation, exactly one decimal, at most 7 significant digits, the
// user's decimal separator, no group separator, no unit. 65.4 → "65.4" / "65,4".
QString level(double dB);

// The user's short date format with a two-digit year widened to four, so that
// dates written to files keep their century ("M/d/yy" → "M/d/yyyy").
QString shortDateFormat();
// The user's long time format without its time-zone name ("h:mm:ss AP t" → "h:mm:ss AP").
QString longTimeFormat();

QString shortDate(TDateTime value);
QString longTime(TDateTime value);
// Short date, a blank, long time. At exactly midnight (to the second) the time is
// left out: a data set started at 00:00:00 shows its date alone.
QString dateTime(TDateTime value);
// "HH:mm:ss", 24-hour in every locale (the meter clock, the grid's TIME column).
QString clockTime(TDateTime value);
// "HH:mm:ss." + milliseconds in decimal without leading zeros: 5 ms gives
// "14:03:07.5" and 500 ms "14:03:07.500" — the time column of .txt and .csv files.
QString clockTimeWithMilliseconds(TDateTime value);

// Reads a date as dateTime() or the text files write it: the short date, then
// optionally a blank and a time, either in the long time format or as
// H:mm[:ss[.milliseconds]] (milliseconds as clockTimeWithMilliseconds writes them).
// A date alone is midnight. Nothing when the text does not read as a date.
std::optional<TDateTime> parseDateTime(const QString& text);
// A decimal number in the user's format (the user's decimal separator, no group
// separators); blanks around it are ignored. Nothing when it does not read as one.
std::optional<double> parseNumber(const QString& text);

// The rules shortDateFormat() and longTimeFormat() apply, on any Qt format string.
// Quoted literal text ('...') is left as it stands.
QString widenTwoDigitYear(const QString& format);
QString withoutTimeZone(const QString& format);

// What the meter-clock read-back needs to know of the user's short date format.
struct DateFormatInfo {
  QChar dateSeparator;  // the first of '/', '-', '.', ',' found; '-' when none is
  // 1 day-month-year, 2 month-day-year, 3 year-month-day, 4 year-day-month
  int dateOrder;
};
// Takes the format as given (the desktop passes QLocale().dateFormat(QLocale::ShortFormat));
// its letter tests are case-sensitive, so "M" is not "m".
DateFormatInfo analyseShortDateFormat(const QString& format);

}  // namespace formats
