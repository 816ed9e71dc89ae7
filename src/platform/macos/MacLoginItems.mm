#include "platform/macos/MacLoginItems.h"

#include "platform/macos/MacStrings.h"

namespace lumora::macos {
namespace {

std::optional<std::string> describe(BOOL succeeded, NSError *error) {
  if (succeeded) return std::nullopt;
  return error != nil ? fromNSString(error.localizedDescription) : std::string("unknown error");
}

platform::LoginItemStatus statusOf(SMAppServiceStatus status) {
  switch (status) {
    case SMAppServiceStatusNotRegistered:
      return platform::LoginItemStatus::notRegistered;
    case SMAppServiceStatusEnabled:
      return platform::LoginItemStatus::enabled;
    case SMAppServiceStatusRequiresApproval:
      return platform::LoginItemStatus::requiresApproval;
    case SMAppServiceStatusNotFound:
      return platform::LoginItemStatus::notFound;
  }
  return platform::LoginItemStatus::notFound;
}

}  // namespace

// SMAppService answers every message of the protocol, without declaring it.
MacLoginItems::MacLoginItems()
    : service_(static_cast<id<LMVLoginItemService>>(SMAppService.mainAppService)) {}

platform::LoginItemStatus MacLoginItems::status() { return statusOf(service_.status); }

std::optional<std::string> MacLoginItems::registerMainApp() {
  NSError *error = nil;
  const BOOL succeeded = [service_ registerAndReturnError:&error];
  return describe(succeeded, error);
}

std::optional<std::string> MacLoginItems::unregisterMainApp() {
  NSError *error = nil;
  const BOOL succeeded = [service_ unregisterAndReturnError:&error];
  return describe(succeeded, error);
}

void MacLoginItems::openLoginItemsSettings() { [SMAppService openSystemSettingsLoginItems]; }

}  // namespace lumora::macos
