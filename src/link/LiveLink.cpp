#include "link/LiveLink.h"

#include <algorithm>

#include "link/LiveFrame.h"

LiveLink::LiveLink(Clock& clock, SerialBackend& backend)
    : clock_(clock), backend_(backend), comm1_(backend.createPort()), mainTimer_(clock.createTimer()) {
  mainTimer_->setInterval(kDesignIntervalMs);
  mainTimer_->onTimeout = [this] { mainTimerTick(); };
}

LiveLink::~LiveLink() {
  mainTimer_->stop();
  comm1_->setReceiveHandler({});
  comm1_->close();
}

// ---------------------------------------------------------------- port list

void LiveLink::setPortList(const QStringList& ports) {
  ports_ = ports;
  ports_.removeDuplicates();
  selectPort(ports_.isEmpty() ? -1 : 0);
  observer_->portListChanged();
}

QString LiveLink::selectedPortName() const {
  return selected_ >= 0 && selected_ < ports_.size() ? ports_[selected_] : QString();
}

void LiveLink::selectPort(int index) {
  selected_ = index;
  comm1_->setDeviceName(selectedPortName());
}

void LiveLink::changePort(int index) {
  if (index < 0 || index >= ports_.size()) return;
  waitWhile(pollBusy_);
  comm1_->close();
  selectPort(index);
  comm1_->open();
  observer_->portListChanged();
}

// ---------------------------------------------------------------- start-up

bool LiveLink::scanPorts() {
  comm1_->setReceiveHandler({});
  bool found = false;
  const int count = static_cast<int>(ports_.size());
  int i = -1;
  for (int repetition = 0; repetition < count; ++repetition) {
    ++i;
    selectPort(i);
    observer_->scanningPort(ports_[i]);
    clock_.delayMs(300);
    if (!comm1_->open()) {
      // The next port moves into slot i; the list is rebuilt at the next start.
      ports_.removeAt(i);
      --i;
      observer_->portListChanged();
      continue;
    }
    comm1_->write(liveCommand_.toBytes());
    clock_.delayMs(500);
    if (comm1_->bytesWaiting() >= 4) {
      const QByteArray reply = comm1_->readExactly(4, 100);
      if (reply.contains("471") || reply.contains("472")) {
        meterModel_ = reply.contains("471") ? 471 : 472;
        meterConnected_ = true;
        found = true;
        break;
      }
    }
    comm1_->close();
  }
  attachReceiveHandler();
  observer_->portListChanged();
  if (found) observer_->meterIdentified(true);
  return found;
}

void LiveLink::selectRememberedPort(int lastConnectedPort, int lastConnectedModel) {
  meterModel_ = (lastConnectedModel == 471 || lastConnectedModel == 472) ? lastConnectedModel : 472;
  int index = lastConnectedPort;
  if (index < 0 || index >= ports_.size()) index = 0;
  selectPort(ports_.isEmpty() ? -1 : index);
  observer_->portListChanged();
}

void LiveLink::openLiveLink() {
  comm1_->close();
  clock_.delayMs(500);
  attachReceiveHandler();
  comm1_->open();
  clock_.delayMs(100);
  comm1_->discardInput();
  sendLiveCommand(letter::kStartRemote);
  mainTimer_->start();
}

bool LiveLink::startUp(int lastConnectedPort, int lastConnectedModel) {
  const bool found = scanPorts();
  if (!found) selectRememberedPort(lastConnectedPort, lastConnectedModel);
  openLiveLink();
  return found;
}

void LiveLink::attachReceiveHandler() {
  comm1_->setReceiveHandler([this] { receiveHandler(); });
}

// ---------------------------------------------------------------- receive side

