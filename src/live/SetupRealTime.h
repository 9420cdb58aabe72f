#pragma once
// TfrmSetupRealTime, "Real-Time Setup": the modal dialog of Run that asks for the
// number of points and the sampling interval, and shows how long such a recording
// lasts.

#include <optional>

#include <QDialog>

#include "live/RealTimeRecorder.h"
#include "text/Prompts.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TfrmSetupRealTime : public QDialog {
  Q_OBJECT
 public:
  // prompts shows the conversion error of a rate box that does not read as a number.
  explicit TfrmSetupRealTime(Prompts& prompts, QWidget* parent = nullptr);

  // Set by the program, not the user: the period is not recomputed.
  void setRateText(const QString& text);
  void setPeriodText(const QString& text);

  QString rateText() const;
  // The count field as shown, its unfilled places as blanks ("2000 ").
  QString countText() const;
  QString periodText() const;

  // Recomputes edtPeriod from the count and the rate ("h:mm:ss"); run when the
  // user changes either.
  void edtRealTimeNoChange();

  QLineEdit* edtRealTimeNo = nullptr;
  QComboBox* txtRate = nullptr;
  QLineEdit* edtPeriod = nullptr;
  QPushButton* btnOpenSingleSet = nullptr;  // "Start"
  QPushButton* Button1 = nullptr;           // "Cancel"

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void rewritePresets();

  Prompts& prompts_;
  bool programChange_ = false;
};

// The desktop's AskRealTimeSetup: the dialog filled from the request, centred on
// the screen and on top, shown modally; Start gives the two fields as they stand.
std::optional<RealTimeSetupAnswer> askRealTimeSetup(Prompts& prompts, QWidget* parent,
                                                    const RealTimeSetupRequest& request);
