#pragma once

#include <optional>
#include <string>

namespace lumora::platform {

// The application's login item (SMAppService.mainAppService).
class LoginItems {
 public:
  virtual ~LoginItems() = default;

  // Each returns the error's description when the call fails, none when it succeeds.
  virtual std::optional<std::string> registerMainApp() = 0;
  virtual std::optional<std::string> unregisterMainApp() = 0;
};

}  // namespace lumora::platform
