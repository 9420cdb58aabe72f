#pragma once
// What the front panel remembers between frames, owned by the main window for the
// whole run. It outlives the panel window: a panel that is closed and opened again
// starts from the same memory, with panelRefreshAll set so that its first frame
// draws every element.
//
// The MAX/MIN blink timer lives here too. It is the main window's timer: it keeps
// running while no panel exists, and its ticks then change nothing.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "link/Clock.h"

class PanelMemory {
 public:
  static constexpr int kBlinkIntervalMs = 500;

  explicit PanelMemory(Clock& clock);
  ~PanelMemory();
  PanelMemory(const PanelMemory&) = delete;
  PanelMemory& operator=(const PanelMemory&) = delete;

  // --- rendering memory: what was drawn last ---
  std::uint8_t lastStatusA = 0;
  std::uint8_t lastStatusB = 0;
  int lastDisplayValue = 0;
  std::array<int, 4> lastDigits{};  // lcdDigits indices of MainD1..MainD4
  std::uint8_t lastClockSeconds = 0;
  bool panelRefreshAll = true;

  // --- MAX and MIN blinking together ---
  bool blink = false;
  bool blinkBusy = false;
  TickTimer& maxMinTimer() { return *maxMinTimer_; }
  // The open panel shows or hides lblMAX and lblMIN on each tick. A panel closed
  // and reopened before the old one is deleted must not lose the new one's
  // callback, hence the owner.
  void attachBlink(const void* owner, std::function<void(bool shown)> showBlink);
  void detachBlink(const void* owner);
  // MaxMinTimer's tick.
  void maxMinTimerTick();

 private:
  const void* blinkOwner_ = nullptr;
  std::function<void(bool shown)> showBlink_;
  std::unique_ptr<TickTimer> maxMinTimer_;
};
