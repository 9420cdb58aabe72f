#include "live/PanelKeys.h"

PanelKeys::PanelKeys(Clock& clock, LiveLink& link) : clock_(clock), link_(link), retry_(clock.createTimer()) {
  retry_->setInterval(kRetryMs);
  retry_->onTimeout = [this] { flush(); };
}

PanelKeys::~PanelKeys() { retry_->stop(); }

void PanelKeys::sendKey(char letter) { enqueue({letter, false, clock_.tickMs() + kKeyHoldLimitMs}); }

void PanelKeys::sendMaxMinKey(char letter) { enqueue({letter, true, clock_.tickMs() + kMaxMinHoldLimitMs}); }

bool PanelKeys::mayWrite(const Held& key) const {
  if (link_.rxBusy()) return false;
  return key.maxMin || !link_.pollBusy();
}

void PanelKeys::write(const Held& key) {
  if (key.maxMin && !link_.meterConnected()) return;
  link_.sendLiveCommand(key.letter);
}

void PanelKeys::enqueue(Held key) {
  // Keys go out in the order they were pressed: one pressed behind a held key waits too.
  if (held_.empty() && mayWrite(key)) {
    write(key);
    return;
  }
  held_.push_back(key);
  if (!retry_->isActive()) retry_->start();
}

void PanelKeys::flush() {
  while (!held_.empty()) {
    const Held key = held_.front();
    if (mayWrite(key)) {
      held_.pop_front();
      write(key);
      continue;
    }
    if (clock_.tickMs() < key.deadlineMs) return;
    // Still inside an exchange after the limit: the key is lost, as a key press on
    // a meter that is busy is; it is never written into the exchange.
    held_.pop_front();
  }
  retry_->stop();
}
