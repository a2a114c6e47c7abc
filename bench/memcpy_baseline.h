// The yardstick every benchmark program prints first: a plain memcpy of the
// 111,672-byte transfer image. The other figures read as multiples of it.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "setup/data/data_set.h"

namespace odc {

inline void BM_MemcpyTransferImage(benchmark::State& state) {
  std::vector<uint8_t> from(kImageSize, 0x5A);
  std::vector<uint8_t> to(kImageSize);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), kImageSize);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kImageSize));
}
BENCHMARK(BM_MemcpyTransferImage);

}  // namespace odc
