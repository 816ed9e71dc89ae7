// The run loop's contract on a real Mac: when timers tick, when main-queue work and work for the
// next turn run, and how a modal alert sits among the windows while it waits.

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
#include "platform/macos/MacStrings.h"
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

TEST(MacMainQueueTest, WorkForTheNextTurnRunsAfterTheCurrentWorkAndOutsideTheQueue) {
  MacMainQueue queue;
  std::vector<int> order;
  queue.async([&] {
    queue.performOnNextTurn([&order] { order.push_back(2); });
    order.push_back(1);
  });
  EXPECT_TRUE(runUntil([&order] { return order.size() == 2; }, 2s));
  EXPECT_EQ(order, (std::vector<int>{1, 2}));

  bool ran = false;
  queue.performOnNextTurn([&ran] { ran = true; });
  runFor(200ms, NSEventTrackingRunLoopMode);
  EXPECT_FALSE(ran) << "not while a menu is open";
  EXPECT_TRUE(runUntil([&ran] { return ran; }, 2s));
}

// The button of `root`'s view tree with this title, or nil.
NSButton *buttonTitled(NSView *root, NSString *title) {
  if ([root isKindOfClass:[NSButton class]]) {
    NSButton *button = static_cast<NSButton *>(root);
    if ([button.title isEqualToString:title]) return button;
  }
  for (NSView *subview in root.subviews) {
    if (NSButton *found = buttonTitled(subview, title)) return found;
  }
  return nil;
}

// The Deep Blacks warning of a menu-bar app must be seen although the app is not active, and it
// must not hold up the main queue (the wake and display-change handling) while it waits. Its
// window is read from inside the modal session, which the probe then cuts short once work queued
// after the warning has run. Whether it is also key is not asserted: from macOS 14 on the system
// may refuse the activation of an app the user did not just use.
TEST(MacAlertsTest, TheDeepBlacksWarningIsLaidOutFloatsAndLetsTheMainQueueRunMeanwhile) {
  lumora::testing::EventLog log;
  lumora::testing::FakeUserDefaults defaults(log);
  lumora::testing::FakeDisplays displays(log);
  MacMainQueue mainQueue;
  MacAlerts alerts;
  TransferTables tables(displays, displays.mainDisplay);
  lumora::testing::FakeConsole console;
  EventTrail trail(&std::chrono::steady_clock::now);
  DeepBlacksController deepBlacks(defaults, displays, tables, mainQueue, alerts, console, trail);
  NSString *const buttonTitle = toNSString(DeepBlacksController::warningButtonTitle);

  // Shared by the probe's block and the queued work: the block holds a pointer, as it may be
  // copied to the heap.
  struct Seen {
    NSInteger level = NSIntegerMin;
    bool visible = false;
    bool buttonInsideTheWindow = false;
    int probes = 0;
    bool queuedWorkRan = false;
    bool ranDuringTheAlert = false;
    bool done = false;
  } seen;
  Seen *const state = &seen;
  NSTimer *probe = [NSTimer
      timerWithTimeInterval:0.1
                    repeats:YES
                      block:^(NSTimer *timer) {
                        NSWindow *modal = NSApp.modalWindow;
                        // Gives up after 5 s rather than wait forever.
                        if ((modal == nil || !state->queuedWorkRan) && ++state->probes < 50) {
                          return;
                        }
                        if (modal != nil) {
                          state->level = modal.level;
                          state->visible = modal.isVisible;
                          NSView *content = modal.contentView;
                          NSButton *button = buttonTitled(content, buttonTitle);
                          if (button != nil) {
                            const NSRect frame = [content convertRect:button.bounds
                                                             fromView:button];
                            state->buttonInsideTheWindow =
                                !NSIsEmptyRect(frame) && NSContainsRect(content.bounds, frame);
                          }
                          state->ranDuringTheAlert = state->queuedWorkRan;
                        }
                        state->done = true;
                        [NSApp abortModal];
                        [timer invalidate];
                      }];
  [NSRunLoop.currentRunLoop addTimer:probe forMode:NSModalPanelRunLoopMode];

  deepBlacks.setLevel(DeepBlacksController::Level::medium, true);
  mainQueue.async([state] { state->queuedWorkRan = true; });
  EXPECT_TRUE(runUntil([state] { return state->done; }, 15s));
  [probe invalidate];

  EXPECT_TRUE(seen.visible);
  EXPECT_EQ(seen.level, NSFloatingWindowLevel);
  EXPECT_TRUE(seen.buttonInsideTheWindow) << "laid out: its button is within the window";
  EXPECT_TRUE(seen.ranDuringTheAlert) << "the main queue went on while the alert was up";
  EXPECT_FALSE(preferences::read(defaults, DeepBlacksController::deepBlacksWarningShownKey))
      << "only the user's dismissal counts";
}

}  // namespace
}  // namespace lumora::macos
