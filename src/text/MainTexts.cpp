// The main window's texts.
#include "text/TextTables.h"

namespace texts::tables {

namespace {
constexpr MessageText kMessages[] = {
    {"IDS_5", "Searching Meter on ", "Recherche de l'instrument branché"},
    {"IDS_10", "On Connection", "Connecté"},
    {"IDS_11", "Off Connection", "Connection arrêtée"},
    {"IDS_15", "REC", "ENR"},
    {"IDS_16", "FULL", "PLEIN"},
    {"IDS_17", "SLOW", ""},
    {"IDS_18", "FAST", "Rapide"},
    {"IDS_73", "No Connection", "Pas de connexion"},
};
}  // namespace

std::span<const MessageText> mainMessages() { return kMessages; }
std::span<const ControlText> mainControls() { return {}; }

}  // namespace texts::tables
