#pragma once
// The per-window tables, each defined in its own file of this folder.

#include <span>

#include "text/Texts.h"

namespace texts::tables {

std::span<const MessageText> messagesOf(TextTable window);
std::span<const ControlText> controlsOf(TextTable window);

// One pair per window, defined in <Window>Texts.cpp.
std::span<const MessageText> mainMessages();
std::span<const ControlText> mainControls();
std::span<const MessageText> panelMessages();
std::span<const ControlText> panelControls();
std::span<const MessageText> graphMessages();
std::span<const ControlText> graphControls();
std::span<const MessageText> dialogMessages();
std::span<const MessageText> aboutMessages();
std::span<const ControlText> aboutControls();
std::span<const MessageText> setupRealTimeMessages();
std::span<const ControlText> setupRealTimeControls();

}  // namespace texts::tables
