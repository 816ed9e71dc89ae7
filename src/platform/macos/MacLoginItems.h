#pragma once

#include "platform/LoginItems.h"

namespace lumora::macos {

// SMAppService.mainAppService.
class MacLoginItems final : public platform::LoginItems {
 public:
  std::optional<std::string> registerMainApp() override;
  std::optional<std::string> unregisterMainApp() override;
};

}  // namespace lumora::macos
