#pragma once
// Everything sent to the meter is an 8-byte packet: STX, a command letter, five
// argument bytes, ETX. No length and no checksum: the meter shows whether it
// reacted only in later live frames or in the replies the sender reads itself.

#include <array>
#include <cstdint>

#include <QByteArray>

namespace letter {
inline constexpr char kPoll = 'A';             // answered with a live frame
inline constexpr char kIdentify = 'K';         // answered with 4 bytes holding "471" or "472"
inline constexpr char kStartRemote = 'a';      // after identification and at start-up; no reply
inline constexpr char kAcknowledge = 'X';      // after every decoded frame; the next frame follows
inline constexpr char kTimeWeighting = 'F';    // FAST/SLOW key
inline constexpr char kFrequencyWeighting = 'C';  // A/C key
inline constexpr char kRecord = 'E';           // REC key (472)
inline constexpr char kRangeUp = 'L';          // 471's range-up key, under the REC position
inline constexpr char kRange = 'l';            // LEVEL key (471's range-down)
inline constexpr char kMaxMin = 'M';           // MAX/MIN key
inline constexpr char kLeaveMaxMin = 'N';      // MAX/MIN held
}  // namespace letter

struct MeterCommand {
  static constexpr std::uint8_t kStx = 0x02;
  static constexpr std::uint8_t kEtx = 0x03;

  std::array<std::uint8_t, 8> bytes{kStx, 0, 0, 0, 0, 0, 0, kEtx};

  static MeterCommand withLetter(char c) {
    MeterCommand command;
    command.setLetter(c);
    return command;
  }
  void setLetter(char c) { bytes[1] = static_cast<std::uint8_t>(c); }
  char letter() const { return static_cast<char>(bytes[1]); }
  QByteArray toBytes() const { return QByteArray(reinterpret_cast<const char*>(bytes.data()), 8); }
};
