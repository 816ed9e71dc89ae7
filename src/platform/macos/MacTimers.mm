#include "platform/macos/MacTimers.h"

#import <Foundation/Foundation.h>

#include <memory>
#include <utility>

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

}  // namespace lumora::macos
