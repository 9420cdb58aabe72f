#include "live/RealTimeRecorder.h"

#include "live/RealTimeRules.h"
#include "text/Formats.h"
#include "text/Texts.h"

namespace {

constexpr float kChartMaxLevel = 130.0f;
constexpr float kChartMinLevel = 30.0f;
// The time axis: 100 s shown when a recording starts, widened by 30 s whenever a
// reading passes its right end; Clear shows 30 s over 200 points.
constexpr double kStartSpanSeconds = 100.0;
constexpr double kGrowthSeconds = 30.0;
constexpr int kClearedPointCount = 200;
// Slots below this one are never moved by Clear; the counter goes back to it.
constexpr int kFirstClearedAnnotationSlot = 3;

}  // namespace

RealTimeRecorder::RealTimeRecorder(RealTimeContext context, float realTimeRate)
    : context_(std::move(context)), realTimeRate_(realTimeRate) {}

void RealTimeRecorder::windowOpened(RealTimeGraphView& view) {
  view_ = &view;
  const TDateTime now = context_.clock.now();
  view.resetChart(kChartMaxLevel, kChartMinLevel,
                  now + datetime::fromSeconds(static_cast<double>(realTimeRate_) * kDefaultPointCount), now,
                  kDefaultPointCount);
  selectPresetFor(realTimeRate_);
  lastSampleTime_ = now;
}

void RealTimeRecorder::windowClosed() {
  view_ = nullptr;
  realTimeRunning_ = false;
  realTimePointCount_ = 0;
  context_.host.setRunStop(context_.host.meterConnected(), false);
}

void RealTimeRecorder::selectPresetFor(double rate) {
  if (!view_) return;
  const std::optional<int> index = realtime::presetIndexForRate(rate);
  if (!index) return;
  // A view that reports its own change back must not read the preset's text into
  // realTimeRate: 0.6 s selects "1.0" and would become 1.0 s.
  settingPreset_ = true;
  view_->setPresetIndex(*index);
  settingPreset_ = false;
}

void RealTimeRecorder::btnRunClick() {
  if (!context_.host.meterConnected()) return;

  if (view_) {
    view_->restoreWindow();
    if (realTimeRunning_ || realTimePointCount_ != 0) {
      const PromptButton answer = context_.prompts.ask(
          PromptKind::Confirmation,
          QString::fromLatin1(kResetQuestion) + texts::textOf(TextTable::Main, "IDS_43"),
          {PromptButton::Yes, PromptButton::No, PromptButton::Cancel});
      if (view_) view_->focusWindow();
      if (answer == PromptButton::Yes) {
        if (context_.saveSingleDataSet) context_.saveSingleDataSet();
      } else if (answer != PromptButton::No) {
        return;
      }
    }
  }
  // Also when the window went away during the save.
  if (!view_) context_.host.openRealTimeGraph();
  if (!view_ || !context_.askSetup) return;

  const RealTimeSetupRequest request{
      view_->presetText(),
      realtime::openingPeriodText(
          realtime::periodSeconds(kDefaultPointCount, static_cast<double>(realTimeRate_)))};
  const std::optional<RealTimeSetupAnswer> answer = context_.askSetup(request);
  if (!answer) return;
  // The dialog may have outlived the window (closed from the window list).
  if (!view_) return;

  const std::optional<double> rate = realtime::parseRate(answer->rateText);
  if (!rate) {
    context_.prompts.message(PromptKind::Error, realtime::conversionErrorText(answer->rateText));
    return;
  }
  const std::optional<int> count = realtime::parseCount(answer->countText);
  if (!count) {
    context_.prompts.message(PromptKind::Information,
                             answer->countText + texts::textOf(TextTable::Main, "IDS_44"));
    return;
  }
  startRecording(static_cast<float>(*rate), *count);
}

void RealTimeRecorder::startRecording(float rate, int count) {
  RealTimeGraphView& view = *view_;
  realTimeRate_ = rate;
  selectPresetFor(rate);
  view.setChartPoints(count);
  view.blankChart();
  realTimePointCount_ = 0;
  realTimeMax_ = -9999;
  realTimeMin_ = 9999;
  for (RealTimeField field : {RealTimeField::AvgAll, RealTimeField::Max, RealTimeField::Min, RealTimeField::MaxTime,
                              RealTimeField::MinTime}) {
    view.setField(field, QString());
  }
  view.clearCursorFields();
  const TDateTime now = context_.clock.now();
  view.setField(RealTimeField::StartTime, formats::dateTime(now));
  view.setManualXRange(now, now + datetime::fromSeconds(kStartSpanSeconds));
  view.setClearEnabled(false);
  realTimeRunning_ = true;
  context_.host.setRunStop(false, true);
  lastGoodLevel_ = 0;
  rejectedReadings_ = 0;
  context_.host.showRejectedReadings(QStringLiteral("0"));
}

