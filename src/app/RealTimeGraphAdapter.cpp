#include "app/RealTimeGraphAdapter.h"

#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "graph/Chart.h"

void RealTimeGraphAdapter::restoreWindow() {
  if (frame_ && (frame_->isMinimized() || frame_->isMaximized())) frame_->showNormal();
}

void RealTimeGraphAdapter::focusWindow() {
  if (frame_) area_->setActiveSubWindow(frame_);
}

void RealTimeGraphAdapter::resetChart(float maxY, float minY, TDateTime maxX, TDateTime minX, int points) {
  window_.resetChart(1, maxY, minY, maxX, minX, points);
}

int RealTimeGraphAdapter::chartPoints() const { return window_.chart().pointCount(); }
void RealTimeGraphAdapter::setChartPoints(int count) { window_.chart().setPointCount(count); }
void RealTimeGraphAdapter::blankChart() { window_.chart().blankPoints(); }

void RealTimeGraphAdapter::setPoint(int index, TDateTime time, float level) {
  window_.chart().setX(index, time);
  window_.chart().setY(index, level);
}

float RealTimeGraphAdapter::pointLevel(int index) const { return window_.chart().y(index); }
TDateTime RealTimeGraphAdapter::manualMinX() const { return window_.chart().xRange().lower; }
TDateTime RealTimeGraphAdapter::manualMaxX() const { return window_.chart().xRange().upper; }
void RealTimeGraphAdapter::setManualXRange(TDateTime minX, TDateTime maxX) { window_.chart().setXRange(minX, maxX); }

void RealTimeGraphAdapter::resetAnnotationSlots(int firstSlot, int lastSlot) {
  Chart& chart = window_.chart();
  std::vector<std::pair<int, chart::GraphAnnotation>> moved;
  for (const auto& [slot, annotation] : chart.annotations()) {
    if (slot < firstSlot || slot > lastSlot) continue;
    chart::GraphAnnotation outOfView = annotation;
    outOfView.x = 0;
    outOfView.y = 0;
    moved.emplace_back(slot, outOfView);
  }
  for (const auto& [slot, annotation] : moved) chart.setAnnotation(slot, annotation);
}

void RealTimeGraphAdapter::redrawChart() { window_.redrawChart(); }

void RealTimeGraphAdapter::setField(RealTimeField field, const QString& text) {
  static const char* const names[] = {"txtStartTime", "txtDataNo", "txtMax",    "txtMaxTime",
                                      "txtMin",       "txtMinTime", "txtAvgAll"};
  window_.setField(names[static_cast<int>(field)], text);
}

void RealTimeGraphAdapter::clearCursorFields() { window_.clearCursorFields(); }

void RealTimeGraphAdapter::setSlider(int minimum, int maximum, int value1, int value2) {
  window_.setSlider(minimum, maximum, value1, value2);
}

int RealTimeGraphAdapter::presetIndex() const { return window_.samplingRateBox()->currentIndex(); }
void RealTimeGraphAdapter::setPresetIndex(int index) { window_.samplingRateBox()->setCurrentIndex(index); }
QString RealTimeGraphAdapter::presetText() const { return window_.samplingRateBox()->currentText(); }
void RealTimeGraphAdapter::setClearEnabled(bool enabled) { window_.setClearEnabled(enabled); }