void LiveLink::receiveHandler() {
  // The ports never re-enter the handler; this also covers a message pump inside
  // the identification's wait, which must not start a second identification or
  // take the frame at the head of the buffer.
  if (rxBusy_) return;
  rxBusy_ = true;

  const int waiting = std::min(comm1_->bytesWaiting(), kMaxBytesPerEvent);
  if (waiting > 0) rxBuffer_ += comm1_->read(waiting);

  while (rxBuffer_.size() >= kLiveFrameSize) {
    if (examineFrameHead(rxBuffer_) != FrameHead::Valid) continue;
    frameSeen_ = true;
    if (!meterConnected_) {
      // The frame stays at the head; the loop comes back to it, now connected.
      identifyMeter();
      continue;
    }
    const QByteArray frame = rxBuffer_.left(kLiveFrameSize);
    rxBuffer_.remove(0, kLiveFrameSize);
    observer_->liveFrame(frame);
    sendLiveCommand(letter::kAcknowledge);
  }

  rxBusy_ = false;
}

void LiveLink::identifyMeter() {
  waitWhile(pollBusy_);
  mainTimer_->stop();
  comm1_->setReceiveHandler({});
  comm1_->discardInput();

  liveCommand_.setLetter(letter::kIdentify);
  clock_.delayMs(100);
  // A frame still on its way (the answer to a poll sent just before, or the stream
  // that 'a' started) lands in these 100 ms; read as the reply, its first four bytes
  // would make a 471 a 472. Nothing that came before 'K' can be its answer.
  comm1_->discardInput();
  if (comm1_->isOpen()) comm1_->write(liveCommand_.toBytes());
  clock_.delayMs(1000);

  QByteArray reply;
  if (comm1_->bytesWaiting() >= 4) reply = comm1_->read(4);
  // An empty or unrecognised reply identifies the data-logging model.
  meterModel_ = reply.contains("471") ? 471 : 472;
  meterConnected_ = true;

  attachReceiveHandler();
  comm1_->discardInput();
  sendLiveCommand(letter::kStartRemote);
  mainTimer_->start();
  observer_->meterIdentified(false);
}

void LiveLink::sendLiveCommand(char commandLetter) {
  liveCommand_.setLetter(commandLetter);
  // A closed or failing port ends the send silently: no message, no exception.
  if (comm1_->isOpen()) comm1_->write(liveCommand_.toBytes());
}

// ---------------------------------------------------------------- supervision

void LiveLink::mainTimerTick() {
  const TDateTime now = clock_.now();
  pollBusy_ = true;

  if (frameSeen_) {
    frameSeen_ = false;
    missedTicks_ = 0;
  } else if (++missedTicks_ >= missedTickLimit) {
    loseLink();
  }

  observer_->pollTick(now);

  if (!meterConnected_) {
    // A device that went away (cable or adapter pulled) closed the port; try it
    // again each second so the link comes back by itself when it is plugged in.
    if (!comm1_->isOpen() && !selectedPortName().isEmpty()) {
      comm1_->open();
      comm1_->discardInput();
    }
    if (comm1_->isOpen()) sendLiveCommand(letter::kPoll);
  }

  correctPeriod();
  pollBusy_ = false;
}

void LiveLink::loseLink() {
  const bool wasConnected = meterConnected_;
  if (wasConnected) rxBuffer_.clear();
  meterConnected_ = false;
  missedTicks_ = 0;
  observer_->linkLost(wasConnected);
}

void LiveLink::correctPeriod() {
  // Keeps the ticks one second apart on average: each tick's lateness is taken off
  // the next interval, with a 500 ms floor. Measured on the monotonic tick, so a
  // change of the system time does not disturb the poll.
  const qint64 nowMs = clock_.tickMs();
  if (firstTick_) {
    firstTick_ = false;
  } else {
    const qint64 excessMs = (nowMs - previousTickMs_) - 1000;
    const qint64 interval = mainTimer_->interval() - excessMs;
    mainTimer_->setInterval(static_cast<int>(std::max<qint64>(interval, kMinIntervalMs)));
  }
  previousTickMs_ = nowMs;
}

void LiveLink::closeRequest() {
  waitWhile(rxBusy_);
  mainTimer_->stop();
  comm1_->close();
  clock_.delayMs(100);
}

template <typename Flag>
void LiveLink::waitWhile(const Flag& flag) {
  // Only reached with the flag set when a handler pumps messages while it holds it;
  // none does, but a bounded pump is the safe way to wait if one ever will.
  for (int rounds = 0; flag && rounds < 10000; ++rounds) clock_.processEvents();
}
