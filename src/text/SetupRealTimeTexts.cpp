// The real-time setup dialog's texts (TfrmSetupRealTime). Only English captions are
// known for it, so French shows them too.
//
// Object names of the dialog's labels, in the order they appear:
//   Label1  "Real-Time data no to be recorded"
//   Label2  "(Adjust the number to meet your need)"
//   Label3  "Real -Time Sampling Rate"
//   Label4  "second"
//   Label5  "Recording Period"
//   Label6  "HH:MM:SS"
// btnOpenSingleSet is "Start" (accepts the dialog), Button1 "Cancel".
#include "text/TextTables.h"

namespace texts::tables {

namespace {
constexpr ControlText kControls[] = {
    {"", "windowTitle", "Real-Time Setup", ""},
    {"Label1", "text", "Real-Time data no to be recorded", ""},
    {"Label2", "text", "(Adjust the number to meet your need)", ""},
    {"Label3", "text", "Real -Time Sampling Rate", ""},
    {"Label4", "text", "second", ""},
    {"Label5", "text", "Recording Period", ""},
    {"Label6", "text", "HH:MM:SS", ""},
    {"btnOpenSingleSet", "text", "Start", ""},
    {"Button1", "text", "Cancel", ""},
};
}  // namespace

std::span<const MessageText> setupRealTimeMessages() { return {}; }
std::span<const ControlText> setupRealTimeControls() { return kControls; }

}  // namespace texts::tables
