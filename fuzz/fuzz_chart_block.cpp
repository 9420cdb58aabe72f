// Graph files and templates come from disk: any block must decode to a state or
// be refused, never crash; and what decodes must encode and decode to the same.

#include <cstdint>
#include <cstdlib>

#include "graph/ChartBlock.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray block(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  if (const std::optional<chart::ChartState> state = chart::decodeState(block)) {
    const std::optional<chart::ChartState> again = chart::decodeState(chart::encodeState(*state));
    if (!again || !(*again == *state)) std::abort();
  }
  if (const std::optional<chart::ChartLook> look = chart::decodeSettings(block)) {
    if (!chart::decodeSettings(chart::encodeSettings(*look))) std::abort();
  }
  return 0;
}
