#include "text/Formats.h"

#include <cmath>

#include <QDate>
#include <QLocale>
#include <QRegularExpression>
#include <QTime>

namespace formats {

namespace {

// Calls f(run, quoted) for each run of equal unquoted letters and each quoted or
// other piece of a Qt date/time format, in order; quoted pieces keep their quotes.
template <typename F>
void forEachRun(const QString& format, F&& f) {
  qsizetype i = 0;
  while (i < format.size()) {
    const QChar c = format.at(i);
    qsizetype end = i + 1;
    if (c == u'\'') {
      // '' inside or outside quotes is a literal quote; a quote left open runs to the end.
      while (end < format.size()) {
        if (format.at(end) == u'\'') {
          if (end + 1 < format.size() && format.at(end + 1) == u'\'') {
            end += 2;
            continue;
          }
          ++end;
          break;
        }
        ++end;
      }
      f(format.mid(i, end - i), true);
    } else {
      while (end < format.size() && format.at(end) == c) ++end;
      f(format.mid(i, end - i), false);
    }
    i = end;
  }
}

QDate dateOf(TDateTime value) { return datetime::toQDateTime(value).date(); }
QTime timeOf(TDateTime value) { return datetime::toQDateTime(value).time(); }

std::optional<QTime> parseTime(const QString& text) {
  static const QRegularExpression clock(QStringLiteral("^(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2})(?:\\.(\\d{1,3}))?)?$"));
  const QRegularExpressionMatch match = clock.match(text);
  if (match.hasMatch()) {
    const QTime time(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt(),
                     match.captured(4).toInt());
    if (time.isValid()) return time;
    return std::nullopt;
  }
  const QTime time = QLocale().toTime(text, longTimeFormat());
  if (time.isValid()) return time;
  return std::nullopt;
}

}  // namespace

QString level(double dB) {
  QLocale locale;
  locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
  if (!std::isfinite(dB)) return locale.toString(dB);
  const double magnitude = std::fabs(dB);
  // More integer digits than the seven significant ones: scientific notation.
  if (magnitude >= 1e7) return locale.toString(dB, 'e', 6);
  double value = dB;
  // Seven integer digits leave no significant digit for the decimal.
  if (magnitude >= 1e6) value = std::round(dB);
  // -0.04 rounds to 0.0, which shows no sign.
  if (std::fabs(value) < 0.05) value = 0.0;
  return locale.toString(value, 'f', 1);
}

QString widenTwoDigitYear(const QString& format) {
  QString result;
  forEachRun(format, [&result](const QString& run, bool quoted) {
    result += (!quoted && run == QLatin1String("yy")) ? QStringLiteral("yyyy") : run;
  });
  return result;
}

QString withoutTimeZone(const QString& format) {
  QString result;
  bool droppedAtStart = false;
  forEachRun(format, [&](const QString& run, bool quoted) {
    if (!quoted && run.at(0) == u't') {
      // The zone goes with the blank that set it apart from the time.
      while (!result.isEmpty() && result.back().isSpace()) result.chop(1);
      droppedAtStart = result.isEmpty();
      return;
    }
    if (droppedAtStart && !quoted && run.at(0).isSpace()) return;
    droppedAtStart = false;
    result += run;
  });
  return result;
}

QString shortDateFormat() { return widenTwoDigitYear(QLocale().dateFormat(QLocale::ShortFormat)); }
QString longTimeFormat() { return withoutTimeZone(QLocale().timeFormat(QLocale::LongFormat)); }

QString shortDate(TDateTime value) { return QLocale().toString(dateOf(value), shortDateFormat()); }
QString longTime(TDateTime value) { return QLocale().toString(timeOf(value), longTimeFormat()); }

QString dateTime(TDateTime value) {
  const QDateTime both = datetime::toQDateTime(value);
  const QLocale locale;
  const QString date = locale.toString(both.date(), shortDateFormat());
  const QTime time = both.time();
  if (time.hour() == 0 && time.minute() == 0 && time.second() == 0) return date;
  return date + u' ' + locale.toString(time, longTimeFormat());
}

QString clockTime(TDateTime value) { return timeOf(value).toString(QStringLiteral("HH:mm:ss")); }

QString clockTimeWithMilliseconds(TDateTime value) {
  const QTime time = timeOf(value);
  return time.toString(QStringLiteral("HH:mm:ss")) + u'.' + QString::number(time.msec());
}

std::optional<TDateTime> parseDateTime(const QString& text) {
  const QString trimmed = text.trimmed();
  if (trimmed.isEmpty()) return std::nullopt;
  const QLocale locale;
  const QString dateFormat = shortDateFormat();
  const QDate whole = locale.toDate(trimmed, dateFormat);
  if (whole.isValid()) return datetime::fromQDateTime(QDateTime(whole, QTime(0, 0)));
  // The date format itself may hold blanks ("yyyy. MM. dd."), so try every blank as
  // the one between date and time.
  for (qsizetype blank = trimmed.indexOf(u' '); blank > 0; blank = trimmed.indexOf(u' ', blank + 1)) {
    const QDate date = locale.toDate(trimmed.left(blank), dateFormat);
    if (!date.isValid()) continue;
    if (const std::optional<QTime> time = parseTime(trimmed.mid(blank + 1).trimmed())) {
      return datetime::fromQDateTime(QDateTime(date, *time));
    }
  }
  return std::nullopt;
}

std::optional<double> parseNumber(const QString& text) {
  QLocale locale;
  locale.setNumberOptions(QLocale::RejectGroupSeparator);
  bool ok = false;
  const double value = locale.toDouble(text.trimmed(), &ok);
  if (!ok || !std::isfinite(value)) return std::nullopt;
  return value;
}

DateFormatInfo analyseShortDateFormat(const QString& format) {
  DateFormatInfo info{u'-', 2};
  qsizetype cut = -1;
  for (const QChar separator : {u'/', u'-', u'.', u','}) {
    cut = format.indexOf(separator);
    if (cut >= 0) {
      info.dateSeparator = separator;
      break;
    }
  }
  // Without a separator there is nothing to cut at: part 1 is empty and the order
  // falls to the month-day-year default.
  QString part1;
  QString part2;
  if (cut >= 0) {
    part1 = format.left(cut + 1);
    const QString rest = format.mid(cut + 1);
    const qsizetype second = rest.indexOf(info.dateSeparator);
    part2 = second >= 0 ? rest.left(second + 1) : rest;
  }
  if (part1.contains(u'd')) {
    info.dateOrder = 1;
  } else if (part1.contains(u'm')) {
    info.dateOrder = 2;
  } else if (part1.contains(u'y')) {
    info.dateOrder = part2.contains(u'm') ? 3 : 4;
  } else {
    info.dateOrder = 2;
  }
  return info;
}

}  // namespace formats
