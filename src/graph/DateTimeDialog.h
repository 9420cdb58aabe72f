#pragma once
// Giving a data set of the logger a new start date and time: the dialog
// TfrmDateTime ("Date Time"), and the change in the data set collection. The graph
// window rewrites the grid row and plots the data set again afterwards.

#include <functional>
#include <optional>

#include <QDate>
#include <QDialog>
#include <QString>
#include <QTime>

#include "link/TDateTime.h"

class Clock;
class DataSetCollection;
class QDateEdit;
class QPushButton;
class QTimeEdit;

// Asks for a date and time: the moment chosen on OK, nothing on Cancel.
using DateTimeChooser = std::function<std::optional<TDateTime>()>;

class TfrmDateTime : public QDialog {
  Q_OBJECT

 public:
  // Both pickers start at initial (the caller passes the current date and time).
  explicit TfrmDateTime(TDateTime initial, QWidget* parent = nullptr);

  QDate chosenDate() const;
  QTime chosenTime() const;
  // The chosen date at midnight plus the chosen time of day.
  TDateTime chosenDateTime() const;

  // Shows the dialog modally, centred on the screen, starting at initial; the
  // dialog is gone when it returns.
  static std::optional<TDateTime> askDateTime(TDateTime initial, QWidget* parent);
  // askDateTime starting at the clock's now() at the moment it is called, in the
  // form changeDataSetDateTime takes. The clock must outlive the chooser.
  static DateTimeChooser chooser(const Clock& clock, QWidget* parent);

 private:
  QDateEdit* DatePicker = nullptr;
  QTimeEdit* TimePicker = nullptr;
  QPushButton* btnOK = nullptr;
  QPushButton* btnCancel = nullptr;
};

// "Change Date & Time" for data set d (0-based): asks for the moment and gives the
// data set that start time, its sample times following (DataSetCollection::
// setStartTime). Returns the new start time; nothing when d is not a data set (no
// question is asked) or the user cancelled, and then nothing has changed.
std::optional<TDateTime> changeDataSetDateTime(DataSetCollection& collection, int d, const DateTimeChooser& choose);

// The "DATE" and "TIME" cells of the "Data Sets" grid for a start time: the user's
// short date, and the time as HH:mm:ss on the 24-hour clock.
struct DataSetDateTimeCells {
  QString date;
  QString time;
};
DataSetDateTimeCells dataSetDateTimeCells(TDateTime startTime);
