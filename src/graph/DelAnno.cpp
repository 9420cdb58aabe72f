#include "graph/DialogButtons.h"
#include "graph/DelAnno.h"

#include <algorithm>

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include "text/Texts.h"

namespace {
constexpr int kVisibleRows = 8;
}  // namespace

TfrmDelAnno::TfrmDelAnno(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmDelAnno"));
  setWindowTitle(QStringLiteral("Erase Annotation"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint |
                 Qt::WindowStaysOnTopHint);
  setModal(true);

  Grid1 = new QTableWidget(0, 3, this);
  Grid1->setObjectName(QStringLiteral("Grid1"));
  Grid1->setSelectionBehavior(QAbstractItemView::SelectRows);
  Grid1->setSelectionMode(QAbstractItemView::ContiguousSelection);
  Grid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Grid1->verticalHeader()->hide();
  Grid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  // Widening a column narrows "Contents" instead of pushing it out of sight.
  Grid1->horizontalHeader()->setStretchLastSection(true);
  Grid1->horizontalHeader()->setHighlightSections(false);
  Grid1->setWordWrap(false);
  Grid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Grid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  for (int column = 0; column < 3; ++column) Grid1->setColumnWidth(column, kColumnWidths[column]);
  // Grid rows, not spaced-out list rows.
  Grid1->verticalHeader()->setDefaultSectionSize(Grid1->fontMetrics().height() + 6);
  fitGrid();

  const DialogButtons buttons = makeDialogButtons(this, QStringLiteral("Delete"), QStringLiteral("btnDelete"), true);
  btnDelete = buttons.accept;
  btnDelete->setEnabled(false);
  btnCancel = buttons.cancel;
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Grid1);
  layout->addLayout(buttons.row);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  retranslate();
}

void TfrmDelAnno::fitGrid() {
  // Room for the columns and the scroll bar, so the list never scrolls sideways;
  // the dialog itself keeps its size while it is shown.
  // The last column's own width is the stretched one; count its designed width.
  const int columnsWidth = Grid1->columnWidth(0) + Grid1->columnWidth(1) + kColumnWidths[2];
  const int frame = 2 * Grid1->frameWidth();
  const int scrollBar = Grid1->verticalScrollBar()->sizeHint().width();
  Grid1->setFixedSize(columnsWidth + scrollBar + frame,
                      Grid1->horizontalHeader()->sizeHint().height() +
                          kVisibleRows * Grid1->verticalHeader()->defaultSectionSize() + frame);
}

void TfrmDelAnno::retranslate() {
  Grid1->setHorizontalHeaderLabels({texts::textOf(TextTable::Graph, "IDS_53"),
                                    texts::textOf(TextTable::Graph, "IDS_54"),
                                    texts::textOf(TextTable::Graph, "IDS_55")});
}

void TfrmDelAnno::setRows(const std::vector<EraseListRow>& rows) {
  Grid1->clearContents();
  Grid1->setRowCount(static_cast<int>(rows.size()));
  for (int row = 0; row < Grid1->rowCount(); ++row) {
    const EraseListRow& entry = rows[static_cast<std::size_t>(row)];
    auto* number = new QTableWidgetItem(QString::number(entry.number));
    number->setData(Qt::UserRole, entry.slot);
    Grid1->setItem(row, 0, number);
    Grid1->setItem(row, 1, new QTableWidgetItem(entry.time));
    Grid1->setItem(row, 2, new QTableWidgetItem(entry.contents));
  }
  // The time is what tells two marks apart; a long date format or a large font
  // must not cut its seconds off, so the column grows past its designed width when
  // a time needs it.
  const int padding = 2 * Grid1->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, Grid1) + 8;
  int timeWidth = kColumnWidths[1];
  for (const EraseListRow& entry : rows)
    timeWidth = std::max(timeWidth, Grid1->fontMetrics().horizontalAdvance(entry.time) + padding);
  Grid1->setColumnWidth(1, timeWidth);
  fitGrid();
  // As in a grid, one row is always current to begin with: "Delete" at once
  // erases the first mark.
  if (!rows.empty()) Grid1->selectRow(0);
  btnDelete->setEnabled(!rows.empty());
}

std::optional<EraseRowRange> TfrmDelAnno::selectedRows() const {
  // ContiguousSelection keeps at most one range.
  const QList<QTableWidgetSelectionRange> ranges = Grid1->selectedRanges();
  if (ranges.isEmpty()) return std::nullopt;
  int first = ranges.front().topRow();
  int last = ranges.front().bottomRow();
  for (const QTableWidgetSelectionRange& range : ranges) {
    first = std::min(first, range.topRow());
    last = std::max(last, range.bottomRow());
  }
  return EraseRowRange{first, last};
}

std::optional<EraseRowRange> TfrmDelAnno::chooseRows(const std::vector<EraseListRow>& rows, QWidget* parent) {
  QPointer<TfrmDelAnno> dialog = new TfrmDelAnno(parent);
  dialog->setRows(rows);
  dialog->adjustSize();
  // Centred on the screen, not over the graph window.
  if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
    dialog->move(screen->availableGeometry().center() - dialog->rect().center());
  const bool accepted = dialog->exec() == QDialog::Accepted;
  std::optional<EraseRowRange> result;
  if (dialog) {
    if (accepted) result = dialog->selectedRows();
    delete dialog;
  }
  return result;
}

EraseRowChooser TfrmDelAnno::chooser(QWidget* parent) {
  QPointer<QWidget> owner = parent;
  return [owner](const std::vector<EraseListRow>& rows) { return chooseRows(rows, owner); };
}
