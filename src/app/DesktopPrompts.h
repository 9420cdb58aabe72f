#pragma once
// Prompts shown as Qt dialogs, with titles and buttons in the active language.

#include "text/Prompts.h"

class QWidget;

class DesktopPrompts final : public Prompts {
 public:
  // parent: the window the boxes are centred on (the main window once it exists).
  void setParent(QWidget* parent) { parent_ = parent; }
  // Scripted runs: every question gets this answer where it is offered (else the
  // first button) and no box is shown; messages go to standard error.
  void setAutoAnswer(PromptButton answer) { autoAnswer_ = answer; }

  void message(PromptKind kind, const QString& text) override;
  PromptButton ask(PromptKind kind, const QString& text, const std::vector<PromptButton>& buttons) override;
  FileDialogResult openFile(const FileDialogRequest& request) override;
  FileDialogResult saveFile(const FileDialogRequest& request) override;

  // "Desc|*.EXT|Desc2|*.EXT2" → Qt's "Desc (*.EXT);;Desc2 (*.EXT2)".
  static QStringList qtFilters(const QString& filter);

 private:
  FileDialogResult fileDialog(const FileDialogRequest& request, bool save);
  QWidget* parent_ = nullptr;
  PromptButton autoAnswer_ = PromptButton::None;
};
