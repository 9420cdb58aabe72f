// The graph window's texts. Its keys are its own: IDS_5 here is the grid heading
// "Weighting", not the main window's "Searching Meter on ".
#include "text/TextTables.h"

namespace texts::tables {

namespace {
constexpr MessageText kMessages[] = {
    {"IDS_0", "Set", "Configuration"},
    {"IDS_1", "DATE", "DATE"},
    {"IDS_2", "TIME", "HEURE"},
    {"IDS_3", "Rate", "Taux"},
    {"IDS_4", "Nums", "Numéros"},
    {"IDS_5", "Weighting", "Pondération"},
    {"IDS_9", "Save DataLogger Data ?", "Sauvegarder les valeurs de l'enregistreur de données?"},
    {"IDS_11", "Save Real-Time Graph ?", "Enregistrer le graphe Temps-Réel?"},
    {"IDS_26", "CROSS", ""},
    {"IDS_27", "Double click to delete.", "Double-cliquez pour effacer"},
    {"IDS_29", "Do you want to save the changes ?", "Voulez-vous enregistrer les modifications?"},
    {"IDS_32", "Start Time:", "Heure de début:"},
    {"IDS_34", "Sampling Rate:", "Taux d'échantillonage:"},
    {"IDS_36", "DataNo:", "N° donnée:"},
    {"IDS_38", "Avg.:", "Moyenne:"},
    {"IDS_40", "Maximum:", "Maximum:"},
    {"IDS_42", "Minimum:", "Minimum:"},
    {"IDS_44", "Cursor A:", "Curseur A"},
    {"IDS_46", "Cursor B:", "Curseur B"},
    {"IDS_48", "Max.Between A and B:", "Max. entre A et B:"},
    {"IDS_50", "Avg. Between A and B:", "Moy. entre A et B"},
    {"IDS_52", "The statistic has been copy to clipboard", "Les statistiques ont été copiées dans le presse-papier"},
    {"IDS_53", "NO", ""},
    {"IDS_54", "Time", "Heure"},
    {"IDS_55", "Contents", "Contenu"},
};

// Only the English captions and hints of this window are known, so French shows
// them too. The window title is not here: it tells the window's role ("DataLogger",
// "Real-Time Graph", a file name) and must survive a language switch.
//
// The labels have no names of their own in the window's design; the graph window
// gives them these object names:
//   lblDataSets      "Data Sets", the title over the data sets grid
//   lblStartTime     "Start Time"        lblSamplingRate  "Sampling Rate"
//   lblSec           "Sec"               lblDataNo        "Data No."
//   lblMax           "Maximum "          lblMin           "Minimum"
//   lblAvg           "Avg"
//   lblCursorA       "Cursor A"          lblCursorB       "Cursor B"
//   lblMaxAB         "Max.Between A and B"
//   lblMinAB         "Min.Between A and B"
//   lblAvgAB         "Avg Between A and B"
// ChangeDateTime1 is the data sets grid's pop-up menu item (its handler is
// ChangeDateTime1Click).
constexpr ControlText kControls[] = {
    {"ToolButton1", "toolTip", "Toggle Graph Statistic", ""},
    {"ToolButton2", "toolTip", "Toggle Line Cursor Statistic", ""},
    {"ToolButton4", "toolTip", "Normal Cursor", ""},
    {"ToolButton5", "toolTip", "Draw A Cross On Graph", ""},
    {"ToolButton9", "toolTip", "Text", ""},
    {"tbntClr", "toolTip", "Clear", ""},
    {"UndoZoom", "toolTip", "Undo Zoom", ""},
    {"Button1", "text", "Graph Option", ""},
    {"Button1", "toolTip", "Graph Customization", ""},
    {"Button2", "text", "Export Statistic", ""},
    {"ChangeDateTime1", "text", "Change Date & Time", ""},

    {"lblDataSets", "text", "Data Sets", ""},
    {"lblStartTime", "text", "Start Time", ""},
    {"lblSamplingRate", "text", "Sampling Rate", ""},
    {"lblSec", "text", "Sec", ""},
    {"lblDataNo", "text", "Data No.", ""},
    {"lblMax", "text", "Maximum ", ""},
    {"lblMin", "text", "Minimum", ""},
    {"lblAvg", "text", "Avg", ""},
    {"lblCursorA", "text", "Cursor A", ""},
    {"lblCursorB", "text", "Cursor B", ""},
    {"lblMaxAB", "text", "Max.Between A and B", ""},
    {"lblMinAB", "text", "Min.Between A and B", ""},
    {"lblAvgAB", "text", "Avg Between A and B", ""},
};
}  // namespace

std::span<const MessageText> graphMessages() { return kMessages; }
std::span<const ControlText> graphControls() { return kControls; }

}  // namespace texts::tables
