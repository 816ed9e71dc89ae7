#include "MacRunLoop.h"

#import <AppKit/AppKit.h>
#import <dispatch/dispatch.h>

#include <utility>

#include "MacStrings.h"

namespace lumora::macos {
namespace {

class MacTimer final : public platform::Timer {
 public:
  explicit MacTimer(NSTimer *timer) : timer_(timer) {}
  void invalidate() override { [timer_ invalidate]; }
  bool isValid() const override { return [timer_ isValid] == YES; }

 private:
  NSTimer *timer_;
};

}  // namespace

std::shared_ptr<platform::Timer> MacTimers::scheduledTimer(std::chrono::duration<double> interval,
                                                           bool repeats,
                                                           std::function<void()> block) {
  auto shared = std::make_shared<std::function<void()>>(std::move(block));
  NSTimer *timer = [NSTimer scheduledTimerWithTimeInterval:interval.count()
                                                   repeats:repeats ? YES : NO
                                                     block:^(NSTimer *) {
                                                       (*shared)();
                                                     }];
  // Lets the system fold the wake-up in with others; a refresh a little late is unnoticeable.
  timer.tolerance = interval.count() / 10.0;
  return std::make_shared<MacTimer>(timer);
}

void MacMainQueue::async(std::function<void()> work) {
  auto shared = std::make_shared<std::function<void()>>(std::move(work));
  dispatch_async(dispatch_get_main_queue(), ^{
    (*shared)();
  });
}

int MacAlerts::runModal(const platform::Alert &alert) {
  NSAlert *native = [[NSAlert alloc] init];
  native.messageText = toNSString(alert.messageText);
  native.informativeText = toNSString(alert.informativeText);
  native.alertStyle = static_cast<NSAlertStyle>(alert.style);
  for (const std::string &title : alert.buttonTitles) [native addButtonWithTitle:toNSString(title)];
  if (alert.floatsAboveOtherApplications) {
    // runModal does not bring a menu-bar app forward; a floating window is seen anyway.
    NSWindow *window = native.window;
    window.level = NSFloatingWindowLevel;
  }
  return static_cast<int>([native runModal]);
}

}  // namespace lumora::macos
