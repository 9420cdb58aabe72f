#pragma once
// Texts in two languages. Every window has its own table of message keys (the
// graph window's IDS_44 and the main window's IDS_44 are different texts) and of
// control captions and hints; each table is one file of this folder. A text is
// looked up when it is shown, in the active language, and a key with no French
// text gives its English one.

#include <span>

#include <QObject>
#include <QString>

enum class Language { English = 1, French = 2 };

// One table per window.
enum class TextTable {
  Main,        // TfrmMain
  Panel,       // TfrmPanel
  Graph,       // TfrmGraph
  Dialogs,     // captions of the standard message boxes and their buttons
  About,       // TfrmAbout
  SetupRealTime,
};

struct MessageText {
  const char* key;      // "IDS_10"
  const char* english;  // UTF-8
  const char* french;   // UTF-8; "" where no French text is stored
};

// A control's caption, hint or title, found by the control's object name.
struct ControlText {
  const char* objectName;  // "btnRun", "Run1"; "" for the window itself
  const char* property;    // "text", "toolTip", "windowTitle", "title"
  const char* english;
  const char* french;
};

namespace texts {

Language language();
void setLanguage(Language language);

// The text of key in window's table in the active language; English where the
// French text is empty; the key itself when the table has no such key (a
// programming error that shows on screen rather than crashing).
QString textOf(TextTable window, const char* key);
QString textOf(TextTable window, const char* key, Language language);

std::span<const MessageText> messages(TextTable window);
std::span<const ControlText> controls(TextTable window);

// Sets the captions and hints of window's controls below root (found by object
// name; root itself for objectName "") in the active language.
void retranslate(QObject* root, TextTable window);

// Tells every open window that the language changed.
class LanguageNotifier : public QObject {
  Q_OBJECT
 public:
  static LanguageNotifier& instance();
 signals:
  void languageChanged();
};

}  // namespace texts
