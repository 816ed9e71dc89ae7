// The once-a-second status item refresh and the menu rebuild after an action, on a platform that
// does nothing, with the heap allocations of each call counted.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <new>

#include "LeanPlatform.h"
#include "app/AppDelegate.h"

namespace {

std::size_t allocations = 0;

}  // namespace

// Counting replacements of the global allocation functions. GCC takes the free in the replacement
// delete for a mismatch with new once both are inlined; they do match.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
  ++allocations;
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}
void operator delete(void* memory) noexcept {
  std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
  std::free(memory);
}
#pragma GCC diagnostic pop

namespace lumora::bench {
namespace {

template <typename Call>
void measure(benchmark::State& state, LeanPlatform& lean, Call call) {
  SharedControllers controllers(lean.platform);
  const auto delegate = AppDelegate::create(lean.platform, controllers);
  delegate->applicationDidFinishLaunching();
  const std::size_t before = allocations;
  for (auto _ : state)
    call(*delegate);
  state.counters["allocations/call"] = benchmark::Counter(static_cast<double>(allocations - before),
                                                          benchmark::Counter::kAvgIterations);
}

void UpdateMenuBarDisplay(benchmark::State& state) {
  LeanPlatform lean;
  lean.userDefaults.simpleIcon = state.range(0) != 0;
  measure(state, lean, [](AppDelegate& delegate) { delegate.updateMenuBarDisplay(); });
}
BENCHMARK(UpdateMenuBarDisplay)->ArgName("simpleIcon")->Arg(0)->Arg(1);

void RebuildMenu(benchmark::State& state) {
  LeanPlatform lean;
  measure(state, lean, [](AppDelegate& delegate) { delegate.rebuildMenu(); });
}
BENCHMARK(RebuildMenu);

}  // namespace
}  // namespace lumora::bench

BENCHMARK_MAIN();
