// The main window's texts: its messages, menu captions, tool button hints and caption.
#include "text/TextTables.h"

namespace texts::tables {

namespace {
// IDS_44 ends in a line break: it is appended to the rejected count in a message box,
// and Qt shows the two characters backslash-n as they stand, so the C++ string holds
// a real newline.
// The file filters keep the "Description|*.EXT|..." form that FileDialogRequest takes.
constexpr MessageText kMessages[] = {
    {"IDS_5", "Searching Meter on ", "Recherche de l'instrument branché"},
    {"IDS_10", "On Connection", "Connecté"},
    {"IDS_11", "Off Connection", "Connection arrêtée"},
    {"IDS_13", "Time", "Heure"},
    {"IDS_15", "REC", "ENR"},
    {"IDS_16", "FULL", "PLEIN"},
    {"IDS_17", "SLOW", ""},
    {"IDS_18", "FAST", "Rapide"},
    {"IDS_43", "Do you want to save the Real-Time graph ?", "Voulez-vous sauvegarder le graphe Temps-Réel?"},
    {"IDS_44", " is not valid.\n", ""},
    {"IDS_47", "Save File", "Enregistrer le fichier"},
    {"IDS_48", "Data Set Collection file(*.rec,only for ML472)|*.REC",
     "Fichier d'ensemble de configurations de données(*.rec, uniquement pour ML472)|*.REC"},
    {"IDS_51", "Graph file(*.ghf,only for ML472)|*.GHF|TXT file(*.txt,data seperated by tab)|*.TXT", ""},
    {"IDS_52",
     "Graph file(*.ghf,only for ML472)|*.GHF|TXT file(*.txt,data seperated by tab)|*.TXT|EXCEL file "
     "format(*.CSV,seperated by comma)|*.CSV",
     ""},
    {"IDS_58", "invalid integer", "Nombre entier invalide"},
    {"IDS_59", "Saving Progress", "Avancement de l'enregistrement"},
    {"IDS_60", "saving.....", "Enregistrement en cours ...."},
    {"IDS_64", " TXT file(*.txt,data seperated by tab)|*.TXT", ""},
    {"IDS_65", "TXT file(*.txt,data seperated by tab)|*.TXT|EXCEL file format(*.csv,seperated by comma) |*.CSV", ""},
    {"IDS_73", "No Connection", "Pas de connexion"},
    {"IDS_74", "Open File", "Ouvrir un fichier"},
    {"IDS_75", "Open a data set collection file(*.rec)",
     "Ouvrir un fichier d'ensemble de configurations de données(*.rec)"},
    {"IDS_76", "Open single data flle(*.TXT,*.GHF)", "Ouvrir un fichier d'une seule donnée(*.TXT,*.GHF)"},
    {"IDS_77", "Open single data file(*.TXT,*.CSV,*.GHF)", "Ouvrir un fichier d'une seule donnée(*.TXT,*.CSV,*.GHF)"},
    {"IDS_80", "Data Sets Collection (*.REC)|*.REC", ""},
    {"IDS_91", "Open Progress", "Avancement de l'ouverture"},
    {"IDS_97", "Data Retriving Progress", "Récupération des données en cours"},
    {"IDS_100", "No data to graph !", "Aucune valeur sur le graphe!"},
    {"IDS_101", "Graphing Progress", "Avancement du graphe"},
    {"IDS_102", "graphing.....", "Traçage en cours..."},
    {"IDS_104", "String Grid Printout", "Zone d'impression"},
    {"IDS_107", "There is no connection with multimeter !", "Pas de connexion avec l'instrument de mesure"},
    {"IDS_108", "The meter is recording data, please stop recording before loading data.",
     "L'appareil enregistre des données, arrêter l'enregistrement avant de charger ces données."},
    {"IDS_110", "Memory error!", "Erreur mémoire!"},
    {"IDS_111", "There was not any data recorded in momery of meter !", ""},
    {"IDS_112", "There was error when reading data from meter",
     "Une erreur est apparue en lisant les données de l'appareil"},
    {"IDS_113", "Fixing error failed !", "Erreur de fixation a échoué!"},
    {"IDS_117", "The meter is recording data, please stop recording before erasing data.",
     "L'instrument enregistre des données, arrêter l'enregistrement avant d'effacer les données"},
    {"IDS_121", "Auto Loading Mode", ""},
};

// Menus (QMenu) take "title", their items (QAction) "text"; the tool buttons carry
// hints only. The five hidden Data Logger items have the same text in both languages.
constexpr ControlText kControls[] = {
    {"", "windowTitle", "ML472", "ML472"},

    {"File1", "title", "&File", "Fichier"},
    {"Open1", "text", "&Open", "Ouvrir"},
    {"Save1", "text", "&Save", "Sauvegarder"},
    {"Print1", "text", "&Print", "Imprimer"},
    {"PrinterSetup1", "text", "&Printer Setup", "Configuration de l'imprimante"},
    {"Exit1", "text", "E&xit", "Sortir"},

    {"RealTime1", "title", "Real Time", "Temps Réel"},
    {"Run1", "text", "Run", "Executer"},
    {"Stop1", "text", "Stop", "Arrêter"},

    {"DataLogger1", "title", "&Data Logger", "Enregistreur de données"},
    {"LoadData1", "text", "Load Data", "Charger des données"},
    {"EraseMemory1", "text", "Erase Memory", "Effacer la mémoire"},
    {"Setup1", "text", "Setup", "Setup"},
    {"StartAutoLoading1", "text", "Start Auto Loading", "Start Auto Loading"},
    {"StopAutoLoading1", "text", "Stop Auto Loading", "Stop Auto Loading"},
    {"dumpandclearmemory1", "text", "dump_and_clear_memory", "dump_and_clear_memory"},
    {"estLoadingEvery1Minute1", "text", "Test Loading Every 1 Minute ", "Test Loading Every 1 Minute "},

    {"View1", "title", "&View", "Vue"},
    {"ControlPanel1", "text", "&Control Panel", "Panneau de contrôle"},
    {"RealTimeGraph1", "text", "Real Time &Graph", "Graphe Temps Réel"},

    {"Window1", "title", "&Window", "Fenêtre"},
    {"Tile1", "text", "&Tile", "&Tile"},
    {"Cascade1", "text", "&Cascade", "&Cascade"},

    {"Help1", "title", "&Help", "Aide"},
    {"Contents1", "text", "&Contents", "Contenu"},
    {"About1", "text", "&About", "A propos "},

    {"Language1", "title", "Language", "Language"},
    {"English1", "text", "English", "English"},
    {"French1", "text", "French", "French"},

    {"SpeedButton1", "toolTip", "Open File", "Ouvrir un fichier"},
    {"SpeedButton2", "toolTip", "Save to file", "Enregistrer dans un fichier"},
    {"btnPrint", "toolTip", "Print", "Imprimer"},
    {"btnDataLogger", "toolTip", "Data Logger", "Enregistreur de données"},
    {"btnOutputToGraph", "toolTip", "Output Tabular to graph", "Envoyer les données du tableau vers le graphe"},
    {"btnRun", "toolTip", "Start Graphing Real Time Data", "Commencer à tracer les données Temps Réel"},
    {"btnStop", "toolTip", "Stop Graphing Real Time Data", "Arrêter de tracer les données Temps Réel"},
    {"SpeedButton8", "toolTip", "Help", "Aide"},
};
}  // namespace

std::span<const MessageText> mainMessages() { return kMessages; }
std::span<const ControlText> mainControls() { return kControls; }

}  // namespace texts::tables
