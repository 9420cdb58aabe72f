#include "app/DesktopPrompts.h"

#include <algorithm>
#include <cstdio>

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "text/Texts.h"

namespace {

QString title(PromptKind kind) {
  switch (kind) {
    case PromptKind::Information: return texts::textOf(TextTable::Dialogs, "Information");
    case PromptKind::Warning: return texts::textOf(TextTable::Dialogs, "Warning");
    case PromptKind::Error: return texts::textOf(TextTable::Dialogs, "Error");
    case PromptKind::Confirmation: return texts::textOf(TextTable::Dialogs, "Confirm");
  }
  return {};
}

QMessageBox::Icon icon(PromptKind kind) {
  switch (kind) {
    case PromptKind::Information: return QMessageBox::Information;
    case PromptKind::Warning: return QMessageBox::Warning;
    case PromptKind::Error: return QMessageBox::Critical;
    case PromptKind::Confirmation: return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

struct ButtonInfo {
  PromptButton button;
  const char* key;
  QMessageBox::ButtonRole role;
};

constexpr ButtonInfo kButtons[] = {
    {PromptButton::Ok, "OK", QMessageBox::AcceptRole},
    {PromptButton::Cancel, "Cancel", QMessageBox::RejectRole},
    {PromptButton::Yes, "Yes", QMessageBox::YesRole},
    {PromptButton::No, "No", QMessageBox::NoRole},
    {PromptButton::Abort, "Abort", QMessageBox::RejectRole},
    {PromptButton::Retry, "Retry", QMessageBox::AcceptRole},
    {PromptButton::Ignore, "Ignore", QMessageBox::AcceptRole},
    {PromptButton::All, "All", QMessageBox::YesRole},
    {PromptButton::NoToAll, "NoToAll", QMessageBox::NoRole},
    {PromptButton::YesToAll, "YesToAll", QMessageBox::YesRole},
    {PromptButton::Help, "Help", QMessageBox::HelpRole},
};

const ButtonInfo* info(PromptButton button) {
  for (const ButtonInfo& entry : kButtons)
    if (entry.button == button) return &entry;
  return nullptr;
}

}  // namespace

void DesktopPrompts::message(PromptKind kind, const QString& text) { ask(kind, text, {PromptButton::Ok}); }

PromptButton DesktopPrompts::ask(PromptKind kind, const QString& text, const std::vector<PromptButton>& buttons) {
  if (autoAnswer_ != PromptButton::None) {
    std::fprintf(stderr, "%s: %s\n", qPrintable(title(kind)), qPrintable(text));
    if (buttons.empty()) return PromptButton::Cancel;
    return std::find(buttons.begin(), buttons.end(), autoAnswer_) != buttons.end() ? autoAnswer_ : buttons.front();
  }
  QMessageBox box(icon(kind), title(kind), text, QMessageBox::NoButton, parent_);
  std::vector<std::pair<QAbstractButton*, PromptButton>> made;
  for (PromptButton button : buttons) {
    const ButtonInfo* entry = info(button);
    if (!entry) continue;
    QPushButton* pushButton = box.addButton(texts::textOf(TextTable::Dialogs, entry->key), entry->role);
    made.emplace_back(pushButton, button);
  }
  if (!made.empty()) box.setDefaultButton(static_cast<QPushButton*>(made.front().first));
  // Escape or the close box answers Cancel where it is offered, else No, else the only button.
  auto find = [&made](PromptButton wanted) -> QAbstractButton* {
    for (auto& [widget, button] : made)
      if (button == wanted) return widget;
    return nullptr;
  };
  if (QAbstractButton* escape = find(PromptButton::Cancel) ? find(PromptButton::Cancel) : find(PromptButton::No))
    box.setEscapeButton(escape);
  else if (made.size() == 1)
    box.setEscapeButton(made.front().first);
  box.exec();
  for (auto& [widget, button] : made)
    if (box.clickedButton() == widget) return button;
  return PromptButton::Cancel;
}

QStringList DesktopPrompts::qtFilters(const QString& filter) {
  QStringList result;
  const QStringList parts = filter.split('|');
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1].trimmed();
    patterns.replace(';', ' ');
    // Offer both spellings of the extension: Linux file names are case-sensitive.
    QStringList both;
    for (const QString& pattern : patterns.split(' ', Qt::SkipEmptyParts)) {
      both << pattern;
      if (pattern.toLower() != pattern) both << pattern.toLower();
    }
    result << QStringLiteral("%1 (%2)").arg(parts[i].trimmed(), both.join(' '));
  }
  return result;
}

FileDialogResult DesktopPrompts::openFile(const FileDialogRequest& request) { return fileDialog(request, false); }
FileDialogResult DesktopPrompts::saveFile(const FileDialogRequest& request) { return fileDialog(request, true); }

FileDialogResult DesktopPrompts::fileDialog(const FileDialogRequest& request, bool save) {
  if (autoAnswer_ != PromptButton::None) return {};
  QFileDialog dialog(parent_, request.caption, request.fileName);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  const QStringList filters = qtFilters(request.filter);
  dialog.setNameFilters(filters);
  if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
    dialog.selectNameFilter(filters[request.filterIndex - 1]);
  if (!request.defaultExtension.isEmpty()) dialog.setDefaultSuffix(request.defaultExtension);
  FileDialogResult result;
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return result;
  result.accepted = true;
  result.fileName = dialog.selectedFiles().first();
  result.filterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
  if (result.filterIndex < 1) result.filterIndex = 1;
  return result;
}
