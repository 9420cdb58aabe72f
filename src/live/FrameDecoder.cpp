#include "live/FrameDecoder.h"

void FrameDecoder::decode(const QByteArray& frame) {
  // The reading's time stamp is taken once, before any drawing.
  const TDateTime received = clock_.now();
  last_ = decodeLiveFrame(frame);
  meterRecording_ = last_.recording;
  if (panelSink) panelSink(last_);
  if (frameSink) frameSink(last_, received);
  if (recordingSink && recordingActive && recordingActive()) recordingSink(last_.level, received);
}
