#pragma once
// The chart's two byte blocks: the state block (points, ranges, cursor lines,
// annotations and look) that a graph file carries, and the settings block (the
// look only) that the graph template carries. Both are read defensively: a block
// that is truncated, too long, of an unknown version or with a value out of range
// is refused as a whole and nothing of it is used.

#include <optional>

#include <QByteArray>

#include "graph/ChartState.h"

namespace chart {

inline constexpr char kBlockMagic[4] = {'M', 'L', 'C', 'H'};
inline constexpr quint16 kBlockVersion = 1;
inline constexpr quint16 kStateBlock = 1;
inline constexpr quint16 kSettingsBlock = 2;

QByteArray encodeState(const ChartState& state);
QByteArray encodeSettings(const ChartLook& look);

std::optional<ChartState> decodeState(const QByteArray& block);
std::optional<ChartLook> decodeSettings(const QByteArray& block);

}  // namespace chart
