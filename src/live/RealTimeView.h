#pragma once
// What the real-time recorder needs of the windows around it. The recording lives
// in the chart of the Real-Time Graph window, which belongs to the graph library;
// this library does not link it, so the main window implements these two
// interfaces over the real windows and hands them to the RealTimeRecorder.

#include <QString>

#include "link/TDateTime.h"

// The read-only fields of the graph window's statistics panel that the recording
// writes. The sampling rate is the preset box, reached through presetIndex() and
// friends.
enum class RealTimeField {
  StartTime,  // txtStartTime
  DataNo,     // txtDataNo
  Max,        // txtMax
  MaxTime,    // txtMaxTime
  Min,        // txtMin
  MinTime,    // txtMinTime
  AvgAll,     // txtAvgAll
};

// The Real-Time Graph window as the recorder sees it. Point i of the chart's one
// series has X, a TDateTime, and Y, a level in dB.
class RealTimeGraphView {
 public:
  virtual ~RealTimeGraphView() = default;

  // --- the window ---
  // Window state normal (out of minimized or maximized).
  virtual void restoreWindow() = 0;
  // Makes it the active child window, so that the save command that follows acts
  // on it.
  virtual void focusWindow() = 0;

  // --- the chart ---
  // The graph window's resetChart with one subset: template or built-in look, the
  // level range minY..maxY, the time range minX..maxX, points blank points, and a
  // redraw.
  virtual void resetChart(float maxY, float minY, TDateTime maxX, TDateTime minX, int points) = 0;
  // The chart's Points.
  virtual int chartPoints() const = 0;
  // Growing adds blank points and shrinking drops the last ones; the others keep
  // their values. The chart may refuse a count it cannot hold: the recorder reads
  // chartPoints() back and never writes at or beyond it.
  virtual void setChartPoints(int count) = 0;
  // X and Y of every point 0.
  virtual void blankChart() = 0;
  virtual void setPoint(int index, TDateTime time, float level) = 0;
  virtual float pointLevel(int index) const = 0;
  // The manual time range (ManualMinX, ManualMaxX).
  virtual TDateTime manualMinX() const = 0;
  virtual TDateTime manualMaxX() const = 0;
  virtual void setManualXRange(TDateTime minX, TDateTime maxX) = 0;
  // Graph annotation slots firstSlot..lastSlot (both included; none when lastSlot
  // is below firstSlot) get X 0 and Y 0, which takes them out of any plotted time
  // range; their kind and text stay.
  virtual void resetAnnotationSlots(int firstSlot, int lastSlot) = 0;
  // redrawChart: the changes above shown.
  virtual void redrawChart() = 0;

  // --- the panels ---
  virtual void setField(RealTimeField field, const QString& text) = 0;
  // Every cursor field (txtCursorA, txtCursorATime, txtCursorB, txtCursorBTime) and
  // the A-B statistics (txtMaxAB, txtMaxABTime, txtMinAB, txtMinABTime, txtAvgAB)
  // emptied.
  virtual void clearCursorFields() = 0;
  // Slider1's Minimum, Maximum, Value1 and Value2, set in that order; each change
  // of a value fires the slider's change event, which places the cursors.
  virtual void setSlider(int minimum, int maximum, int value1, int value2) = 0;
  // txtSamplingRate. setPresetIndex is the program choosing a preset: it must not
  // run txtSamplingRateChange, which is the user's choice (connect that to the
  // combo box's activated signal, not to currentIndexChanged).
  virtual int presetIndex() const = 0;
  virtual void setPresetIndex(int index) = 0;
  virtual QString presetText() const = 0;
  // The toolbar's "Clear" button, tbntClr.
  virtual void setClearEnabled(bool enabled) = 0;
};

// The main window as the recorder sees it.
class RealTimeHost {
 public:
  virtual ~RealTimeHost() = default;
  // The live link's meterConnected.
  virtual bool meterConnected() const = 0;
  // "Run" (btnRun and Run1) and "Stop" (btnStop and Stop1).
  virtual void setRunStop(bool runEnabled, bool stopEnabled) = 0;
  // Edit1, the hidden count of rejected readings.
  virtual void showRejectedReadings(const QString& text) = 0;
  // openRealTimeGraph: creates the Real-Time Graph window, which then calls
  // RealTimeRecorder::windowOpened. Run calls it when the window is not open.
  virtual void openRealTimeGraph() = 0;
};
