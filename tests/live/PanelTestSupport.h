#pragma once
// The front panel under test: a panel on a link with no meter behind it, with the
// main window's side (the memory, the digit pictures, the prompts) made here.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include <QCoreApplication>
#include <QLabel>
#include <QPointer>

#include "link/FakeSerial.h"
#include "link/LiveLink.h"
#include "link/VirtualClock.h"
#include "live/Panel.h"
#include "live/PanelArt.h"
#include "live/PanelKey.h"
#include "text/Prompts.h"
#include "text/Texts.h"

namespace paneltest {

struct Frame {
  std::uint8_t statusA = 0x18;  // A weighting, FAST
  std::uint8_t statusB = 0x00;  // range Lo
  int level = 654;              // tenths of dB
  int display = -1;             // -1: the level
  std::array<std::uint8_t, 3> clock{0x12, 0x34, 0x56};
};

inline QByteArray frameBytes(const Frame& f) {
  QByteArray frame(15, '\0');
  const int display = f.display < 0 ? f.level : f.display;
  frame[0] = 0x02;
  frame[1] = static_cast<char>(f.statusA);
  frame[2] = static_cast<char>(f.statusB | 0xE0);
  for (int at : {3, 5, 7, 9}) {
    const int value = at == 3 ? f.level : display;
    frame[at] = static_cast<char>(value >> 8);
    frame[at + 1] = static_cast<char>(value & 0xFF);
  }
  for (int i = 0; i < 3; ++i) frame[11 + i] = static_cast<char>(f.clock[i]);
  frame[14] = 0x03;
  return frame;
}

inline DisplayState stateOf(const Frame& f) { return decodeLiveFrame(frameBytes(f)); }

// Deletes what the panel handed to deleteLater (a closed panel frees itself).
inline void runDeferredDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

// Sets the language for one test and puts the program's French back afterwards.
struct LanguageGuard {
  explicit LanguageGuard(Language use) { texts::setLanguage(use); }
  ~LanguageGuard() { texts::setLanguage(Language::French); }
};

class PanelFixture : public ::testing::Test {
 protected:
  VirtualClock clock;
  FakeSerialBackend backend{clock};
  LiveLink link{clock, backend};
  ScriptedPrompts prompts;
  PanelMemory memory{clock};
  std::array<QPixmap, 16> digits = makeLcdDigits(1.0);
  QPointer<TfrmPanel> panel;

  void SetUp() override { panel = openPanel(); }
  void TearDown() override {
    delete panel.data();
    runDeferredDeletes();
  }

  // What showPanel does: a new panel on the kept memory, drawing everything next frame.
  TfrmPanel* openPanel(QWidget* parent = nullptr) {
    memory.panelRefreshAll = true;
    return new TfrmPanel(PanelContext{clock, link, prompts, memory, digits}, parent);
  }

  template <typename T = QLabel>
  T* element(const char* name) const {
    T* found = panel->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  QLabel* digit(int k) const { return element(QByteArray("MainD" + QByteArray::number(k)).constData()); }
  // The lcdDigits index MainDk shows, -1 for a picture that is none of them.
  int digitShown(int k) const {
    const qint64 key = digit(k)->pixmap().cacheKey();
    for (int i = 0; i < 16; ++i)
      if (digits[i].cacheKey() == key) return i;
    return -1;
  }
  std::array<int, 4> digitsShown() const { return {digitShown(1), digitShown(2), digitShown(3), digitShown(4)}; }
  void show(const Frame& f) { panel->updatePanel(stateOf(f)); }
};

}  // namespace paneltest
