#pragma once

#include "platform/OperatingSystem.h"

namespace lumora::macos {

class MacOperatingSystem final : public platform::OperatingSystem {
 public:
  platform::OperatingSystemVersion version() override;
  std::string modelIdentifier() override;
  std::string applicationPath() override;
  std::string homeDirectory() override;
};

}  // namespace lumora::macos
