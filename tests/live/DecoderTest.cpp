// Decoding of live frames into the display state, the meter clock text, the
// decoder's calls out, and the monitor's line format.

#include <gtest/gtest.h>

#include <QLocale>
#include <QRegularExpression>

#include "link/VirtualClock.h"
#include "live/DisplayState.h"
#include "live/FrameDecoder.h"
#include "support/LinkFixture.h"

using linktest::FrameFields;
using linktest::liveFrame;

namespace {

DisplayState decodeFields(const FrameFields& fields) { return decodeLiveFrame(liveFrame(fields)); }

QByteArray withLevelBytes(int high, int low) {
  QByteArray frame = liveFrame();
  frame[3] = static_cast<char>(high);
  frame[4] = static_cast<char>(low);
  return frame;
}

// Restores the tests' locale however a test ends.
struct LocaleGuard {
  QLocale saved;
  explicit LocaleGuard(const QLocale& use) { QLocale::setDefault(use); }
  ~LocaleGuard() { QLocale::setDefault(saved); }
};

}  // namespace

TEST(DecodeLiveFrame, LevelIsTenthsOfDbAsTheNearestFloat) {
  auto check = [](int high, int low, float level) {
    EXPECT_EQ(decodeLiveFrame(withLevelBytes(high, low)).level, level) << std::hex << high << " " << low;
  };
  check(0x02, 0x8E, 65.4f);
  check(0x00, 0x00, 0.0f);
  check(0x03, 0xE8, 100.0f);
  check(0x01, 0x2C, 30.0f);
  check(0x05, 0x14, 130.0f);
  check(0x00, 0x01, 0.1f);
  check(0xFF, 0xFF, 6553.5f);  // unsigned: no sign from the high bit
}

TEST(DecodeLiveFrame, DisplayValueFollowsTheMaxMinMode) {
  auto check = [](int a, int b, int expected) {
    FrameFields f;
    f.statusA = static_cast<std::uint8_t>(a);
    f.statusB = static_cast<std::uint8_t>(b);
    f.level = 600;
    f.display = 611;
    f.max = 722;
    f.min = 433;
    EXPECT_EQ(decodeFields(f).displayValue, expected) << std::hex << "A " << a << " B " << b;
  };
  check(0x04, 0xE4, 722);  // MAX shown: bytes 7-8
  check(0x04, 0xE8, 433);  // MIN shown: bytes 9-10
  check(0x04, 0xEC, 611);  // MAX and MIN blinking: the current value, bytes 5-6
  check(0x04, 0xE0, 611);
  check(0x00, 0xE4, 611);  // MAX/MIN mode off: the display bits do not count
  check(0x00, 0xE8, 611);
  check(0x1C, 0xF7, 722);  // other bits around them change nothing
}

TEST(DecodeLiveFrame, StatusBitsAndClockBytes) {
  struct Flags {
    bool recording, maxMinActive, weightingA, fast, lowBattery, under, over;
  };
  auto flagsOf = [](const DisplayState& s) {
    return std::vector<bool>{s.recording, s.maxMinActive, s.weightingA, s.fast, s.lowBattery, s.under, s.over};
  };
  auto check = [&](int a, Flags expected) {
    FrameFields f;
    f.statusA = static_cast<std::uint8_t>(a);
    const DisplayState s = decodeFields(f);
    EXPECT_EQ(flagsOf(s), (std::vector<bool>{expected.recording, expected.maxMinActive, expected.weightingA, expected.fast,
                                             expected.lowBattery, expected.under, expected.over}))
        << std::hex << a;
    EXPECT_EQ(s.statusA, a);
  };
  check(0x00, {false, false, false, false, false, false, false});
  check(0x01, {true, false, false, false, false, false, false});
  check(0x02, {false, false, false, false, false, false, false});  // bit 1 is not used
  check(0x04, {false, true, false, false, false, false, false});
  check(0x08, {false, false, true, false, false, false, false});
  check(0x10, {false, false, false, true, false, false, false});
  check(0x20, {false, false, false, false, true, false, false});
  check(0x40, {false, false, false, false, false, true, false});
  check(0x80, {false, false, false, false, false, false, true});
  check(0xFF, {true, true, true, true, true, true, true});

  for (int b = 0xE0; b <= 0xFF; ++b) {
    FrameFields f;
    f.statusB = static_cast<std::uint8_t>(b);
    const DisplayState s = decodeFields(f);
    EXPECT_EQ(s.range, b & 3) << b;
    EXPECT_EQ(s.maxMinDisplay, b & 0x0C) << b;
    EXPECT_EQ(s.full, (b & 0x10) != 0) << b;
    EXPECT_EQ(s.statusB, b);
  }

  FrameFields f;
  f.hours = 0x09;
  f.minutes = 0x05;
  f.seconds = 0x30;
  EXPECT_EQ(decodeFields(f).clockBytes, (std::array<std::uint8_t, 3>{0x09, 0x05, 0x30}));
}

