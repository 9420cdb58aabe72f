// Bytes off the line, in arbitrary pieces, through the frame splitter and the
// decoder; and the same bytes as packets into the simulated meter. Nothing may
// crash, the buffer must shrink on every dropping step and never hold 15 bytes
// between events, and every frame handed on must pass the framing tests.

#include <cstdint>
#include <cstdlib>

#include "link/LiveFrame.h"
#include "link/VirtualClock.h"
#include "live/DisplayState.h"
#include "sim/InProcessMeter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  QByteArray buffer;
  std::size_t at = 0;
  while (at < size) {
    // The first byte of each piece says how long the piece is.
    const std::size_t piece = std::min<std::size_t>(size - at - 1, data[at] % 40);
    buffer += QByteArray(reinterpret_cast<const char*>(data + at + 1), static_cast<qsizetype>(piece));
    at += piece + 1;
    for (;;) {
      const qsizetype before = buffer.size();
      const FrameHead head = examineFrameHead(buffer);
      if (head == FrameHead::NeedMore) break;
      if (head == FrameHead::Dropped) {
        if (buffer.size() >= before) std::abort();
        continue;
      }
      if (!isValidLiveFrame(buffer)) std::abort();
      const DisplayState state = decodeLiveFrame(buffer.left(kLiveFrameSize));
      (void)monitorLine(state, 46000.5, 472);
      (void)meterClockText(state.clockBytes);
      buffer.remove(0, kLiveFrameSize);
    }
    if (buffer.size() >= kLiveFrameSize) std::abort();
  }

  VirtualClock clock;
  FakeSerialBackend bus(clock);
  InProcessMeter meter(clock, bus.addDevice("COM1"));
  meter->receive(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
  clock.runFor(2000);
  return 0;
}
