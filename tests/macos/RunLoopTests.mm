// The run loop's contract on a real Mac: when timers tick, when main-queue work runs, and how a
// modal alert sits among the windows while it waits.

#import <AppKit/AppKit.h>

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "RunLoop.h"
#include "display/DeepBlacksController.h"
#include "fakes/EventLog.h"
#include "fakes/FakeConsole.h"
#include "fakes/FakeDisplays.h"
#include "fakes/FakeUserDefaults.h"
#include "platform/macos/MacAlerts.h"
#include "platform/macos/MacMainQueue.h"
#include "platform/macos/MacTimers.h"

namespace lumora::macos {
namespace {

using namespace std::chrono_literals;
using runloop::runFor;
using runloop::runUntil;

TEST(MacTimersTest, ARepeatingTimerTicksInTheDefaultModeOnlyAndStopsWhenInvalidated) {
  MacTimers timers;
  int ticks = 0;
  const auto timer = timers.scheduledTimer(10ms, true, [&ticks] { ++ticks; });

  runFor(300ms, NSEventTrackingRunLoopMode);
  EXPECT_EQ(ticks, 0) << "no tick while a menu is open";
  runFor(300ms, NSModalPanelRunLoopMode);
  EXPECT_EQ(ticks, 0) << "no tick while a modal alert runs";

  EXPECT_TRUE(runUntil([&ticks] { return ticks >= 3; }, 2s));
  EXPECT_TRUE(timer->isValid());
  timer->invalidate();
  EXPECT_FALSE(timer->isValid());
  const int ticksBefore = ticks;
  runFor(200ms);
  EXPECT_EQ(ticks, ticksBefore);
}

TEST(MacTimersTest, AOneShotTimerTicksOnceAndIsThenInvalid) {
  MacTimers timers;
  int ticks = 0;
  const auto timer = timers.scheduledTimer(10ms, false, [&ticks] { ++ticks; });
  EXPECT_TRUE(runUntil([&ticks] { return ticks == 1; }, 2s));
  runFor(100ms);
  EXPECT_EQ(ticks, 1);
  EXPECT_FALSE(timer->isValid());
}

TEST(MacMainQueueTest, WorkRunsAfterTheCurrentWorkInOrderAndNeverWhileItIsQueued) {
  MacMainQueue queue;
  std::vector<int> order;
  queue.async([&] {
    order.push_back(1);
    queue.async([&order] { order.push_back(3); });
    order.push_back(2);
  });
  EXPECT_TRUE(order.empty());
  EXPECT_TRUE(runUntil([&order] { return order.size() == 3; }, 2s));
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

// The Deep Blacks warning of a menu-bar app must be seen although the app is not active. Its
// level is read from inside the modal session, which the probe then cuts short.
TEST(MacAlertsTest, TheDeepBlacksWarningRunsAtTheFloatingLevelAndAnAbortedOneIsNotSeen) {
  lumora::testing::EventLog log;
  lumora::testing::FakeUserDefaults defaults(log);
  lumora::testing::FakeDisplays displays(log);
  MacMainQueue mainQueue;
  MacAlerts alerts;
  TransferTables tables(displays, displays.mainDisplay);
  lumora::testing::FakeConsole console;
  DeepBlacksController deepBlacks(defaults, displays, tables, mainQueue, alerts, console);

  __block NSInteger level = NSIntegerMin;
  __block int probes = 0;
  NSTimer *probe = [NSTimer timerWithTimeInterval:0.1
                                          repeats:YES
                                            block:^(NSTimer *timer) {
                                              NSWindow *modal = NSApp.modalWindow;
                                              // Gives up after 5 s rather than wait forever.
                                              if (modal == nil && ++probes < 50) return;
                                              if (modal != nil) level = modal.level;
                                              [NSApp abortModal];
                                              [timer invalidate];
                                            }];
  [NSRunLoop.currentRunLoop addTimer:probe forMode:NSModalPanelRunLoopMode];

  deepBlacks.setLevel(DeepBlacksController::Level::medium, true);
  bool warned = false;
  mainQueue.async([&warned] { warned = true; });  // queued after the warning, so it runs after it
  EXPECT_TRUE(runUntil([&warned] { return warned; }, 15s));
  [probe invalidate];

  EXPECT_EQ(level, NSFloatingWindowLevel);
  EXPECT_FALSE(preferences::read(defaults, DeepBlacksController::deepBlacksWarningShownKey))
      << "only the user's dismissal counts";
}

}  // namespace
}  // namespace lumora::macos