TEST(RangeInfo, NamesAndLabels) {
  auto check = [](int code, const char* name, const char* low, const char* high) {
    EXPECT_STREQ(rangeInfo(code).name, name);
    EXPECT_STREQ(rangeInfo(code).lowLabel, low);
    EXPECT_STREQ(rangeInfo(code).highLabel, high);
  };
  check(0, "Lo", "30", "80");
  check(1, "Med", "50", "100");
  check(2, "Hi", "80", "130");
  check(3, "Auto", "30", "130");
}

TEST(MeterClockText, OneSecondEarlierOrTheRawTextWhenNotATime) {
  auto check = [](int h, int m, int s, const char* expected) {
    EXPECT_EQ(meterClockText({static_cast<std::uint8_t>(h), static_cast<std::uint8_t>(m), static_cast<std::uint8_t>(s)}),
              QString(expected))
        << std::hex << h << " " << m << " " << s;
  };
  check(0x00, 0x00, 0x05, "00:00:04");
  check(0x09, 0x05, 0x30, "09:05:29");
  check(0x12, 0x00, 0x00, "11:59:59");
  check(0x23, 0x59, 0x59, "23:59:58");
  check(0x00, 0x00, 0x00, "23:59:59");  // before midnight wraps as a time of day
  check(0x12, 0x61, 0x00, "12:61:00");  // not a time: raw, without the correction
  check(0x24, 0x00, 0x00, "24:00:00");
  check(0x6A, 0x0B, 0xFF, "6A:0B:FF");  // non-BCD bytes, upper-case hex
}

TEST(MeterClockText, DoesNotDependOnTheLocale) {
  LocaleGuard french(QLocale(QLocale::French, QLocale::France));
  EXPECT_EQ(meterClockText({0x13, 0x00, 0x00}), "12:59:59");
}

// ------------------------------------------------------------ FrameDecoder

TEST(FrameDecoder, KeepsMeterRecordingWithoutAPanel) {
  VirtualClock clock;
  FrameDecoder decoder(clock);
  FrameFields f;
  f.statusA = 0x01;
  decoder.decode(liveFrame(f));
  EXPECT_TRUE(decoder.meterRecording());
  f.statusA = 0x18;
  decoder.decode(liveFrame(f));
  EXPECT_FALSE(decoder.meterRecording());
}

TEST(FrameDecoder, CallsThePanelThenTheRecorderWithOneTimeStamp) {
  VirtualClock clock;
  FrameDecoder decoder(clock);
  std::vector<std::string> calls;
  DisplayState panelState;
  float recordedLevel = 0;
  TDateTime recordedAt = 0, printedAt = 0;
  decoder.panelSink = [&](const DisplayState& s) {
    calls.push_back("panel");
    panelState = s;
    clock.delayMs(50);  // drawing takes time; the reading's time stamp must not move
  };
  decoder.frameSink = [&](const DisplayState&, TDateTime at) {
    calls.push_back("frame");
    printedAt = at;
  };
  decoder.recordingActive = [] { return true; };
  decoder.recordingSink = [&](float level, TDateTime at) {
    calls.push_back("record");
    recordedLevel = level;
    recordedAt = at;
  };
  const TDateTime before = clock.now();
  FrameFields f;
  f.level = 0x028E;
  f.statusA = 0x05;
  f.statusB = 0xE6;
  decoder.decode(liveFrame(f));

  EXPECT_EQ(calls, (std::vector<std::string>{"panel", "frame", "record"}));
  EXPECT_EQ(panelState.level, 65.4f);
  EXPECT_EQ(panelState.range, 2);
  EXPECT_EQ(recordedLevel, 65.4f);
  EXPECT_EQ(recordedAt, before);
  EXPECT_EQ(printedAt, before);
  EXPECT_EQ(decoder.lastState().statusB, 0xE6);
}

