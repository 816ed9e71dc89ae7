// The once-a-second status item refresh and the menu rebuild after an action, on the quiet fakes
// of the platform, with the heap allocations of each call counted.

#include <benchmark/benchmark.h>

#include "AllocationCounter.h"
#include "app/AppDelegate.h"
#include "fakes/FakePlatform.h"

namespace lumora::bench {
namespace {

using testing::FakePlatform;

template <typename Call>
void measure(benchmark::State& state, FakePlatform& fake, Call call) {
  SharedControllers controllers(fake.platform);
  const auto delegate = AppDelegate::create(fake.platform, controllers);
  delegate->applicationDidFinishLaunching();
  measureWithAllocations(state, [&] { call(*delegate); });
}

void UpdateMenuBarDisplay(benchmark::State& state) {
  FakePlatform fake(true);
  fake.userDefaults.values["simpleIcon"] = state.range(0) != 0;
  // With XDR on, the level is read from the active preset on every refresh; auto-enable keeps the
  // launch from switching it off.
  if (state.range(1) != 0) {
    fake.setActiveCeiling(1250.0);
    fake.userDefaults.values["autoEnableXDR"] = true;
  }
  measure(state, fake, [](AppDelegate& delegate) { delegate.updateMenuBarDisplay(); });
}
BENCHMARK(UpdateMenuBarDisplay)->ArgNames({"simpleIcon", "xdr"})->ArgsProduct({{0, 1}, {0, 1}});

void RebuildMenu(benchmark::State& state) {
  FakePlatform fake(true);
  measure(state, fake, [](AppDelegate& delegate) { delegate.rebuildMenu(); });
}
BENCHMARK(RebuildMenu);

}  // namespace
}  // namespace lumora::bench
