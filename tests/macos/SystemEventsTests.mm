// Sleep and wake reach the app through the workspace's own notification centre, on the main
// queue; a notification on the default centre never does.

#import <AppKit/AppKit.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "RunLoop.h"
#include "platform/macos/MacSystemEvents.h"

namespace lumora::macos {
namespace {

using namespace std::chrono_literals;
using runloop::runFor;
using runloop::runUntil;

TEST(MacSystemEventsTest, SleepAndWakeArriveFromTheWorkspaceCentreOnly) {
  MacSystemEvents events;
  std::vector<std::string> heard;
  events.observe(platform::SystemEventHandlers{
      .willSleep = [&heard] { heard.push_back("willSleep"); },
      .didWake = [&heard] { heard.push_back("didWake"); },
      .screensDidWake = [&heard] { heard.push_back("screensDidWake"); },
      .displaysReconfigured = [&heard] { heard.push_back("displaysReconfigured"); },
  });
  NSWorkspace *workspace = NSWorkspace.sharedWorkspace;
  [NSNotificationCenter.defaultCenter postNotificationName:NSWorkspaceWillSleepNotification
                                                    object:workspace];
  runFor(100ms);
  EXPECT_TRUE(heard.empty());

  NSNotificationCenter *center = workspace.notificationCenter;
  [center postNotificationName:NSWorkspaceWillSleepNotification object:workspace];
  [center postNotificationName:NSWorkspaceDidWakeNotification object:workspace];
  [center postNotificationName:NSWorkspaceScreensDidWakeNotification object:workspace];
  EXPECT_TRUE(runUntil([&heard] { return heard.size() == 3; }, 2s));
  EXPECT_EQ(heard, (std::vector<std::string>{"willSleep", "didWake", "screensDidWake"}));
}

}  // namespace
}  // namespace lumora::macos
