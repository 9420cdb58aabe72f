#include "live/DisplayState.h"

#include <QStringList>
#include <QTime>

namespace {

int word(const QByteArray& frame, int at) {
  return static_cast<std::uint8_t>(frame[at]) * 256 + static_cast<std::uint8_t>(frame[at + 1]);
}

QString tenths(int value) { return QString::number(value / 10.0, 'f', 1); }

}  // namespace

const RangeInfo& rangeInfo(int rangeCode) {
  static const RangeInfo ranges[4] = {
      {"Lo", "30", "80"}, {"Med", "50", "100"}, {"Hi", "80", "130"}, {"Auto", "30", "130"}};
  return ranges[rangeCode & 3];
}

DisplayState decodeLiveFrame(const QByteArray& frame) {
  DisplayState state;
  const auto a = static_cast<std::uint8_t>(frame[1]);
  const auto b = static_cast<std::uint8_t>(frame[2]);
  state.statusA = a;
  state.statusB = b;
  // Computed in double and stored as float: 654 gives the float nearest to 65.4.
  state.level = static_cast<float>(word(frame, 3) * 0.1);
  state.recording = a & statusA::kRecording;
  state.maxMinActive = a & statusA::kMaxMinActive;
  state.weightingA = a & statusA::kWeightingA;
  state.fast = a & statusA::kFast;
  state.lowBattery = a & statusA::kLowBattery;
  state.under = a & statusA::kUnder;
  state.over = a & statusA::kOver;
  state.range = b & statusB::kRangeMask;
  state.maxMinDisplay = b & statusB::kMaxMinMask;
  state.full = b & statusB::kFull;
  state.displayValue = word(frame, 5);
  if (state.maxMinActive) {
    // While MAX and MIN blink together the digits show the current value.
    if (state.maxMinDisplay == statusB::kShowMax) state.displayValue = word(frame, 7);
    else if (state.maxMinDisplay == statusB::kShowMin) state.displayValue = word(frame, 9);
  }
  for (int i = 0; i < 3; ++i) state.clockBytes[i] = static_cast<std::uint8_t>(frame[11 + i]);
  return state;
}

QString meterClockText(const std::array<std::uint8_t, 3>& clockBytes) {
  const QString raw = QStringLiteral("%1:%2:%3")
                          .arg(clockBytes[0], 2, 16, QLatin1Char('0'))
                          .arg(clockBytes[1], 2, 16, QLatin1Char('0'))
                          .arg(clockBytes[2], 2, 16, QLatin1Char('0'))
                          .toUpper();
  const QTime time = QTime::fromString(raw, QStringLiteral("HH:mm:ss"));
  if (!time.isValid()) return raw;
  // Before midnight the subtraction wraps to 23:59:59, as a time of day does.
  return time.addSecs(-1).toString(QStringLiteral("HH:mm:ss"));
}

QString monitorLine(const DisplayState& state, TDateTime received, int meterModel) {
  QStringList lit;
  if (state.recording) lit << "REC";
  if (state.maxMinActive) lit << "MAXMIN";
  if (state.showsMax()) lit << "MAX";
  if (state.showsMin()) lit << "MIN";
  if (state.full) lit << "FULL";
  if (state.lowBattery) lit << "BAT";
  if (state.under) lit << "UNDER";
  if (state.over) lit << "OVER";
  const QString time = datetime::toQDateTime(received).toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz"));
  return QStringList{time,
                     QString::number(static_cast<double>(state.level), 'f', 1),
                     tenths(state.displayValue),
                     QString::fromLatin1(rangeInfo(state.range).name),
                     state.weightingA ? "A" : "C",
                     state.fast ? "FAST" : "SLOW",
                     lit.join(' '),
                     meterModel == 472 ? meterClockText(state.clockBytes) : QString()}
      .join(',');
}
