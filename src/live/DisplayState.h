#pragma once
// Decoding of one live frame into what the meter's display shows.

#include <array>
#include <cstdint>

#include <QByteArray>
#include <QString>

#include "link/TDateTime.h"

// Status byte A
namespace statusA {
inline constexpr std::uint8_t kRecording = 0x01;
inline constexpr std::uint8_t kMaxMinActive = 0x04;
inline constexpr std::uint8_t kWeightingA = 0x08;
inline constexpr std::uint8_t kFast = 0x10;
inline constexpr std::uint8_t kLowBattery = 0x20;
inline constexpr std::uint8_t kUnder = 0x40;
inline constexpr std::uint8_t kOver = 0x80;
}  // namespace statusA

// Status byte B
namespace statusB {
inline constexpr std::uint8_t kRangeMask = 0x03;
inline constexpr std::uint8_t kMaxMinMask = 0x0C;
inline constexpr std::uint8_t kShowMax = 0x04;
inline constexpr std::uint8_t kShowMin = 0x08;
inline constexpr std::uint8_t kBlinkMaxMin = 0x0C;
inline constexpr std::uint8_t kFull = 0x10;
inline constexpr std::uint8_t kTag = 0xE0;
}  // namespace statusB

struct RangeInfo {
  const char* name;
  const char* lowLabel;
  const char* highLabel;
};
// Lo, Med, Hi, Auto, by range code.
const RangeInfo& rangeInfo(int rangeCode);

struct DisplayState {
  float level = 0;        // dB
  int displayValue = 0;   // tenths of dB, what the digits show
  bool recording = false;
  bool maxMinActive = false;
  bool weightingA = false;
  bool fast = false;
  bool lowBattery = false;
  bool under = false;
  bool over = false;
  int range = 0;                 // 0..3
  std::uint8_t maxMinDisplay = 0;  // 0x00, 0x04, 0x08 or 0x0C
  bool full = false;
  std::uint8_t statusA = 0;
  std::uint8_t statusB = 0;
  std::array<std::uint8_t, 3> clockBytes{};  // BCD hours, minutes, seconds

  bool showsMax() const { return maxMinActive && (maxMinDisplay & statusB::kShowMax); }
  bool showsMin() const { return maxMinActive && (maxMinDisplay & statusB::kShowMin); }
};

// The frame must be a valid 15-byte live frame; the decoder trusts it.
DisplayState decodeLiveFrame(const QByteArray& frame);

// The meter clock as the panel shows it: the BCD bytes read as HH:MM:SS, one second
// earlier (the meter stamps the frame at the end of the second it describes); the
// raw text when it is not a valid time of day.
QString meterClockText(const std::array<std::uint8_t, 3>& clockBytes);

// One line of `ml472 monitor`:
// time,level,display,range,weighting,timeweighting,annunciators,clock
QString monitorLine(const DisplayState& state, TDateTime received, int meterModel);
