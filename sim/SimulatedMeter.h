#pragma once
// The simulated meter: the meter's side of the serial protocol, written from the
// protocol's description. It is a real peer, not a mock: it parses the 8-byte
// packets the program sends and answers as the meter does, so the same program code
// that talks to a real meter talks to it.
//
// Live side: 'A' and 'X' are answered with a live frame; 'K' with the 4-byte model
// reply; 'a' starts the frame stream when no frame is waiting for its acknowledge;
// the panel keys change the state bits. The logger side plugs in through
// setPacketHandler(): letters the live side does not know go there.
//
// Transport-free: bytes come in through receive() and go out through the send
// function, timing goes through a SimScheduler. InProcessMeter.h binds it to the
// fake serial bus on the virtual clock, PtyMeter.h to a pseudo-terminal.

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include <QByteArray>
#include <QString>

#include "link/TDateTime.h"

class SimScheduler {
 public:
  virtual ~SimScheduler() = default;
  virtual qint64 nowMs() const = 0;     // monotonic
  virtual TDateTime now() const = 0;    // local date-time
  virtual void after(int delayMs, std::function<void()> work) = 0;
};

struct SimOptions {
  int model = 472;                // 471 or 472
  int frameIntervalMs = 100;      // from an 'X' to the next frame
  int pollReplyMs = 20;           // from an 'A' to its frame
  int identifyReplyMs = 30;       // from a 'K' to the model reply
  bool identifyReply = true;      // false: 'K' gets no answer
  bool silent = false;            // answers nothing at all
  bool garbage = false;           // some frames come after stray bytes
  bool splitFrames = false;       // frames come in two pieces
  std::uint32_t seed = 1;         // for the level's noise and the faults
};

class SimulatedMeter {
 public:
  using Send = std::function<void(const QByteArray& bytes, int delayMs)>;

  SimulatedMeter(SimScheduler& scheduler, Send send, SimOptions options = {});

  // Bytes from the program.
  void receive(const QByteArray& bytes);

  // --- state and faults ---
  SimOptions& options() { return options_; }
  void setSilent(bool silent) { options_.silent = silent; }
  // Levels in tenths of dB, one per frame in turn; the last one is held. Empty: the
  // built-in slowly varying level.
  void setLevelScript(std::vector<int> tenths) { script_ = std::move(tenths); scriptIndex_ = 0; }
  std::uint8_t statusA() const { return statusA_; }
  std::uint8_t statusB() const { return statusB_; }
  void setStatus(std::uint8_t a, std::uint8_t b) { statusA_ = a; statusB_ = b | 0xE0; }
  int range() const { return statusB_ & 0x03; }

  // Every packet received, in order (8 bytes each).
  const std::vector<QByteArray>& packets() const { return packets_; }
  int countOf(char letter) const;
  int framesSent() const { return framesSent_; }

  // The logger side: gets the packets with letters the live side does not handle;
  // returns false when it does not know the packet either.
  void setPacketHandler(std::function<bool(const QByteArray& packet)> handler) { loggerSide_ = std::move(handler); }
  void send(const QByteArray& bytes, int delayMs = 0) {
    if (!options_.silent) send_(bytes, delayMs);
  }
  SimScheduler& scheduler() { return scheduler_; }

  // The next live frame as it would be sent now.
  QByteArray buildFrame();

 private:
  void handlePacket(const QByteArray& packet);
  void sendFrame(int delayMs);
  int nextLevelTenths();
  void pressMaxMin();
  std::uint32_t random();

  SimScheduler& scheduler_;
  Send send_;
  SimOptions options_;
  QByteArray input_;
  std::vector<QByteArray> packets_;
  std::function<bool(const QByteArray&)> loggerSide_;

  std::uint8_t statusA_ = 0x18;  // A weighting, FAST
  std::uint8_t statusB_ = 0xE0;  // range Lo, no MAX/MIN display
  std::vector<int> script_;
  std::size_t scriptIndex_ = 0;
  int maxTenths_ = 0;
  int minTenths_ = 0;
  bool awaitingAck_ = false;
  int framesSent_ = 0;
  std::uint32_t rng_;
  qint64 startMs_;
};
