#include "platform/macos/MacSystemEvents.h"

#import <AppKit/AppKit.h>
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
};

struct MacSystemEvents::CallbackContext {
  std::weak_ptr<Observation> observation;
};

namespace {

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
  NSNotificationCenter *center = NSWorkspace.sharedWorkspace.notificationCenter;
  for (id<NSObject> token : observation_->tokens) [center removeObserver:token];
  // Before the context goes: Core Graphics must not call back with it afterwards.
  if (context_) calls_.removeCallback(displayReconfigured, context_.get());
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

  auto context = std::make_unique<CallbackContext>(CallbackContext{observation_});
  if (calls_.registerCallback(displayReconfigured, context.get()) == kCGErrorSuccess) {
    context_ = std::move(context);
  }
}

}  // namespace lumora::macos
