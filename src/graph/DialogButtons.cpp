#include "graph/DialogButtons.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

DialogButtons makeDialogButtons(QDialog* dialog, const QString& acceptText, const QString& acceptName,
                                bool centred) {
  DialogButtons buttons;
  buttons.accept = new QPushButton(acceptText, dialog);
  buttons.accept->setObjectName(acceptName);
  buttons.cancel = new QPushButton(QStringLiteral("Cancel"), dialog);
  buttons.cancel->setObjectName(QStringLiteral("btnCancel"));
  QObject::connect(buttons.accept, &QPushButton::clicked, dialog, &QDialog::accept);
  QObject::connect(buttons.cancel, &QPushButton::clicked, dialog, &QDialog::reject);
  buttons.row = new QHBoxLayout;
  buttons.row->addStretch();
  buttons.row->addWidget(buttons.accept);
  buttons.row->addWidget(buttons.cancel);
  if (centred) buttons.row->addStretch();
  return buttons;
}
