#pragma once
// TfrmDelAnno: "Erase Annotation", the list of a chart's marks (NO, Time,
// Contents) from which the user picks one row or a run of consecutive rows to
// erase.

#include <optional>
#include <vector>

#include <QDialog>

#include "graph/Annotation.h"

class QPushButton;
class QTableWidget;

class TfrmDelAnno : public QDialog {
  Q_OBJECT

 public:
  // Widths of the NO, Time and Contents columns, in pixels.
  static constexpr int kColumnWidths[3] = {50, 120, 200};

  explicit TfrmDelAnno(QWidget* parent = nullptr);

  // Lists the rows (replacing any listed before); each row keeps its slot in its
  // first cell (Qt::UserRole). The first row is selected; "Delete" is enabled
  // when there is a row. The "Time" column is widened when a time would not fit.
  // Call it before the dialog is shown: the dialog has a fixed size.
  void setRows(const std::vector<EraseListRow>& rows);
  // The selected rows, first..last, 0-based; nothing when no row is selected.
  std::optional<EraseRowRange> selectedRows() const;

  // Shows the dialog modally with the rows: the rows selected on "Delete", nothing
  // on "Cancel". The dialog is gone when it returns.
  static std::optional<EraseRowRange> chooseRows(const std::vector<EraseListRow>& rows, QWidget* parent);
  // chooseRows over parent, in the form eraseAnnotations takes.
  static EraseRowChooser chooser(QWidget* parent);

 private:
  void fitGrid();
  void retranslate();

  QTableWidget* Grid1 = nullptr;
  QPushButton* btnDelete = nullptr;
  QPushButton* btnCancel = nullptr;
};
