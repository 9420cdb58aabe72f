#pragma once
// Runs for every accepted live frame, before it is acknowledged: keeps
// meterRecording current for the logger commands, updates the panel when one is
// open, and hands the level to a running real-time recording.

#include <functional>

#include "link/Clock.h"
#include "live/DisplayState.h"

class FrameDecoder {
 public:
  explicit FrameDecoder(Clock& clock) : clock_(clock) {}

  // The panel's update, set while the panel window exists.
  std::function<void(const DisplayState&)> panelSink;
  // The recorder: called only while it says a recording runs into an open window.
  std::function<bool()> recordingActive;
  std::function<void(float level, TDateTime received)> recordingSink;
  // Every decoded frame (the monitor prints them).
  std::function<void(const DisplayState&, TDateTime received)> frameSink;

  void decode(const QByteArray& frame);

  // The meter records into its logger (status A bit 0 of the last frame).
  bool meterRecording() const { return meterRecording_; }
  const DisplayState& lastState() const { return last_; }

 private:
  Clock& clock_;
  bool meterRecording_ = false;
  DisplayState last_;
};
