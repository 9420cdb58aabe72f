#pragma once
// Every date and time the program keeps (start times, sample times, chart X values)
// is a TDateTime: days since 30 December 1899 as a double, the fraction being the
// time of day. The meter's files and the chart templates rely on this convention, so
// all conversions to and from Qt's types live here and nowhere else.

#include <cmath>

#include <QDateTime>

using TDateTime = double;

namespace datetime {

inline constexpr double kSecondsPerDay = 86400.0;
inline constexpr double kMsPerDay = 86400000.0;
// Days between 30 Dec 1899 and the Unix epoch 1 Jan 1970.
inline constexpr double kUnixEpochDays = 25569.0;
// One second as the meter-era code stored it: the single-precision value of 1/86400.
inline constexpr double kOneSecondSingle = 1.1574074051168282e-05;

// Inline so that libraries which only format or parse dates (the text tables) need
// the header and not the serial library.
inline QDate baseDate() { return QDate(1899, 12, 30); }

// Local date-time → TDateTime. Only the wall-clock fields count, as on the meter's
// side: a reading at 10:00 local is 10:00 in every file.
inline TDateTime fromQDateTime(const QDateTime& value) {
  const double days = static_cast<double>(baseDate().daysTo(value.date()));
  const double fraction = value.time().msecsSinceStartOfDay() / kMsPerDay;
  // Before the base date the fraction still counts forward within the day, as in
  // the original date type; no stored data reaches back that far, so keep it simple.
  return days + fraction;
}

// TDateTime → local date-time, rounded to the millisecond.
inline QDateTime toQDateTime(TDateTime value) {
  const double wholeDays = std::floor(value);
  qint64 ms = std::llround((value - wholeDays) * kMsPerDay);
  qint64 days = static_cast<qint64>(wholeDays);
  if (ms >= static_cast<qint64>(kMsPerDay)) {
    ms -= static_cast<qint64>(kMsPerDay);
    ++days;
  }
  return QDateTime(baseDate().addDays(days), QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms)));
}

inline TDateTime fromSeconds(double seconds) { return seconds / kSecondsPerDay; }
inline double toSeconds(TDateTime days) { return days * kSecondsPerDay; }

// The chart's date-time axis counts seconds since 1970 with the wall-clock fields
// taken as UTC, so that the ticks show the local times the data were taken at.
inline double toPlotKey(TDateTime value) { return (value - kUnixEpochDays) * kSecondsPerDay; }
inline TDateTime fromPlotKey(double key) { return key / kSecondsPerDay + kUnixEpochDays; }

}  // namespace datetime
