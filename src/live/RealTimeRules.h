#pragma once
// The arithmetic of the real-time recording, kept apart from the windows so that it
// is tested on its own: the sampling-interval presets, the rate gate, the
// plausibility of a level, the recording period of the setup dialog, and the reading
// of the dialog's two fields.

#include <array>
#include <optional>

#include <QString>
#include <QtGlobal>

#include "link/TDateTime.h"

namespace realtime {

// The presets of the setup dialog's rate box and the graph window's txtSamplingRate,
// in seconds, indices 0 to 8.
inline constexpr std::array<double, 9> kPresetSeconds{0.1, 0.2, 0.5, 1.0, 2.0, 5.0, 10.0, 20.0, 30.0};
// The 0.1-second preset, at which the chart is redrawn for every second point only.
inline constexpr int kFastestPreset = 0;

// The preset an interval falls to. The thresholds sit between the presets except
// the third: 0.6 s already gives the 1.0-second preset. Nothing from 30.5 s up (and
// for NaN): the box then keeps its selection.
std::optional<int> presetIndexForRate(double rateSeconds);

// The preset texts as the dialog and the graph window show them: one decimal in
// the user's number format, so that they read back with the user's separator.
QString presetText(int index);

// Levels outside 20.0..140.0 dB are not sound the meter measured (a frame caught
// mid-change, a range overflow); 20.0 and 140.0 themselves are kept.
inline constexpr float kLowestPlausibleLevel = 20.0f;
inline constexpr float kHighestPlausibleLevel = 140.0f;
// An out-of-range reading is replaced by the last good level only when that one is
// above this; below it the reading is dropped.
inline constexpr float kLowestReplacementLevel = 30.0f;
inline bool isPlausibleLevel(float level) {
  return !(level > kHighestPlausibleLevel || level < kLowestPlausibleLevel);
}

// The rate gate: whether a reading elapsedDays after the last one that passed is
// due at rateSeconds. The two times come from the clock in milliseconds but are
// days since 1899 as doubles, so their difference carries a rounding error of a few
// microseconds and rateSeconds is a 32-bit float (0.2f is a shade above 0.2): a
// reading exactly one interval later would pass or fail by chance, and at the
// 0.2-second preset with readings every 100 ms every third reading would be kept
// instead of every second. Half a millisecond of tolerance settles it. A negative
// difference means the clock was set back (a daylight-saving change, the user):
// the reading is due, or the recording would stall until the clock caught up.
inline constexpr double kGateToleranceMs = 0.5;
bool readingIsDue(TDateTime elapsedDays, float rateSeconds);

// Seconds of a recording of count points at rateSeconds, rounded half up:
// trunc(count × rate + 0.5). Held within ±10^15 s so that absurd rates still give
// a text.
qint64 periodSeconds(double count, double rateSeconds);
// "h:m:s", each a plain number: the period as the dialog opens (200 s → "0:3:20").
QString openingPeriodText(qint64 seconds);
// "h:mm:ss": the period after an edit of the count or the rate (200 s → "0:03:20").
QString editedPeriodText(qint64 seconds);

// The rate box read as a decimal number in the user's format; blanks around it
// are ignored.
std::optional<double> parseRate(const QString& text);
// The count field with blanks trimmed, as a decimal integer (an optional sign, then
// digits). A negative count is refused too: the field's mask only takes digits, and
// a chart cannot hold fewer than no points.
std::optional<int> parseCount(const QString& text);

// The standard error box's text for a rate that does not read as a number (fixed
// English, as the platform's conversion error).
QString conversionErrorText(const QString& text);

}  // namespace realtime
