// The about box's texts (TfrmAbout, also the start-up splash window).
//
// Object names of the about box:
//   ""        the window: caption "About Kalvro For Sound Level Meter"
//   Label2    "Sound Level Meter Software"
//   Label3    the message "Version" ("Version:") followed by the program's version,
//             which is a value and not translated; the code builds this line
//   Label4    the status line the start-up sequence writes into (empty at design)
//   OKButton  "OK", hidden while the box is the splash window
#include "text/TextTables.h"

namespace texts::tables {

namespace {
constexpr MessageText kMessages[] = {
    {"Version", "Version:", ""},
};

constexpr ControlText kControls[] = {
    {"", "windowTitle", "About Kalvro For Sound Level Meter", "A propos de Kalvro pour sonomètre"},
    {"Label2", "text", "Sound Level Meter Software", "Logiciel de sonomètre"},
    {"OKButton", "text", "OK", "OK"},
};
}  // namespace

std::span<const MessageText> aboutMessages() { return kMessages; }
std::span<const ControlText> aboutControls() { return kControls; }

}  // namespace texts::tables
