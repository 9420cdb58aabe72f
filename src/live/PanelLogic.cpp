#include "live/PanelLogic.h"

#include <cmath>

namespace panel {

std::optional<std::array<int, 4>> digitsOf(int displayValue) {
  const int v = displayValue;
  std::array<int, 4> digits{v / 1000, (v % 1000) / 100, (v % 100) / 10, v % 10};
  if (digits[0] > 10) return std::nullopt;
  if (digits[0] != 1) digits[0] = kBlankDigit;
  return digits;
}

int barWidth(float level, int range) {
  const double dB = level;
  double above = 0;
  switch (range & 3) {
    case 0: above = dB - 30; break;
    case 1: above = dB - 50; break;
    case 2: above = dB - 80; break;
    // Auto's scale reads 30 to 130 dB, but its bar counts half-dB steps from 50 dB:
    // 130 dB lights 81 pixels, not the full 101.
    default: above = (dB - 50) * 0.5; break;
  }
  int x = static_cast<int>(std::trunc(above));
  if (x > 50) x = 50;
  return 2 * x + 1;
}

bool annunciatorsDue(const PanelMemory& memory, const DisplayState& state) {
  return memory.panelRefreshAll || state.statusA != memory.lastStatusA || state.statusB != memory.lastStatusB;
}

MaxMinLook maxMinLook(const DisplayState& state) {
  if (!state.maxMinActive) return MaxMinLook::HideBoth;
  switch (state.maxMinDisplay) {
    case statusB::kShowMax: return MaxMinLook::ShowMax;
    case statusB::kShowMin: return MaxMinLook::ShowMin;
    case statusB::kBlinkMaxMin: return MaxMinLook::Blink;
    default: return MaxMinLook::StopBlinking;
  }
}

const char* recordTextKey(const DisplayState& state) {
  if (state.recording) return "IDS_15";
  if (state.full) return "IDS_16";
  return nullptr;
}

const char* timeWeightingTextKey(const DisplayState& state) { return state.fast ? "IDS_18" : "IDS_17"; }

}  // namespace panel
