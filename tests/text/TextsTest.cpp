#include <set>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include <QObject>
#include <QSignalSpy>

#include "text/Texts.h"

namespace {

constexpr TextTable kAllTables[] = {TextTable::Main,    TextTable::Panel, TextTable::Graph,
                                    TextTable::Dialogs, TextTable::About, TextTable::SetupRealTime};

// Every test leaves the language as the program starts: French.
class TextsTest : public ::testing::Test {
 protected:
  void SetUp() override { texts::setLanguage(Language::French); }
  void TearDown() override { texts::setLanguage(Language::French); }
};

void checkText(TextTable table, const char* key, Language language, const char* expected) {
  EXPECT_EQ(texts::textOf(table, key, language), QString::fromUtf8(expected))
      << key << " in " << (language == Language::French ? "French" : "English");
}

TEST_F(TextsTest, FrenchFallsBackToEnglishWhereNoFrenchIsStored) {
  checkText(TextTable::Main, "IDS_17", Language::French, "SLOW");
  checkText(TextTable::Main, "IDS_121", Language::French, "Auto Loading Mode");
  checkText(TextTable::Main, "IDS_111", Language::French, "There was not any data recorded in momery of meter !");
  checkText(TextTable::Graph, "IDS_53", Language::French, "NO");
  // Stored French texts are used, accents intact.
  checkText(TextTable::Main, "IDS_18", Language::French, "Rapide");
  checkText(TextTable::Main, "IDS_10", Language::French, "Connecté");
  checkText(TextTable::Main, "IDS_17", Language::English, "SLOW");
}

TEST_F(TextsTest, EachWindowHasItsOwnKeys) {
  checkText(TextTable::Main, "IDS_5", Language::English, "Searching Meter on ");
  checkText(TextTable::Graph, "IDS_5", Language::English, "Weighting");
  checkText(TextTable::Graph, "IDS_5", Language::French, "Pondération");
  checkText(TextTable::Main, "IDS_44", Language::English, " is not valid.\n");
  checkText(TextTable::Graph, "IDS_44", Language::English, "Cursor A:");
  checkText(TextTable::Panel, "IDS_0", Language::French, "Pas de connexion");
  checkText(TextTable::Graph, "IDS_0", Language::French, "Configuration");
}

TEST_F(TextsTest, StoredTextsKeepTheirBlanksAndSeparators) {
  checkText(TextTable::Main, "IDS_64", Language::English, " TXT file(*.txt,data seperated by tab)|*.TXT");
  checkText(TextTable::Main, "IDS_65", Language::French,
            "TXT file(*.txt,data seperated by tab)|*.TXT|EXCEL file format(*.csv,seperated by comma) |*.CSV");
  checkText(TextTable::Main, "IDS_48", Language::French,
            "Fichier d'ensemble de configurations de données(*.rec, uniquement pour ML472)|*.REC");
  // The message box needs a real line break, not the two characters backslash-n.
  EXPECT_TRUE(texts::textOf(TextTable::Main, "IDS_44", Language::English).endsWith(QChar(u'\n')));
}

TEST_F(TextsTest, UnknownKeyShowsTheKey) {
  EXPECT_EQ(texts::textOf(TextTable::Main, "IDS_9999"), QStringLiteral("IDS_9999"));
  // IDS_9 exists in the graph window only.
  EXPECT_EQ(texts::textOf(TextTable::Main, "IDS_9"), QStringLiteral("IDS_9"));
}

TEST_F(TextsTest, StandardBoxesInBothLanguages) {
  checkText(TextTable::Dialogs, "Confirm", Language::French, "Confirmer");
  checkText(TextTable::Dialogs, "Yes", Language::French, "Oui");
  checkText(TextTable::Dialogs, "No", Language::French, "Non");
  checkText(TextTable::Dialogs, "Cancel", Language::French, "Annuler");
  checkText(TextTable::Dialogs, "Retry", Language::French, "Réessayer");
  checkText(TextTable::Dialogs, "NoToAll", Language::French, "Non pour tout");
  checkText(TextTable::Dialogs, "Warning", Language::French, "Attention");
  checkText(TextTable::Dialogs, "Confirm", Language::English, "Confirm");
  checkText(TextTable::Dialogs, "Yes", Language::English, "&Yes");
  checkText(TextTable::Dialogs, "NoToAll", Language::English, "N&o to All");
  checkText(TextTable::Dialogs, "YesToAll", Language::English, "Yes to &All");
}

TEST_F(TextsTest, AboutBoxFollowsTheLanguage) {
  QObject box;
  auto* software = new QObject(&box);
  software->setObjectName(QStringLiteral("Label2"));
  texts::retranslate(&box, TextTable::About);
  EXPECT_EQ(box.property("windowTitle").toString(), QString::fromUtf8("A propos de Kalvro pour sonomètre"));
  EXPECT_EQ(software->property("text").toString(), QString::fromUtf8("Logiciel de sonomètre"));
  EXPECT_EQ(texts::textOf(TextTable::About, "Version"), QStringLiteral("Version:"));
  texts::setLanguage(Language::English);
  texts::retranslate(&box, TextTable::About);
  EXPECT_EQ(box.property("windowTitle").toString(), QStringLiteral("About Kalvro For Sound Level Meter"));
  EXPECT_EQ(software->property("text").toString(), QStringLiteral("Sound Level Meter Software"));
}

TEST_F(TextsTest, LanguageSwitchNotifiesOnceAndLookupsFollow) {
  QSignalSpy spy(&texts::LanguageNotifier::instance(), &texts::LanguageNotifier::languageChanged);
  EXPECT_EQ(texts::textOf(TextTable::Main, "IDS_73"), QStringLiteral("Pas de connexion"));

  texts::setLanguage(Language::English);
  EXPECT_EQ(spy.count(), 1);
  EXPECT_EQ(texts::language(), Language::English);
  EXPECT_EQ(texts::textOf(TextTable::Main, "IDS_73"), QStringLiteral("No Connection"));

  // Choosing the active language again changes nothing and tells no one.
  texts::setLanguage(Language::English);
  EXPECT_EQ(spy.count(), 1);

  texts::setLanguage(Language::French);
  EXPECT_EQ(spy.count(), 2);
  EXPECT_EQ(texts::textOf(TextTable::Main, "IDS_73"), QStringLiteral("Pas de connexion"));
}

TEST_F(TextsTest, RetranslateSetsCaptionsOfTheWindowAndItsChildren) {
  QObject window;
  auto* file = new QObject(&window);
  file->setObjectName(QStringLiteral("File1"));
  file->setProperty("title", QString());
  auto* open = new QObject(file);  // a grandchild: found below the window too
  open->setObjectName(QStringLiteral("Open1"));
  auto* run = new QObject(&window);
  run->setObjectName(QStringLiteral("btnRun"));
  auto* stranger = new QObject(&window);
  stranger->setObjectName(QStringLiteral("notInTheTable"));
  stranger->setProperty("text", QStringLiteral("unchanged"));

  texts::retranslate(&window, TextTable::Main);
  EXPECT_EQ(window.property("windowTitle").toString(), QStringLiteral("ML472"));
  EXPECT_EQ(file->property("title").toString(), QStringLiteral("Fichier"));
  EXPECT_EQ(open->property("text").toString(), QStringLiteral("Ouvrir"));
  EXPECT_EQ(run->property("toolTip").toString(), QString::fromUtf8("Commencer à tracer les données Temps Réel"));

  texts::setLanguage(Language::English);
  texts::retranslate(&window, TextTable::Main);
  EXPECT_EQ(file->property("title").toString(), QStringLiteral("&File"));
  EXPECT_EQ(open->property("text").toString(), QStringLiteral("&Open"));
  EXPECT_EQ(run->property("toolTip").toString(), QStringLiteral("Start Graphing Real Time Data"));
  EXPECT_EQ(stranger->property("text").toString(), QStringLiteral("unchanged"));
}

TEST_F(TextsTest, RetranslateLeavesTheGraphWindowsRoleCaption) {
  QObject window;
  window.setProperty("windowTitle", QStringLiteral("DataLogger"));
  auto* button = new QObject(&window);
  button->setObjectName(QStringLiteral("Button2"));
  texts::retranslate(&window, TextTable::Graph);
  EXPECT_EQ(window.property("windowTitle").toString(), QStringLiteral("DataLogger"));
  EXPECT_EQ(button->property("text").toString(), QStringLiteral("Export Statistic"));
}

TEST(TextTables, KeysAreUniqueAndEnglishTextsPresent) {
  for (TextTable table : kAllTables) {
    std::set<std::string> keys;
    for (const MessageText& entry : texts::messages(table)) {
      EXPECT_TRUE(keys.insert(entry.key).second) << "duplicate key " << entry.key;
      EXPECT_NE(*entry.english, '\0') << entry.key << " has no English text";
      EXPECT_NE(entry.french, nullptr) << entry.key;
      // "\n" must be stored as a line break, never as the two characters.
      EXPECT_EQ(std::string(entry.english).find("\\n"), std::string::npos) << entry.key;
    }
    std::set<std::pair<std::string, std::string>> controls;
    for (const ControlText& entry : texts::controls(table)) {
      EXPECT_TRUE(controls.insert({entry.objectName, entry.property}).second)
          << "duplicate " << entry.objectName << "." << entry.property;
      EXPECT_NE(*entry.english, '\0') << entry.objectName << "." << entry.property;
      EXPECT_NE(entry.french, nullptr) << entry.objectName;
      const std::string property = entry.property;
      EXPECT_TRUE(property == "text" || property == "toolTip" || property == "windowTitle" || property == "title")
          << entry.objectName << " has property " << property;
    }
  }
}

TEST(TextTables, TablesHoldTheirWholeKeySets) {
  EXPECT_EQ(texts::messages(TextTable::Main).size(), 39u);
  EXPECT_EQ(texts::messages(TextTable::Graph).size(), 25u);
  EXPECT_EQ(texts::messages(TextTable::Panel).size(), 1u);
  EXPECT_EQ(texts::messages(TextTable::Dialogs).size(), 15u);
}

TEST(TextTables, MainWindowControls) {
  auto find = [](const char* name, const char* property) -> const ControlText* {
    for (const ControlText& entry : texts::controls(TextTable::Main)) {
      if (qstrcmp(entry.objectName, name) == 0 && qstrcmp(entry.property, property) == 0) return &entry;
    }
    return nullptr;
  };
  // Menus take a title, items a text, tool buttons a hint.
  for (const char* menu : {"File1", "RealTime1", "DataLogger1", "View1", "Window1", "Help1", "Language1"}) {
    EXPECT_NE(find(menu, "title"), nullptr) << menu;
  }
  for (const char* item : {"Open1", "Save1", "Print1", "PrinterSetup1", "Exit1", "Run1", "Stop1", "LoadData1",
                           "EraseMemory1", "Setup1", "StartAutoLoading1", "StopAutoLoading1", "dumpandclearmemory1",
                           "estLoadingEvery1Minute1", "ControlPanel1", "RealTimeGraph1", "Tile1", "Cascade1",
                           "Contents1", "About1", "English1", "French1"}) {
    EXPECT_NE(find(item, "text"), nullptr) << item;
  }
  for (const char* button : {"SpeedButton1", "SpeedButton2", "btnPrint", "btnDataLogger", "btnOutputToGraph",
                             "btnRun", "btnStop", "SpeedButton8"}) {
    EXPECT_NE(find(button, "toolTip"), nullptr) << button;
  }
  const ControlText* about = find("About1", "text");
  ASSERT_NE(about, nullptr);
  EXPECT_STREQ(about->french, "A propos ");
}

}  // namespace
