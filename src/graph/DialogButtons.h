#pragma once
// The accept and Cancel buttons of the graph window's small dialogs, in one row.

#include <QString>

class QDialog;
class QHBoxLayout;
class QPushButton;

struct DialogButtons {
  QPushButton* accept = nullptr;
  QPushButton* cancel = nullptr;  // object name "btnCancel"
  QHBoxLayout* row = nullptr;     // for the dialog's layout
};

// accept closes the dialog with Accepted, Cancel with Rejected. centred: the row is
// centred, else the buttons stand at its right end.
DialogButtons makeDialogButtons(QDialog* dialog, const QString& acceptText, const QString& acceptName, bool centred);
