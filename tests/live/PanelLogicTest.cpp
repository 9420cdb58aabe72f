// The front panel's decisions: the digits of a display value, the bar graph's
// width, and what the annunciators do for a frame.

#include <gtest/gtest.h>

#include "live/PanelLogic.h"
#include "link/VirtualClock.h"

namespace {

constexpr int kBlank = panel::kBlankDigit;

DisplayState withStatus(std::uint8_t a, std::uint8_t b) {
  QByteArray frame(15, '\0');
  frame[0] = 0x02;
  frame[1] = static_cast<char>(a);
  frame[2] = static_cast<char>(b | 0xE0);
  frame[14] = 0x03;
  return decodeLiveFrame(frame);
}

}  // namespace

TEST(PanelDigits, ReadLikeThe1888Display) {
  auto check = [](int value, std::array<int, 4> digits) {
    const auto shown = panel::digitsOf(value);
    ASSERT_TRUE(shown.has_value()) << value;
    EXPECT_EQ(*shown, digits) << value;
  };
  check(654, {kBlank, 6, 5, 4});
  check(1023, {1, 0, 2, 3});
  check(45, {kBlank, 0, 4, 5});
  check(0, {kBlank, 0, 0, 0});
  check(1999, {1, 9, 9, 9});
  // The leading place shows nothing but a 1: the meter never reads 200 dB.
  check(2345, {kBlank, 3, 4, 5});
  check(10999, {kBlank, 9, 9, 9});
}

TEST(PanelDigits, ValuesBeyondTheDisplayChangeNothing) {
  for (int value : {11000, 11001, 12345, 65535}) EXPECT_FALSE(panel::digitsOf(value).has_value()) << value;
}

TEST(PanelBar, WidthFromLevelAndRange) {
  auto check = [](float level, int range, int width) {
    EXPECT_EQ(panel::barWidth(level, range), width) << level << " dB, range " << range;
  };
  check(200.0f, 0, 101);  // far above: held at full scale
  check(80.0f, 0, 101);
  check(65.4f, 0, 71);
  check(30.0f, 0, 1);
  check(29.5f, 0, 1);     // truncated toward zero, not down
  check(29.0f, 0, -1);
  check(25.0f, 0, -9);    // below the range: no bar, and no lower limit
  check(75.0f, 1, 51);
  check(100.0f, 1, 101);
  check(130.0f, 2, 101);
  check(85.0f, 2, 11);
  check(130.0f, 3, 81);   // Auto counts half-dB steps from 50 dB
  check(50.0f, 3, 1);
  check(40.0f, 3, -9);
  check(181.0f, 3, 101);
}

TEST(PanelAnnunciators, DueWhenAStatusByteChangesOrAllMustBeRedrawn) {
  VirtualClock clock;
  PanelMemory memory(clock);
  memory.panelRefreshAll = false;
  memory.lastStatusA = 0x18;
  memory.lastStatusB = 0xE0;
  EXPECT_FALSE(panel::annunciatorsDue(memory, withStatus(0x18, 0x00)));
  EXPECT_TRUE(panel::annunciatorsDue(memory, withStatus(0x08, 0x00)));
  EXPECT_TRUE(panel::annunciatorsDue(memory, withStatus(0x18, 0x01)));
  memory.panelRefreshAll = true;
  EXPECT_TRUE(panel::annunciatorsDue(memory, withStatus(0x18, 0x00)));
}

TEST(PanelAnnunciators, MaxMinLook) {
  using panel::MaxMinLook;
  auto check = [](std::uint8_t a, std::uint8_t b, MaxMinLook look) {
    EXPECT_EQ(panel::maxMinLook(withStatus(a, b)), look) << std::hex << int(a) << " " << int(b);
  };
  check(0x18, 0x0C, MaxMinLook::HideBoth);  // the display bits count only in MAX/MIN mode
  check(0x1C, 0x00, MaxMinLook::StopBlinking);
  check(0x1C, 0x04, MaxMinLook::ShowMax);
  check(0x1C, 0x08, MaxMinLook::ShowMin);
  check(0x1C, 0x0C, MaxMinLook::Blink);
}

TEST(PanelAnnunciators, TextKeys) {
  EXPECT_STREQ(panel::recordTextKey(withStatus(0x01, 0x10)), "IDS_15");  // recording wins over full
  EXPECT_STREQ(panel::recordTextKey(withStatus(0x00, 0x10)), "IDS_16");
  EXPECT_EQ(panel::recordTextKey(withStatus(0x00, 0x00)), nullptr);
  EXPECT_STREQ(panel::timeWeightingTextKey(withStatus(0x10, 0x00)), "IDS_18");
  EXPECT_STREQ(panel::timeWeightingTextKey(withStatus(0x00, 0x00)), "IDS_17");
}

TEST(PanelMemoryBlink, TicksToggleAndReachOnlyTheAttachedPanel) {
  VirtualClock clock;
  PanelMemory memory(clock);
  std::vector<bool> first, second;
  int owner1 = 0, owner2 = 0;
  memory.maxMinTimer().start();
  clock.runFor(500);  // no panel: the flag moves, nothing is drawn
  EXPECT_TRUE(memory.blink);
  memory.attachBlink(&owner1, [&](bool shown) { first.push_back(shown); });
  clock.runFor(1000);
  EXPECT_EQ(first, (std::vector<bool>{false, true}));
  // A new panel attached before the old one went away: the old one's detach leaves it.
  memory.attachBlink(&owner2, [&](bool shown) { second.push_back(shown); });
  memory.detachBlink(&owner1);
  clock.runFor(500);
  EXPECT_EQ(first.size(), 2u);
  EXPECT_EQ(second, (std::vector<bool>{false}));
  memory.detachBlink(&owner2);
  clock.runFor(500);
  EXPECT_EQ(second.size(), 1u);
  EXPECT_FALSE(memory.blinkBusy);
}
