#pragma once
// The about box, also used as the splash window during start-up (OK hidden, the
// status line showing the progress).

#include <QDialog>

class QLabel;
class QPushButton;

class TfrmAbout : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmAbout(QWidget* parent = nullptr, bool splash = false);

  // The splash's status line (Label4).
  void setStatus(const QString& text);
  QString status() const;

 signals:
  void statusChanged(const QString& text);

 private:
  void retranslate();
  void paintEvent(QPaintEvent* event) override;

  QLabel* version_;
  QLabel* status_;
  QPushButton* ok_;
};
