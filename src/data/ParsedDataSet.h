#pragma once
// What the logger memory parse hands to the data set collection: one entry per
// record of the image, in recording order. Plain values only, so the parse (and the
// automatic download's dump, which walks the records by the same rules) can fill it
// without knowing anything about the collection.

#include <cstdint>
#include <vector>

#include "link/TDateTime.h"

// The six values a record's header and markers give.
struct DataSetHeader {
  TDateTime startTime = 0.0;
  std::int32_t samplingInterval = 0;  // seconds between two samples
  std::int32_t sampleCount = 0;
  std::int32_t recordStart = 0;  // offset of the 0xA5 of the start marker
  std::int32_t recordEnd = 0;    // offset of the 0xA5 of the end marker
  std::uint8_t modeByte = 0;     // bit 3 set: frequency weighting A, else C
};

// One sound record: its header and its decoded levels in sample order.
// levels.size() must equal header.sampleCount; the sample times are not carried
// because the collection derives them from startTime and samplingInterval.
struct ParsedDataSet {
  DataSetHeader header;
  std::vector<float> levels;  // dB
};
