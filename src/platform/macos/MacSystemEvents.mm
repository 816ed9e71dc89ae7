#include "platform/macos/MacSystemEvents.h"

#import <AppKit/AppKit.h>
#import <dispatch/dispatch.h>

#include <atomic>
#include <utility>
#include <vector>

namespace lumora::macos {

struct MacSystemEvents::Observation {
  platform::SystemEventHandlers handlers;
  // Each observer with the centre it was added to.
  std::vector<std::pair<NSNotificationCenter *, id<NSObject>>> tokens;
  // A reconfiguration handed to the main queue and not yet handled: later callbacks of the same
  // burst add nothing.
  std::atomic<bool> reconfigurationQueued{false};
};

struct MacSystemEvents::CallbackContext {
  std::weak_ptr<Observation> observation;
};

namespace {

// What loginwindow posts when the screen is locked and unlocked.
NSNotificationName const screenLockedNotification = @"com.apple.screenIsLocked";
NSNotificationName const screenUnlockedNotification = @"com.apple.screenIsUnlocked";

void post(const std::function<void()> &handler) {
  if (handler) handler();
}

// Called for each display before and after a reconfiguration, on any thread. The context is
// unregistered before it is freed; what it hands to the main queue holds the observation only
// weakly, so work queued before the owner went finds nothing.
void displayReconfigured(CGDirectDisplayID, CGDisplayChangeSummaryFlags flags, void *userInfo) {
  if ((flags & kCGDisplayBeginConfigurationFlag) != 0) return;  // not finished yet
  const std::weak_ptr<MacSystemEvents::Observation> weak =
      static_cast<MacSystemEvents::CallbackContext *>(userInfo)->observation;
  const std::shared_ptr<MacSystemEvents::Observation> observation = weak.lock();
  if (!observation || observation->reconfigurationQueued.exchange(true)) return;
  dispatch_async(dispatch_get_main_queue(), ^{
    if (const auto alive = weak.lock()) {
      alive->reconfigurationQueued = false;
      post(alive->handlers.displaysReconfigured);
    }
  });
}

}  // namespace

MacSystemEvents::MacSystemEvents(DisplayReconfigurationCalls calls)
    : calls_(calls), observation_(std::make_shared<Observation>()) {}

MacSystemEvents::~MacSystemEvents() {
  for (const auto &[center, token] : observation_->tokens) [center removeObserver:token];
  // Before the context goes: Core Graphics must not call back with it afterwards.
  if (context_) calls_.removeCallback(displayReconfigured, context_.get());
}

void MacSystemEvents::observe(platform::SystemEventHandlers handlers) {
  observation_->handlers = std::move(handlers);
  if (!observation_->tokens.empty()) return;

  using Handlers = platform::SystemEventHandlers;
  const std::weak_ptr<Observation> weak = observation_;
  const auto observe = [&](NSNotificationCenter *center, NSNotificationName name,
                           std::function<void()> Handlers::*handler) {
    id<NSObject> token = [center addObserverForName:name
                                             object:nil
                                              queue:[NSOperationQueue mainQueue]
                                         usingBlock:^(NSNotification *) {
                                           if (const auto alive = weak.lock()) {
                                             post(alive->handlers.*handler);
                                           }
                                         }];
    observation_->tokens.emplace_back(center, token);
  };
  NSNotificationCenter *workspace = NSWorkspace.sharedWorkspace.notificationCenter;
  // Will-sleep waits for its observers before the Mac sleeps: the handler does little.
  observe(workspace, NSWorkspaceWillSleepNotification, &Handlers::willSleep);
  observe(workspace, NSWorkspaceDidWakeNotification, &Handlers::didWake);
  observe(workspace, NSWorkspaceScreensDidSleepNotification, &Handlers::screensDidSleep);
  observe(workspace, NSWorkspaceScreensDidWakeNotification, &Handlers::screensDidWake);
  observe(workspace, NSWorkspaceActiveSpaceDidChangeNotification, &Handlers::activeSpaceChanged);
  // The lock screen is told to every process through the distributed centre.
  NSDistributedNotificationCenter *distributed = NSDistributedNotificationCenter.defaultCenter;
  observe(distributed, screenLockedNotification, &Handlers::screenLocked);
  observe(distributed, screenUnlockedNotification, &Handlers::screenUnlocked);

  auto context = std::make_unique<CallbackContext>(CallbackContext{observation_});
  if (calls_.registerCallback(displayReconfigured, context.get()) == kCGErrorSuccess) {
    context_ = std::move(context);
  }
}

}  // namespace lumora::macos
