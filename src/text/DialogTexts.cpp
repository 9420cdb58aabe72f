// Titles and button captions of the standard message and confirmation boxes. They
// follow the main window's language. The English ones keep their accelerators ("&Yes");
// the French ones have none. The keys are the names of the PromptKind and
// PromptButton values ("NoToAll"), except Confirmation, whose title is "Confirm".
#include "text/TextTables.h"

namespace texts::tables {

namespace {
constexpr MessageText kMessages[] = {
    {"Warning", "Warning", "Attention"},
    {"Error", "Error", "Erreur"},
    {"Information", "Information", "Information"},
    {"Confirm", "Confirm", "Confirmer"},
    {"Yes", "&Yes", "Oui"},
    {"No", "&No", "Non"},
    {"OK", "OK", "OK"},
    {"Cancel", "Cancel", "Annuler"},
    {"Abort", "&Abort", "Abandonner"},
    {"Retry", "&Retry", "Réessayer"},
    {"Ignore", "&Ignore", "Ignorer"},
    {"All", "&All", "Tout"},
    {"NoToAll", "N&o to All", "Non pour tout"},
    {"YesToAll", "Yes to &All", "Oui pour tout"},
    {"Help", "&Help", "Aide"},
};
}  // namespace

std::span<const MessageText> dialogMessages() { return kMessages; }

}  // namespace texts::tables
