#pragma once
// TfrmAnnoEdit: the small untitled dialog that asks for the text of a text mark on
// a graph, with one edit field and OK and Cancel.

#include <optional>

#include <QDialog>

#include "graph/Annotation.h"

class QLineEdit;
class QPushButton;

class TfrmAnnoEdit : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kEditWidth = 297;

  explicit TfrmAnnoEdit(QWidget* parent = nullptr);

  QString text() const;
  void setText(const QString& text);

  // Shows the dialog modally: the text typed (possibly empty) on OK, nothing on
  // Cancel. The dialog is gone when it returns.
  static std::optional<QString> askText(QWidget* parent);
  // askText over parent, in the form annotationClick takes.
  static AnnotationTextAsker asker(QWidget* parent);

 private:
  QLineEdit* edtText = nullptr;
  QPushButton* btnOK = nullptr;
  QPushButton* btnCancel = nullptr;
};
