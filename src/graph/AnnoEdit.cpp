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

  btnOK = new QPushButton(QStringLiteral("OK"), this);
  btnOK->setObjectName(QStringLiteral("btnOK"));
  btnOK->setDefault(true);
  btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
  btnCancel->setObjectName(QStringLiteral("btnCancel"));
  connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnOK);
  buttons->addWidget(btnCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(edtText);
  layout->addLayout(buttons);
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
