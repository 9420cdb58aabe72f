#pragma once
// The front panel's decisions, kept apart from the widgets: which digits a display
// value shows, how wide the bar graph is, and what the annunciators must do.

#include <array>
#include <optional>

#include "live/DisplayState.h"
#include "live/PanelMemory.h"

namespace panel {

inline constexpr int kBlankDigit = 10;  // index of the blank digit in lcdDigits
inline constexpr int kBarFullWidth = 101;

// The four lcdDigits indices of a display value in tenths of dB, laid out as the
// meter's 1888 display: the leading place shows only a 1, anything else there is
// blank (654 -> blank 6 5 4, 1023 -> 1 0 2 3, 45 -> blank 0 4 5). Empty for values of
// 11000 and more, which the display cannot show: the digits then stay as they are.
std::optional<std::array<int, 4>> digitsOf(int displayValue);

// Width in pixels of imgColorBar: 2x + 1, x being the dB above the range's left end
// (half-dB steps in Auto), truncated toward zero and limited to 50 at the top only.
// Readings below the range give 0 or less: no bar.
int barWidth(float level, int range);

// Whether this frame's annunciators must be redrawn (status bytes changed, or the
// whole panel is to be refreshed).
bool annunciatorsDue(const PanelMemory& memory, const DisplayState& state);

// What the MAX and MIN annunciators do for a frame.
enum class MaxMinLook {
  HideBoth,      // MAX/MIN mode off: stop blinking, hide both
  StopBlinking,  // mode on with no MAX/MIN display: stop blinking, leave the labels as they are
  ShowMax,       // stop blinking, MAX only
  ShowMin,       // stop blinking, MIN only
  Blink,         // MAX and MIN blink together on MaxMinTimer
};
MaxMinLook maxMinLook(const DisplayState& state);

// The main window's text key of lblREC ("REC", "FULL"), nullptr for an empty label.
const char* recordTextKey(const DisplayState& state);
// The main window's text key of lblFAST ("FAST" or "SLOW").
const char* timeWeightingTextKey(const DisplayState& state);

}  // namespace panel
