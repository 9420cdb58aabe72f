#include "graph/DialogButtons.h"
#include "graph/AnnoEdit.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

TfrmAnnoEdit::TfrmAnnoEdit(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmAnnoEdit"));
  // No title bar: the dialog is a bare field over the chart, closed by its buttons
  // (Enter is OK, Escape is Cancel).
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint);
  setWindowTitle(QString());
  setModal(true);

  edtText = new QLineEdit(this);
  edtText->setObjectName(QStringLiteral("edtText"));
  edtText->setFixedWidth(kEditWidth);

  const DialogButtons buttons = makeDialogButtons(this, QStringLiteral("OK"), QStringLiteral("btnOK"), false);
  btnOK = buttons.accept;
  btnOK->setDefault(true);
  btnCancel = buttons.cancel;
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(edtText);
  layout->addLayout(buttons.row);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  edtText->setFocus();
}

QString TfrmAnnoEdit::text() const { return edtText->text(); }

void TfrmAnnoEdit::setText(const QString& text) { edtText->setText(text); }

std::optional<QString> TfrmAnnoEdit::askText(QWidget* parent) {
  // The parent window may close while the dialog runs; a QPointer tells.
  QPointer<TfrmAnnoEdit> dialog = new TfrmAnnoEdit(parent);
  const bool accepted = dialog->exec() == QDialog::Accepted;
  std::optional<QString> result;
  if (dialog) {
    if (accepted) result = dialog->text();
    delete dialog;
  }
  return result;
}

AnnotationTextAsker TfrmAnnoEdit::asker(QWidget* parent) {
  QPointer<QWidget> owner = parent;
  return [owner] { return askText(owner); };
}
