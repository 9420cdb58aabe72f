#pragma once
// Framing of the 15-byte live frames: STX, status A, status B, level, display, MAX,
// MIN (tenths of dB, big-endian), the meter clock in BCD, ETX. STX, ETX and the
// status tag (the top three bits of status B all set) are the only validity tests;
// there is no checksum.

#include <cstdint>

#include <QByteArray>

inline constexpr int kLiveFrameSize = 15;
inline constexpr std::uint8_t kStatusTagMask = 0xE0;

enum class FrameHead {
  NeedMore,  // fewer than 15 bytes left
  Dropped,   // bytes were dropped from the front; look again
  Valid,     // a valid frame starts at byte 0
};

// One step of the resynchronisation, on the receive buffer. Garbage before a start
// marker is dropped up to it; a start marker whose frame fails ETX or the status tag
// costs that one byte; a buffer with no start marker at all is emptied.
FrameHead examineFrameHead(QByteArray& buffer);

inline bool isValidLiveFrame(const QByteArray& frame) {
  return frame.size() >= kLiveFrameSize && static_cast<std::uint8_t>(frame[0]) == 0x02 &&
         static_cast<std::uint8_t>(frame[14]) == 0x03 &&
         (static_cast<std::uint8_t>(frame[2]) & kStatusTagMask) == kStatusTagMask;
}
