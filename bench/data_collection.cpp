// Statistics of one large data set, alone and as part of a whole load (which also
// lays out the sample times).

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "data/DataSetCollection.h"

namespace {

// Levels as the logger holds them: tenths of a dB between 20.0 and 140.0.
std::vector<float> meterLevels(std::size_t count) {
  std::vector<float> levels(count);
  std::uint32_t state = 12345;
  for (float& level : levels) {
    state = state * 1664525u + 1013904223u;
    level = static_cast<float>(200 + (state >> 8) % 1201) * 0.1f;
  }
  return levels;
}

void BM_DataSetStatistics(benchmark::State& state) {
  const std::vector<float> levels = meterLevels(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(computeDataSetStatistics(levels));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_DataSetStatistics)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void BM_ReplaceFromImage(benchmark::State& state) {
  ParsedDataSet dataSet;
  dataSet.levels = meterLevels(static_cast<std::size_t>(state.range(0)));
  dataSet.header.startTime = 45500.25;
  dataSet.header.samplingInterval = 1;
  dataSet.header.sampleCount = static_cast<std::int32_t>(dataSet.levels.size());
  const std::vector<ParsedDataSet> image{dataSet};
  DataSetCollection collection;
  for (auto _ : state) {
    benchmark::DoNotOptimize(collection.replaceFromImage(image));
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ReplaceFromImage)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
