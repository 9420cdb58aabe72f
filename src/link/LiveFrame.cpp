#include "link/LiveFrame.h"

FrameHead examineFrameHead(QByteArray& buffer) {
  if (buffer.size() < kLiveFrameSize) return FrameHead::NeedMore;
  const qsizetype start = buffer.indexOf('\x02');
  if (start < 0) {
    buffer.clear();
    return FrameHead::Dropped;
  }
  if (start > 0) {
    buffer.remove(0, start);
    return FrameHead::Dropped;
  }
  if (!isValidLiveFrame(buffer)) {
    buffer.remove(0, 1);
    return FrameHead::Dropped;
  }
  return FrameHead::Valid;
}
