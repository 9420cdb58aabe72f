#pragma once
// The live link to the meter: the port list, the live port Comm1 with its receive
// handler and the receive buffer, the identification exchange, the poll timer with
// its link supervision, and the start-up search for the meter.
//
// It owns the link's state; what the windows must show is reported to a
// LinkObserver, so the same code runs in the desktop program, in `ml472 monitor`
// and in tests.

#include <memory>

#include <QByteArray>
#include <QStringList>

#include "link/Clock.h"
#include "link/MeterCommand.h"
#include "link/SerialPort.h"

class LinkObserver {
 public:
  virtual ~LinkObserver() = default;
  // The start-up scan tries this port next (the splash shows "Searching Meter on " + port).
  virtual void scanningPort(const QString& /*portName*/) {}
  // An entry was removed from the port list, or the selection changed.
  virtual void portListChanged() {}
  // A valid live frame, handed over before it is acknowledged with 'X'.
  virtual void liveFrame(const QByteArray& /*frame*/) {}
  // The meter answered the identification: meterModel() is known, the link is "On Connection".
  // byScan: found by the start-up scan (the window side is then done by the start-up sequence).
  virtual void meterIdentified(bool /*byScan*/) {}
  // missedTickLimit ticks went by without a frame. wasConnected: the meter had been identified.
  virtual void linkLost(bool /*wasConnected*/) {}
  // Called on every poll tick after the supervision, with the tick's time (the
  // scheduled automatic download hooks in here).
  virtual void pollTick(TDateTime /*now*/) {}
};

class LiveLink {
 public:
  static constexpr int missedTickLimit = 3;
  static constexpr int kMaxBytesPerEvent = 256;
  static constexpr int kDesignIntervalMs = 100;
  static constexpr int kMinIntervalMs = 500;

  LiveLink(Clock& clock, SerialBackend& backend);
  ~LiveLink();
  LiveLink(const LiveLink&) = delete;
  LiveLink& operator=(const LiveLink&) = delete;

  void setObserver(LinkObserver* observer) { observer_ = observer ? observer : &silent_; }

  // --- port list ---
  // Fills the list (the system's ports, then the extra paths given on the command
  // line) and selects entry 0.
  void setPortList(const QStringList& ports);
  const QStringList& portList() const { return ports_; }
  int selectedPort() const { return selected_; }
  QString selectedPortName() const;
  // The user picked another entry: reopen Comm1 there. The link state is left as it
  // is; the supervision finds out whether a meter answers on the new port.
  void changePort(int index);

  // --- start-up ---
  // Tries every port in the list with 'K'; a port that does not open is removed.
  // Returns whether a meter answered; its port is then selected and left open.
  bool scanPorts();
  // No meter found: fall back to the remembered port and model.
  void selectRememberedPort(int lastConnectedPort, int lastConnectedModel);
  // Reopens Comm1 with the receive handler, sends 'a' and starts the poll timer.
  void openLiveLink();
  // The three steps above, in order; returns whether the scan found the meter.
  bool startUp(int lastConnectedPort, int lastConnectedModel);

  // --- events ---
  void receiveHandler();   // Comm1's receive event
  void mainTimerTick();    // MainTimer's tick
  void sendLiveCommand(char letter);
  // Before the program closes: let a running receive handler finish, then close the port.
  void closeRequest();

  // --- state, for the windows and tests ---
  bool meterConnected() const { return meterConnected_; }
  int meterModel() const { return meterModel_; }
  bool frameSeen() const { return frameSeen_; }
  bool rxBusy() const { return rxBusy_; }
  bool pollBusy() const { return pollBusy_; }
  int missedTicks() const { return missedTicks_; }
  const QByteArray& rxBuffer() const { return rxBuffer_; }
  const MeterCommand& liveCommand() const { return liveCommand_; }
  SerialPort& comm1() { return *comm1_; }
  TickTimer& mainTimer() { return *mainTimer_; }
  Clock& clock() { return clock_; }
  SerialBackend& backend() { return backend_; }

 private:
  void identifyMeter();
  void loseLink();
  void correctPeriod();
  void selectPort(int index);
  void attachReceiveHandler();
  template <typename Flag>
  void waitWhile(const Flag& flag);

  Clock& clock_;
  SerialBackend& backend_;
  LinkObserver silent_;
  LinkObserver* observer_ = &silent_;
  std::unique_ptr<SerialPort> comm1_;
  std::unique_ptr<TickTimer> mainTimer_;

  QStringList ports_;
  int selected_ = -1;

  // The packet buffer of the live side. Senders rewrite only the letter; the start-up
  // scan writes it untouched, so its first packet carries the initial 'K'.
  MeterCommand liveCommand_ = MeterCommand::withLetter(letter::kIdentify);
  QByteArray rxBuffer_;
  bool meterConnected_ = false;
  int meterModel_ = 472;
  bool frameSeen_ = false;
  bool rxBusy_ = false;
  bool pollBusy_ = false;
  int missedTicks_ = 0;
  bool firstTick_ = true;
  qint64 previousTickMs_ = 0;
};
