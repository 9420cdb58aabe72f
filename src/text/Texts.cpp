#include "text/Texts.h"

#include <QVariant>

#include "text/TextTables.h"

namespace texts {

namespace {
// The program starts in French and does not store the choice.
Language activeLanguage = Language::French;

QString pick(const char* english, const char* french, Language language) {
  if (language == Language::French && french && *french) return QString::fromUtf8(french);
  return QString::fromUtf8(english);
}
}  // namespace

Language language() { return activeLanguage; }

void setLanguage(Language language) {
  if (language == activeLanguage) return;
  activeLanguage = language;
  emit LanguageNotifier::instance().languageChanged();
}

QString textOf(TextTable window, const char* key) { return textOf(window, key, activeLanguage); }

QString textOf(TextTable window, const char* key, Language language) {
  for (const MessageText& entry : messages(window)) {
    if (qstrcmp(entry.key, key) == 0) return pick(entry.english, entry.french, language);
  }
  return QString::fromLatin1(key);
}

std::span<const MessageText> messages(TextTable window) { return tables::messagesOf(window); }
std::span<const ControlText> controls(TextTable window) { return tables::controlsOf(window); }

void retranslate(QObject* root, TextTable window) {
  if (!root) return;
  for (const ControlText& entry : controls(window)) {
    QObject* target = *entry.objectName ? root->findChild<QObject*>(QString::fromLatin1(entry.objectName)) : root;
    if (!target) continue;
    target->setProperty(entry.property, pick(entry.english, entry.french, activeLanguage));
  }
}

LanguageNotifier& LanguageNotifier::instance() {
  static LanguageNotifier notifier;
  return notifier;
}

}  // namespace texts
