// Tables still to be filled in.
#include "text/TextTables.h"

namespace texts::tables {
std::span<const MessageText> graphMessages() { return {}; }
std::span<const ControlText> graphControls() { return {}; }
std::span<const MessageText> dialogMessages() { return {}; }
std::span<const MessageText> aboutMessages() { return {}; }
std::span<const ControlText> aboutControls() { return {}; }
std::span<const MessageText> setupRealTimeMessages() { return {}; }
std::span<const ControlText> setupRealTimeControls() { return {}; }
}  // namespace texts::tables
