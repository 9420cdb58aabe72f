#pragma once
// The Real-Time Graph window as the real-time recorder sees it.

#include <QPointer>

#include "graph/GraphWindow.h"
#include "live/RealTimeView.h"

class QMdiArea;
class QMdiSubWindow;

class RealTimeGraphAdapter final : public RealTimeGraphView {
 public:
  RealTimeGraphAdapter(TfrmGraph& window, QMdiSubWindow* frame, QMdiArea* area)
      : window_(window), frame_(frame), area_(area) {}

  void restoreWindow() override;
  void focusWindow() override;
  void resetChart(float maxY, float minY, TDateTime maxX, TDateTime minX, int points) override;
  int chartPoints() const override;
  void setChartPoints(int count) override;
  void blankChart() override;
  void setPoint(int index, TDateTime time, float level) override;
  float pointLevel(int index) const override;
  TDateTime manualMinX() const override;
  TDateTime manualMaxX() const override;
  void setManualXRange(TDateTime minX, TDateTime maxX) override;
  void resetAnnotationSlots(int firstSlot, int lastSlot) override;
  void redrawChart() override;
  void setField(RealTimeField field, const QString& text) override;
  void clearCursorFields() override;
  void setSlider(int minimum, int maximum, int value1, int value2) override;
  int presetIndex() const override;
  void setPresetIndex(int index) override;
  QString presetText() const override;
  void setClearEnabled(bool enabled) override;

 private:
  TfrmGraph& window_;
  QPointer<QMdiSubWindow> frame_;
  QMdiArea* area_;
};
