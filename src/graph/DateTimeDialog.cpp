#include "graph/DialogButtons.h"
#include "graph/DateTimeDialog.h"

#include <QDateEdit>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "data/DataSetCollection.h"
#include "link/Clock.h"
#include "text/Formats.h"

TfrmDateTime::TfrmDateTime(TDateTime initial, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmDateTime"));
  setWindowTitle(QStringLiteral("Date Time"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint |
                 Qt::WindowStaysOnTopHint);
  setModal(true);

  const QDateTime start = datetime::toQDateTime(initial);

  DatePicker = new QDateEdit(this);
  DatePicker->setObjectName(QStringLiteral("DatePicker"));
  DatePicker->setCalendarPopup(true);
  DatePicker->setDisplayFormat(formats::shortDateFormat());
  DatePicker->setDate(start.date());

  TimePicker = new QTimeEdit(this);
  TimePicker->setObjectName(QStringLiteral("TimePicker"));
  // The long time format shows the seconds; the milliseconds of the moment the
  // dialog opened are kept unless the user edits the time.
  TimePicker->setDisplayFormat(formats::longTimeFormat());
  TimePicker->setTime(start.time());

  const DialogButtons buttons = makeDialogButtons(this, QStringLiteral("OK"), QStringLiteral("btnOK"), true);
  btnOK = buttons.accept;
  btnOK->setDefault(true);
  btnCancel = buttons.cancel;

  for (QWidget* picker : {static_cast<QWidget*>(DatePicker), static_cast<QWidget*>(TimePicker)})
    picker->setMinimumWidth(130);
  auto* pickers = new QHBoxLayout;
  pickers->addWidget(DatePicker, 1);
  pickers->addWidget(TimePicker, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(pickers);
  layout->addSpacing(8);
  layout->addLayout(buttons.row);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

QDate TfrmDateTime::chosenDate() const { return DatePicker->date(); }

QTime TfrmDateTime::chosenTime() const { return TimePicker->time(); }

TDateTime TfrmDateTime::chosenDateTime() const {
  return datetime::fromQDateTime(QDateTime(chosenDate(), QTime(0, 0))) +
         chosenTime().msecsSinceStartOfDay() / datetime::kMsPerDay;
}

std::optional<TDateTime> TfrmDateTime::askDateTime(TDateTime initial, QWidget* parent) {
  QPointer<TfrmDateTime> dialog = new TfrmDateTime(initial, parent);
  dialog->adjustSize();
  if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
    dialog->move(screen->availableGeometry().center() - dialog->rect().center());
  const bool accepted = dialog->exec() == QDialog::Accepted;
  std::optional<TDateTime> result;
  if (dialog) {
    if (accepted) result = dialog->chosenDateTime();
    delete dialog;
  }
  return result;
}

DateTimeChooser TfrmDateTime::chooser(const Clock& clock, QWidget* parent) {
  QPointer<QWidget> owner = parent;
  return [&clock, owner] { return askDateTime(clock.now(), owner); };
}

std::optional<TDateTime> changeDataSetDateTime(DataSetCollection& collection, int d, const DateTimeChooser& choose) {
  if (d < 0 || d >= collection.dataSetCount() || !choose) return std::nullopt;
  const std::optional<TDateTime> chosen = choose();
  if (!chosen || !collection.setStartTime(d, *chosen)) return std::nullopt;
  return chosen;
}

DataSetDateTimeCells dataSetDateTimeCells(TDateTime startTime) {
  return {formats::shortDate(startTime), formats::clockTime(startTime)};
}
