#include "platform/macos/MacActivities.h"

#import <Foundation/Foundation.h>

#include "platform/macos/MacStrings.h"

namespace lumora::macos {
namespace {

class MacActivity final : public platform::Activity {
 public:
  explicit MacActivity(id<NSObject> token) : token_(token) {}
  MacActivity(const MacActivity &) = delete;
  MacActivity &operator=(const MacActivity &) = delete;
  ~MacActivity() override { [NSProcessInfo.processInfo endActivity:token_]; }

 private:
  id<NSObject> token_;
};

}  // namespace

std::unique_ptr<platform::Activity> MacActivities::begin(std::string_view reason) {
  // The token is the activity; it has to be handed back to end it.
  id<NSObject> token = [NSProcessInfo.processInfo beginActivityWithOptions:NSActivityUserInitiated
                                                                    reason:toNSString(reason)];
  return std::make_unique<MacActivity>(token);
}

}  // namespace lumora::macos
