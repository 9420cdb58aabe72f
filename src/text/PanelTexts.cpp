// The front panel's texts.
#include "text/TextTables.h"

namespace texts::tables {

namespace {
constexpr MessageText kMessages[] = {
    {"IDS_0", "No Connection", "Pas de connexion"},
};

constexpr ControlText kControls[] = {
    {"", "windowTitle", "Control Panel", "Panneau de contrôle"},
    {"lblFAST", "text", "FAST", "Rapide"},
    {"lblSegTIME", "text", "TIME", "HEURE"},
    {"lblMAX", "text", "MAX", "MAX"},
    {"lblMIN", "text", "MIN", "MIN"},
    {"lblNoConnection", "text", "No Connection", "Pas de connexion"},
    {"btnMaxMin", "toolTip", "single click to change MAX/MIN mode, mouse down 2 seconds  to cancel .",
     "Simple click pour interchanger entre les modes MAX/MIN, laisser la souris appuyer 2 secondes pour annuler"},
    {"btnPower", "toolTip", "Close Control Panel", "fermer le panneau de contrôle"},
    {"btnFast", "toolTip", "Time weighting select button", "Bouton de sélection du temps de réponse (rapide / lent)"},
    {"btnAC", "toolTip", "Frequency Weighting select button",
     "Bouton de sélection de la pondération fréquentielle (A / C)"},
};
}  // namespace

std::span<const MessageText> panelMessages() { return kMessages; }
std::span<const ControlText> panelControls() { return kControls; }

}  // namespace texts::tables
