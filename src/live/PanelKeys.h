#pragma once
// Sends the front panel's key letters on the live link without ever cutting into
// an exchange. A key may only be written while no frame is being handled (rxBusy)
// and, for the plain keys, no poll tick runs (pollBusy). Both are always clear when
// a click is handled, because no handler that holds them lets other events run; if
// one ever does, the key is held back here and written by a short retry timer once
// the flags clear, so the waiting neither spins inside the handler that would clear
// them nor writes into its exchange.

#include <deque>
#include <memory>

#include "link/Clock.h"
#include "link/LiveLink.h"

class PanelKeys {
 public:
  static constexpr int kRetryMs = 10;
  // A plain key held back longer than this is dropped rather than kept forever.
  static constexpr int kKeyHoldLimitMs = 10000;
  // The MAX/MIN key waits for a frame in progress at most this long.
  static constexpr int kMaxMinHoldLimitMs = 3000;

  PanelKeys(Clock& clock, LiveLink& link);
  ~PanelKeys();
  PanelKeys(const PanelKeys&) = delete;
  PanelKeys& operator=(const PanelKeys&) = delete;

  // A plain key (A/C, FAST/SLOW, REC, LEVEL): written once rxBusy and pollBusy are clear.
  void sendKey(char letter);
  // The MAX/MIN key's 'M' and 'N': written once rxBusy is clear, and only while the
  // meter is still connected at that moment.
  void sendMaxMinKey(char letter);

  // Keys held back, not yet written.
  int heldKeys() const { return static_cast<int>(held_.size()); }

 private:
  struct Held {
    char letter;
    bool maxMin;
    qint64 deadlineMs;
  };
  bool mayWrite(const Held& key) const;
  void write(const Held& key);
  void enqueue(Held key);
  void flush();

  Clock& clock_;
  LiveLink& link_;
  std::deque<Held> held_;
  std::unique_ptr<TickTimer> retry_;
};