void RealTimeRecorder::appendRealTimeReading(float level, TDateTime time) {
  if (!realTimeRunning_ || !view_) return;
  RealTimeGraphView& view = *view_;

  // The gate measures from the moment this reading is handled, not from when its
  // bytes arrived: decoding and the panel update take their time first.
  const TDateTime gateTime = context_.clock.now();
  if (!realtime::readingIsDue(gateTime - lastSampleTime_, realTimeRate_)) return;
  lastSampleTime_ = gateTime;

  if (!realtime::isPlausibleLevel(level)) {
    ++rejectedReadings_;
    context_.host.showRejectedReadings(QString::number(rejectedReadings_));
    if (!(lastGoodLevel_ > realtime::kLowestReplacementLevel)) return;
    level = lastGoodLevel_;
  } else {
    lastGoodLevel_ = level;
  }

  // No room left: only a recording planned with no points gets here (a full chart
  // stops the recording at its last point). The reading ends it unstored.
  if (realTimePointCount_ >= view.chartPoints()) {
    btnStopClick();
    return;
  }

  context_.realTimeUnsaved = true;
  if (level > realTimeMax_) {
    realTimeMax_ = level;
    realTimeMaxTime_ = time;
    view.setField(RealTimeField::Max, formats::level(level));
    view.setField(RealTimeField::MaxTime, formats::dateTime(time));
  }
  if (level < realTimeMin_) {
    realTimeMin_ = level;
    realTimeMinTime_ = time;
    view.setField(RealTimeField::Min, formats::level(level));
    view.setField(RealTimeField::MinTime, formats::dateTime(time));
  }

  view.setPoint(realTimePointCount_, time, level);
  ++realTimePointCount_;
  view.setField(RealTimeField::DataNo, QString::number(realTimePointCount_));

  // The left end stays at the start, so the whole recording stays in view.
  if (view.manualMaxX() < time) {
    view.setManualXRange(view.manualMinX(), time + datetime::fromSeconds(kGrowthSeconds));
  }

  // Ten points a second would redraw faster than the chart can paint.
  if (view.presetIndex() != realtime::kFastestPreset || realTimePointCount_ % 2 == 0) view.redrawChart();

  if (realTimePointCount_ >= view.chartPoints()) btnStopClick();
}

void RealTimeRecorder::btnStopClick() {
  realTimeRunning_ = false;
  context_.host.setRunStop(true, false);
  if (!view_) return;
  RealTimeGraphView& view = *view_;
  view.restoreWindow();
  view.setClearEnabled(true);

  const int count = realTimePointCount_;
  if (count < view.chartPoints()) view.setChartPoints(count);
  view.setManualXRange(view.manualMinX(), context_.clock.now());

  double sum = 0;
  for (int i = 0; i < count; ++i) sum += view.pointLevel(i);
  view.setField(RealTimeField::AvgAll, formats::level(count > 0 ? sum / count : 0.0));

  view.setSlider(0, count - 1, count / 3, 2 * count / 3);
  view.redrawChart();
}

void RealTimeRecorder::tbntClrClick() {
  if (!view_ || realTimeRunning_) return;
  RealTimeGraphView& view = *view_;
  const TDateTime now = context_.clock.now();
  view.resetChart(kChartMaxLevel, kChartMinLevel, now + datetime::fromSeconds(kGrowthSeconds), now,
                  kClearedPointCount);
  view.blankChart();
  realTimePointCount_ = 0;
  view.resetAnnotationSlots(kFirstClearedAnnotationSlot, context_.annotationSlotCounter);
  context_.annotationSlotCounter = kFirstClearedAnnotationSlot;
  view.redrawChart();
}

void RealTimeRecorder::txtSamplingRateChange() {
  if (!view_ || settingPreset_) return;
  if (realTimeRunning_) {
    selectPresetFor(realTimeRate_);
    context_.prompts.message(PromptKind::Information, QString::fromLatin1(kRateLockedMessage));
    return;
  }
  if (const std::optional<double> rate = realtime::parseRate(view_->presetText())) {
    realTimeRate_ = static_cast<float>(*rate);
  }
}
