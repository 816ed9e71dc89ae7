#pragma once

#include <optional>
#include <string>

namespace lumora::platform {

// SMAppServiceStatus: what the system does with the login item. The user can change it in the
// system's settings at any time, so it is read whenever it is shown.
enum class LoginItemStatus { notRegistered = 0, enabled = 1, requiresApproval = 2, notFound = 3 };

// The application's login item (SMAppService.mainAppService).
class LoginItems {
 public:
  virtual ~LoginItems() = default;

  virtual LoginItemStatus status() = 0;
  // Each returns the error's description when the call fails, none when it succeeds.
  virtual std::optional<std::string> registerMainApp() = 0;
  virtual std::optional<std::string> unregisterMainApp() = 0;
  // Shows the user where login items are approved (SMAppService openSystemSettingsLoginItems).
  virtual void openLoginItemsSettings() = 0;
};

}  // namespace lumora::platform
