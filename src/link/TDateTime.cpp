#include "link/TDateTime.h"

#include <cmath>

namespace datetime {

namespace {
const QDate kBaseDate(1899, 12, 30);
}

TDateTime fromQDateTime(const QDateTime& value) {
  const QDate date = value.date();
  const QTime time = value.time();
  const double days = static_cast<double>(kBaseDate.daysTo(date));
  const double fraction = time.msecsSinceStartOfDay() / kMsPerDay;
  // Before the base date the fraction still counts forward within the day, as in
  // the original date type; no stored data reaches back that far, so keep it simple.
  return days + fraction;
}

QDateTime toQDateTime(TDateTime value) {
  const double wholeDays = std::floor(value);
  qint64 ms = std::llround((value - wholeDays) * kMsPerDay);
  qint64 days = static_cast<qint64>(wholeDays);
  if (ms >= static_cast<qint64>(kMsPerDay)) {
    ms -= static_cast<qint64>(kMsPerDay);
    ++days;
  }
  return QDateTime(kBaseDate.addDays(days), QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms)));
}

}  // namespace datetime
