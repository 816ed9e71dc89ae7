#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>

#include "support/AllocationCount.h"

namespace lumora::bench {

using testing::allocationCount;

// Runs `call` once per iteration and reports the heap allocations per call.
template <typename Call>
void measureWithAllocations(benchmark::State& state, Call call) {
  const std::size_t before = allocationCount();
  for (auto _ : state)
    call();
  state.counters["allocations/call"] = benchmark::Counter(
      static_cast<double>(allocationCount() - before), benchmark::Counter::kAvgIterations);
}

}  // namespace lumora::bench
