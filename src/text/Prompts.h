#pragma once
// Every message box, confirmation, input and file dialog goes through Prompts. The
// desktop shows Qt dialogs in the active language (app/DesktopPrompts); tests answer
// from a script and record what was asked (ScriptedPrompts below).

#include <deque>
#include <vector>

#include <QString>
#include <QStringList>

enum class PromptKind { Information, Warning, Error, Confirmation };

enum class PromptButton { None, Ok, Cancel, Yes, No, Abort, Retry, Ignore, All, NoToAll, YesToAll, Help };

struct FileDialogRequest {
  QString caption;
  QString filter;            // "Desc|*.EXT|Desc2|*.EXT2" as the message tables store it
  int filterIndex = 1;       // 1-based, as the tables count
  QString defaultExtension;  // without the dot
  QString fileName;          // proposed name or folder
};

struct FileDialogResult {
  bool accepted = false;
  QString fileName;
  int filterIndex = 1;  // the filter chosen, 1-based
};

class Prompts {
 public:
  virtual ~Prompts() = default;
  // A message with an OK button (Information, Warning, Error).
  virtual void message(PromptKind kind, const QString& text) = 0;
  // A question; buttons lists what is offered, the answer is one of them (or Cancel
  // when the box is closed).
  virtual PromptButton ask(PromptKind kind, const QString& text, const std::vector<PromptButton>& buttons) = 0;
  virtual FileDialogResult openFile(const FileDialogRequest& request) = 0;
  virtual FileDialogResult saveFile(const FileDialogRequest& request) = 0;
};

// For tests: answers in the order given, records every question.
class ScriptedPrompts final : public Prompts {
 public:
  struct Asked {
    PromptKind kind;
    QString text;
    std::vector<PromptButton> buttons;
  };

  std::deque<PromptButton> answers;        // for ask(); Cancel when empty
  std::deque<FileDialogResult> fileAnswers;  // for openFile()/saveFile(); rejected when empty
  std::vector<Asked> asked;                // messages and questions, in order
  std::vector<FileDialogRequest> fileRequests;

  void message(PromptKind kind, const QString& text) override { asked.push_back({kind, text, {PromptButton::Ok}}); }
  PromptButton ask(PromptKind kind, const QString& text, const std::vector<PromptButton>& buttons) override {
    asked.push_back({kind, text, buttons});
    if (answers.empty()) return PromptButton::Cancel;
    const PromptButton answer = answers.front();
    answers.pop_front();
    return answer;
  }
  FileDialogResult openFile(const FileDialogRequest& request) override { return nextFile(request); }
  FileDialogResult saveFile(const FileDialogRequest& request) override { return nextFile(request); }

 private:
  FileDialogResult nextFile(const FileDialogRequest& request) {
    fileRequests.push_back(request);
    if (fileAnswers.empty()) return {};
    FileDialogResult result = fileAnswers.front();
    fileAnswers.pop_front();
    return result;
  }
};
