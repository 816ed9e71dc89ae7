// The power sources and the thermal state on a real Mac.

#import <Foundation/Foundation.h>

#include <gtest/gtest.h>

#include <chrono>

#include "RunLoop.h"
#include "platform/macos/MacPower.h"

namespace lumora::macos {
namespace {

using namespace std::chrono_literals;

TEST(MacPowerTest, TheReadingsResolve) {
  MacPower power;
  const platform::PowerState state = power.currentState();
  EXPECT_GE(state.batteryPercent, 0);
  EXPECT_LE(state.batteryPercent, 100);
  if (!state.hasBattery) EXPECT_FALSE(state.onBattery) << "no battery to run on";
  EXPECT_EQ(static_cast<NSInteger>(state.thermalState), NSProcessInfo.processInfo.thermalState);
}

// The thermal notification may be posted on any thread; the app hears of it on the main one, and
// only when something changed.
TEST(MacPowerTest, AThermalNotificationFromAnotherThreadReachesOnlyTheMainThread) {
  MacPower power;
  int calls = 0;
  bool offMain = false;
  power.observe([&] {
    ++calls;
    if (!NSThread.isMainThread) offMain = true;
  });
  dispatch_async(dispatch_get_global_queue(QOS_CLASS_DEFAULT, 0), ^{
    [NSNotificationCenter.defaultCenter
        postNotificationName:NSProcessInfoThermalStateDidChangeNotification
                      object:NSProcessInfo.processInfo];
  });
  runloop::runFor(1s);
  EXPECT_FALSE(offMain);
  EXPECT_EQ(calls, 0) << "nothing changed, so nothing is told";
}

}  // namespace
}  // namespace lumora::macos