TEST(FrameDecoder, RecorderIsNotCalledWhileNoRecordingRunsIntoAWindow) {
  VirtualClock clock;
  FrameDecoder decoder(clock);
  int recorded = 0;
  decoder.recordingSink = [&](float, TDateTime) { ++recorded; };
  decoder.decode(liveFrame());  // no recordingActive at all
  bool active = false;
  decoder.recordingActive = [&] { return active; };
  decoder.decode(liveFrame());
  EXPECT_EQ(recorded, 0);
  active = true;
  decoder.decode(liveFrame());
  EXPECT_EQ(recorded, 1);
  // No sinks at all: decoding still keeps the state.
  FrameDecoder bare(clock);
  bare.decode(liveFrame());
  EXPECT_EQ(bare.lastState().level, 65.0f);
}

// ------------------------------------------------------------ monitorLine

namespace {

const TDateTime kReceived = datetime::fromQDateTime(QDateTime(QDate(2025, 12, 11), QTime(9, 5, 30, 250)));

QString lineFor(int a, int b, int level, int display, int model, std::uint8_t h = 0x09, std::uint8_t m = 0x05,
                std::uint8_t s = 0x31) {
  FrameFields f;
  f.statusA = static_cast<std::uint8_t>(a);
  f.statusB = static_cast<std::uint8_t>(b);
  f.level = level;
  f.display = display;
  f.max = display;
  f.min = display;
  f.hours = h;
  f.minutes = m;
  f.seconds = s;
  return monitorLine(decodeFields(f), kReceived, model);
}

}  // namespace

TEST(MonitorLine, Fields) {
  auto check = [](const QString& line, const char* expected) { EXPECT_EQ(line.toStdString(), expected); };
  check(lineFor(0x18, 0xE0, 654, 654, 472), "2025-12-11T09:05:30.250,65.4,65.4,Lo,A,FAST,,09:05:30");
  check(lineFor(0x00, 0xE3, 1300, 1299, 472), "2025-12-11T09:05:30.250,130.0,129.9,Auto,C,SLOW,,09:05:30");
  check(lineFor(0x18, 0xE1, 5, 5, 471), "2025-12-11T09:05:30.250,0.5,0.5,Med,A,FAST,,");  // no clock on a 471
  check(lineFor(0x18, 0xE2, 700, 700, 472, 0x12, 0x61, 0x00), "2025-12-11T09:05:30.250,70.0,70.0,Hi,A,FAST,,12:61:00");
}

TEST(MonitorLine, AnnunciatorWords) {
  auto check = [](int a, int b, const char* words) {
    const QStringList fields = lineFor(a, b, 600, 600, 472).split(',');
    ASSERT_EQ(fields.size(), 8);
    EXPECT_EQ(fields[6].toStdString(), words) << std::hex << "A " << a << " B " << b;
  };
  check(0x18, 0xE0, "");
  check(0x19, 0xE0, "REC");
  check(0x1C, 0xE0, "MAXMIN");
  check(0x1C, 0xE4, "MAXMIN MAX");
  check(0x1C, 0xE8, "MAXMIN MIN");
  check(0x1C, 0xEC, "MAXMIN MAX MIN");
  check(0x18, 0xE4, "");  // MAX/MIN display bits without the mode
  check(0x18, 0xF0, "FULL");
  check(0x38, 0xE0, "BAT");
  check(0x58, 0xE0, "UNDER");
  check(0x98, 0xE0, "OVER");
  check(0xFD, 0xFC, "REC MAXMIN MAX MIN FULL BAT UNDER OVER");
}

TEST(MonitorLine, DecimalPointInEveryLocale) {
  LocaleGuard french(QLocale(QLocale::French, QLocale::France));
  const QString line = lineFor(0x18, 0xE0, 12345, 12345, 472);
  EXPECT_EQ(line.toStdString(), "2025-12-11T09:05:30.250,1234.5,1234.5,Lo,A,FAST,,09:05:30");
}
