#include "live/PanelMemory.h"

PanelMemory::PanelMemory(Clock& clock) : maxMinTimer_(clock.createTimer()) {
  maxMinTimer_->setInterval(kBlinkIntervalMs);
  maxMinTimer_->onTimeout = [this] { maxMinTimerTick(); };
}

PanelMemory::~PanelMemory() { maxMinTimer_->stop(); }

void PanelMemory::maxMinTimerTick() {
  blinkBusy = true;
  blink = !blink;
  if (showBlink_) showBlink_(blink);
  blinkBusy = false;
}

void PanelMemory::attachBlink(const void* owner, std::function<void(bool shown)> showBlink) {
  blinkOwner_ = owner;
  showBlink_ = std::move(showBlink);
}

void PanelMemory::detachBlink(const void* owner) {
  if (owner != blinkOwner_) return;
  blinkOwner_ = nullptr;
  showBlink_ = nullptr;
}
