#include "platform/macos/MacSystemEvents.h"

#import <AppKit/AppKit.h>
#import <CoreGraphics/CoreGraphics.h>
#import <dispatch/dispatch.h>

#include <atomic>
#include <vector>

namespace lumora::macos {

struct MacSystemEvents::Observation {
  platform::SystemEventHandlers handlers;
  std::vector<id<NSObject>> tokens;
  // A reconfiguration handed to the main queue and not yet handled: later callbacks of the same
  // burst add nothing.
  std::atomic<bool> reconfigurationQueued{false};
  bool callbackRegistered = false;
};

namespace {

void post(const std::function<void()> &handler) {
  if (handler) handler();
}

// Called for each display before and after a reconfiguration, on any thread.
void displayReconfigured(CGDirectDisplayID, CGDisplayChangeSummaryFlags flags, void *userInfo) {
  if ((flags & kCGDisplayBeginConfigurationFlag) != 0) return;  // not finished yet
  auto *observation = static_cast<MacSystemEvents::Observation *>(userInfo);
  if (observation->reconfigurationQueued.exchange(true)) return;
  dispatch_async(dispatch_get_main_queue(), ^{
    observation->reconfigurationQueued = false;
    post(observation->handlers.displaysReconfigured);
  });
}

}  // namespace

MacSystemEvents::MacSystemEvents() : observation_(std::make_shared<Observation>()) {}

MacSystemEvents::~MacSystemEvents() {
  NSNotificationCenter *center = NSWorkspace.sharedWorkspace.notificationCenter;
  for (id<NSObject> token : observation_->tokens) [center removeObserver:token];
  if (observation_->callbackRegistered) {
    CGDisplayRemoveReconfigurationCallback(displayReconfigured, observation_.get());
  }
}

void MacSystemEvents::observe(platform::SystemEventHandlers handlers) {
  observation_->handlers = std::move(handlers);
  if (!observation_->tokens.empty()) return;

  NSNotificationCenter *center = NSWorkspace.sharedWorkspace.notificationCenter;
  const std::weak_ptr<Observation> weak = observation_;
  const auto observe = [&](NSNotificationName name,
                           std::function<void()> platform::SystemEventHandlers::*handler) {
    id<NSObject> token = [center addObserverForName:name
                                             object:nil
                                              queue:[NSOperationQueue mainQueue]
                                         usingBlock:^(NSNotification *) {
                                           if (const auto alive = weak.lock()) {
                                             post(alive->handlers.*handler);
                                           }
                                         }];
    observation_->tokens.push_back(token);
  };
  // Will-sleep waits for its observers before the Mac sleeps: the handler does little.
  observe(NSWorkspaceWillSleepNotification, &platform::SystemEventHandlers::willSleep);
  observe(NSWorkspaceDidWakeNotification, &platform::SystemEventHandlers::didWake);
  observe(NSWorkspaceScreensDidWakeNotification, &platform::SystemEventHandlers::screensDidWake);

  observation_->callbackRegistered =
      CGDisplayRegisterReconfigurationCallback(displayReconfigured, observation_.get()) ==
      kCGErrorSuccess;
}

}  // namespace lumora::macos
