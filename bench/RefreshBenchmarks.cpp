// The once-a-second status item refresh and the menu rebuild after an action, on the quiet fakes
// of the platform, with the heap allocations of each call counted.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <functional>
#include <string>

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

// The once-a-second tick with nothing changing, XDR at 1250 and Deep Blacks at Medium, by either
// method: the level kept true (the preset read back, or the headroom and the table read back)
// and the status item redrawn. It must load no table and allocate nothing.
void IdleTick(benchmark::State& state) {
  const bool headroom = state.range(0) != 0;
  FakePlatform fake(true);
  fake.userDefaults.values["autoEnableXDR"] = true;
  fake.userDefaults.values["lastNitsValue"] = 1250.0;
  fake.userDefaults.values["deepBlacksEnabled"] = true;
  fake.userDefaults.values["deepBlacksLevel"] = std::int64_t{2};
  fake.userDefaults.values["deepBlacksWarningShown"] = true;
  if (headroom) fake.userDefaults.values["brightnessMethod"] = std::string("headroom");
  fake.extendedDynamicRange.headroom[fake.displays.mainDisplay] = 3.2;
  SharedControllers controllers(fake.platform);
  const auto delegate = AppDelegate::create(fake.platform, controllers);
  delegate->applicationDidFinishLaunching();
  // The refresh timer is the first the launch schedules.
  const std::function<void()>& tick = fake.timers.timers.front()->block;
  const std::size_t tables = fake.displays.tablesLoaded.size();
  measureWithAllocations(state, [&] { tick(); });
  if (fake.displays.tablesLoaded.size() != tables)
    state.SkipWithError("an idle tick loaded a table");
}
BENCHMARK(IdleTick)->ArgNames({"headroom"})->Arg(0)->Arg(1);

void RebuildMenu(benchmark::State& state) {
  FakePlatform fake(true);
  measure(state, fake, [](AppDelegate& delegate) { delegate.rebuildMenu(); });
}
BENCHMARK(RebuildMenu);

}  // namespace
}  // namespace lumora::bench
