#pragma once
// The real-time recording: Run asks for a number of points and an interval, every
// live reading is then thinned to that interval, tested for plausibility and
// appended to the chart of the Real-Time Graph window with the running maximum and
// minimum, until the chart is full, Stop is pressed or the window closes.
//
// The recorder owns the recording's state; the points themselves live only in the
// window's chart. The main window keeps one recorder for the whole run, implements
// RealTimeHost, wraps the Real-Time Graph window in a RealTimeGraphView, and routes
// to the recorder: the Run and Stop commands, the window's Clear button and preset
// box, the window's opening and closing, and every decoded live reading.

#include <functional>
#include <optional>
#include <utility>

#include <QString>

#include "link/Clock.h"
#include "link/TDateTime.h"
#include "live/RealTimeView.h"
#include "text/Prompts.h"

// What Run shows in the setup dialog, and what the dialog gives back on Start.
struct RealTimeSetupRequest {
  QString rateText;    // the graph window's txtSamplingRate text
  QString periodText;  // the period of 2000 points at the current rate, "h:m:s"
};
struct RealTimeSetupAnswer {
  QString rateText;   // txtRate as it stands
  QString countText;  // edtRealTimeNo as it stands, blanks included
};
// Shows the setup dialog modally; nothing for Cancel. The desktop's is
// askRealTimeSetup (live/SetupRealTime.h); tests answer from a script.
using AskRealTimeSetup = std::function<std::optional<RealTimeSetupAnswer>(const RealTimeSetupRequest&)>;

struct RealTimeContext {
  Clock& clock;
  Prompts& prompts;
  RealTimeHost& host;
  // The annotation slot counter shared by every graph window: the last slot used.
  // It belongs to the annotations; Clear sets it back to 3.
  int& annotationSlotCounter;
  // realTimeUnsaved: set by every recorded point; the Real-Time Graph window asks
  // to save when it closes with it set. The main window owns it.
  bool& realTimeUnsaved;
  // saveSingleDataSet: saves the active graph window to a .ghf, .txt or .csv file
  // of the user's choice. Run calls it, after giving the Real-Time Graph window the
  // focus, when the user wants the old recording saved.
  std::function<void()> saveSingleDataSet;
  AskRealTimeSetup askSetup;
};

class RealTimeRecorder {
 public:
  // The planned count the setup dialog proposes, and the chart's size on opening.
  static constexpr int kDefaultPointCount = 2000;
  // Fixed English texts, not translated.
  static constexpr const char* kResetQuestion = "There are datas in Real_Time graph ,it have to reset the graph.\n";
  static constexpr const char* kRateLockedMessage = "Can not change Sampling Rate while Real-Time is running.";

  // realTimeRate as read from the settings ("RealTimeRate", 0.2 by default).
  explicit RealTimeRecorder(RealTimeContext context, float realTimeRate = 0.2f);

  // --- the Real-Time Graph window ---
  // openRealTimeGraph, the recorder's steps: the chart reset to 2000 points over
  // 2000 intervals from now, the preset box set to the rate, lastSampleTime = now.
  // Call it once the window exists, before setting the "dB" axis label and the
  // other settings of the role (a chart template must not override them). The view
  // must outlive the recorder's use of it: call windowClosed() when it goes.
  void windowOpened(RealTimeGraphView& view);
  // The window closed: the recording ends without Stop's steps (realTimeRunning
  // cleared, no point recorded), Run enabled when the meter is connected, Stop
  // disabled, and the view forgotten.
  void windowClosed();
  RealTimeGraphView* realTimeGraphWindow() const { return view_; }

  // --- commands ---
  // "Run": the save question, the setup dialog, the checks, the start.
  void btnRunClick();
  // "Stop", and the automatic end when the chart is full.
  void btnStopClick();
  // "Clear" of the window: an empty 200-point chart from now, the annotation slots
  // from 3 on moved out of view and the counter set to 3. Ignored while recording.
  void tbntClrClick();
  // The user chose a preset in the window's txtSamplingRate.
  void txtSamplingRateChange();

  // Every decoded live reading, at the end of its handling: level in dB and the
  // time it was received. The rate gate reads the clock afresh.
  void appendRealTimeReading(float level, TDateTime time);

  // --- state ---
  bool realTimeRunning() const { return realTimeRunning_; }
  float realTimeRate() const { return realTimeRate_; }  // written back to the settings at exit
  int realTimePointCount() const { return realTimePointCount_; }
  TDateTime lastSampleTime() const { return lastSampleTime_; }
  float lastGoodLevel() const { return lastGoodLevel_; }
  float realTimeMax() const { return realTimeMax_; }
  TDateTime realTimeMaxTime() const { return realTimeMaxTime_; }
  float realTimeMin() const { return realTimeMin_; }
  TDateTime realTimeMinTime() const { return realTimeMinTime_; }
  int rejectedReadings() const { return rejectedReadings_; }
  // Set by every recorded point; the window's close question clears it.
  bool realTimeUnsaved() const { return context_.realTimeUnsaved; }
  void setRealTimeUnsaved(bool unsaved) { context_.realTimeUnsaved = unsaved; }

 private:
  void startRecording(float rate, int count);
  void selectPresetFor(double rate);

  RealTimeContext context_;
  RealTimeGraphView* view_ = nullptr;
  bool settingPreset_ = false;

  bool realTimeRunning_ = false;
  float realTimeRate_;
  int realTimePointCount_ = 0;
  TDateTime lastSampleTime_ = 0;
  float lastGoodLevel_ = 0;
  float realTimeMax_ = -9999;
  TDateTime realTimeMaxTime_ = 0;
  float realTimeMin_ = 9999;
  TDateTime realTimeMinTime_ = 0;
  int rejectedReadings_ = 0;
};
