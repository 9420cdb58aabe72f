#include "text/TextTables.h"

namespace texts::tables {

std::span<const MessageText> messagesOf(TextTable window) {
  switch (window) {
    case TextTable::Main: return mainMessages();
    case TextTable::Panel: return panelMessages();
    case TextTable::Graph: return graphMessages();
    case TextTable::Dialogs: return dialogMessages();
    case TextTable::About: return aboutMessages();
    case TextTable::SetupRealTime: return setupRealTimeMessages();
  }
  return {};
}

std::span<const ControlText> controlsOf(TextTable window) {
  switch (window) {
    case TextTable::Main: return mainControls();
    case TextTable::Panel: return panelControls();
    case TextTable::Graph: return graphControls();
    case TextTable::Dialogs: return {};
    case TextTable::About: return aboutControls();
    case TextTable::SetupRealTime: return setupRealTimeControls();
  }
  return {};
}

}  // namespace texts::tables
