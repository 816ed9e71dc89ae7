#include "platform/macos/MacLoginItems.h"

#import <Foundation/Foundation.h>
#import <ServiceManagement/ServiceManagement.h>

#include "platform/macos/MacStrings.h"

namespace lumora::macos {
namespace {

std::optional<std::string> describe(BOOL succeeded, NSError *error) {
  if (succeeded) return std::nullopt;
  return error != nil ? fromNSString(error.localizedDescription) : std::string("unknown error");
}

}  // namespace

std::optional<std::string> MacLoginItems::registerMainApp() {
  NSError *error = nil;
  const BOOL succeeded = [SMAppService.mainAppService registerAndReturnError:&error];
  return describe(succeeded, error);
}

std::optional<std::string> MacLoginItems::unregisterMainApp() {
  NSError *error = nil;
  const BOOL succeeded = [SMAppService.mainAppService unregisterAndReturnError:&error];
  return describe(succeeded, error);
}

}  // namespace lumora::macos
