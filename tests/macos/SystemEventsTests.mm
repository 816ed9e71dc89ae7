// Sleep and wake reach the app through the workspace's own notification centre, on the main
// queue; a notification on the default centre never does.

#import <AppKit/AppKit.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
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

TEST(MacSystemEventsTest, SpacesAndTheLockScreenArriveWhileTheOwnerLivesAndNeverAfter) {
  auto events = std::make_unique<MacSystemEvents>();
  std::vector<std::string> heard;
  events->observe(platform::SystemEventHandlers{
      .screensDidSleep = [&heard] { heard.push_back("screensDidSleep"); },
      .activeSpaceChanged = [&heard] { heard.push_back("activeSpaceChanged"); },
      .screenLocked = [&heard] { heard.push_back("screenLocked"); },
      .screenUnlocked = [&heard] { heard.push_back("screenUnlocked"); },
  });
  NSWorkspace *workspace = NSWorkspace.sharedWorkspace;
  NSDistributedNotificationCenter *distributed = NSDistributedNotificationCenter.defaultCenter;
  const auto postAll = [&] {
    [workspace.notificationCenter postNotificationName:NSWorkspaceScreensDidSleepNotification
                                                object:workspace];
    [workspace.notificationCenter postNotificationName:NSWorkspaceActiveSpaceDidChangeNotification
                                                object:workspace];
    [distributed postNotificationName:@"com.apple.screenIsLocked" object:nil];
    [distributed postNotificationName:@"com.apple.screenIsUnlocked" object:nil];
  };
  postAll();
  EXPECT_TRUE(runUntil([&heard] { return heard.size() == 4; }, 5s));
  EXPECT_EQ(heard, (std::vector<std::string>{"screensDidSleep", "activeSpaceChanged",
                                             "screenLocked", "screenUnlocked"}));

  events.reset();
  postAll();
  runFor(500ms);
  EXPECT_EQ(heard.size(), 4u) << "every observer went with its owner";
}

// Core Graphics's registrations, as a test keeps them: what was registered, and what was removed.
struct Registration {
  CGDisplayReconfigurationCallBack callback = nullptr;
  void *userInfo = nullptr;
};
Registration registered;
Registration removed;

CGError recordRegistration(CGDisplayReconfigurationCallBack callback, void *userInfo) {
  registered = Registration{callback, userInfo};
  return kCGErrorSuccess;
}
CGError recordRemoval(CGDisplayReconfigurationCallBack callback, void *userInfo) {
  removed = Registration{callback, userInfo};
  return kCGErrorSuccess;
}

TEST(MacSystemEventsTest, TheReconfigurationContextIsUnregisteredAndWorkQueuedForItFindsNothing) {
  registered = removed = Registration{};
  int reconfigurations = 0;
  auto events = std::make_unique<MacSystemEvents>(
      DisplayReconfigurationCalls{recordRegistration, recordRemoval});
  events->observe(platform::SystemEventHandlers{
      .displaysReconfigured = [&reconfigurations] { ++reconfigurations; }});
  ASSERT_NE(registered.callback, nullptr);

  // A burst: before the change, then after it for two displays; one call for all of it.
  registered.callback(1, kCGDisplayBeginConfigurationFlag, registered.userInfo);
  registered.callback(1, kCGDisplaySetMainFlag, registered.userInfo);
  registered.callback(2, kCGDisplayAddFlag, registered.userInfo);
  EXPECT_TRUE(runUntil([&reconfigurations] { return reconfigurations == 1; }, 2s));
  runFor(100ms);
  EXPECT_EQ(reconfigurations, 1);

  // Queued on the main queue, then the owner goes before it runs.
  registered.callback(1, kCGDisplayRemoveFlag, registered.userInfo);
  events.reset();
  EXPECT_EQ(removed.callback, registered.callback);
  EXPECT_EQ(removed.userInfo, registered.userInfo) << "the same pair as registered";
  runFor(200ms);
  EXPECT_EQ(reconfigurations, 1) << "nothing reaches an owner that is gone";
}

}  // namespace
}  // namespace lumora::macos
