// The once-a-second status item refresh and the menu rebuild after an action, on the quiet fakes
// of the platform, with the heap allocations of each call counted.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <new>

#include "app/AppDelegate.h"
#include "fakes/FakePlatform.h"

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

using testing::FakePlatform;

template <typename Call>
void measure(benchmark::State& state, FakePlatform& fake, Call call) {
  SharedControllers controllers(fake.platform);
  const auto delegate = AppDelegate::create(fake.platform, controllers);
  delegate->applicationDidFinishLaunching();
  const std::size_t before = allocations;
  for (auto _ : state)
    call(*delegate);
  state.counters["allocations/call"] = benchmark::Counter(static_cast<double>(allocations - before),
                                                          benchmark::Counter::kAvgIterations);
}

void UpdateMenuBarDisplay(benchmark::State& state) {
  FakePlatform fake(true);
  fake.userDefaults.values["simpleIcon"] = state.range(0) != 0;
  measure(state, fake, [](AppDelegate& delegate) { delegate.updateMenuBarDisplay(); });
}
BENCHMARK(UpdateMenuBarDisplay)->ArgName("simpleIcon")->Arg(0)->Arg(1);

void RebuildMenu(benchmark::State& state) {
  FakePlatform fake(true);
  measure(state, fake, [](AppDelegate& delegate) { delegate.rebuildMenu(); });
}
BENCHMARK(RebuildMenu);

}  // namespace
}  // namespace lumora::bench

BENCHMARK_MAIN();
