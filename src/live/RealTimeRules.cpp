#include "live/RealTimeRules.h"

#include <cmath>

#include "text/Formats.h"

namespace realtime {

std::optional<int> presetIndexForRate(double rateSeconds) {
  // Upper bounds, compared in this order; each gives the preset of its position.
  static constexpr std::array<double, 9> kBelow{0.15, 0.25, 0.55, 1.5, 2.5, 5.5, 10.5, 20.5, 30.5};
  for (int index = 0; index < static_cast<int>(kBelow.size()); ++index) {
    if (rateSeconds < kBelow[index]) return index;
  }
  return std::nullopt;
}

QString presetText(int index) {
  if (index < 0 || index >= static_cast<int>(kPresetSeconds.size())) return {};
  return formats::level(kPresetSeconds[index]);
}

bool readingIsDue(TDateTime elapsedDays, float rateSeconds) {
  if (elapsedDays < 0) return true;
  return elapsedDays * datetime::kMsPerDay + kGateToleranceMs >= static_cast<double>(rateSeconds) * 1000.0;
}

qint64 periodSeconds(double count, double rateSeconds) {
  constexpr double kLimit = 1e15;
  const double seconds = std::trunc(count * rateSeconds + 0.5);
  if (std::isnan(seconds)) return 0;
  if (seconds > kLimit) return static_cast<qint64>(kLimit);
  if (seconds < -kLimit) return -static_cast<qint64>(kLimit);
  return static_cast<qint64>(seconds);
}

namespace {

QString periodText(qint64 seconds, int fieldWidth) {
  // A negative rate gives a negative period; show it with one sign in front.
  const QString sign = seconds < 0 ? QStringLiteral("-") : QString();
  const qint64 magnitude = seconds < 0 ? -seconds : seconds;
  return sign + QString::number(magnitude / 3600) + u':' +
         QStringLiteral("%1").arg(magnitude / 60 % 60, fieldWidth, 10, QLatin1Char('0')) + u':' +
         QStringLiteral("%1").arg(magnitude % 60, fieldWidth, 10, QLatin1Char('0'));
}

}  // namespace

QString openingPeriodText(qint64 seconds) { return periodText(seconds, 0); }
QString editedPeriodText(qint64 seconds) { return periodText(seconds, 2); }

std::optional<double> parseRate(const QString& text) { return formats::parseNumber(text); }

std::optional<int> parseCount(const QString& text) {
  bool ok = false;
  const int count = text.trimmed().toInt(&ok, 10);
  if (!ok || count < 0) return std::nullopt;
  return count;
}

QString conversionErrorText(const QString& text) {
  return u'\'' + text + QStringLiteral("' is not a valid floating point value");
}

}  // namespace realtime
