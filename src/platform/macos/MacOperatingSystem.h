#pragma once

#include "platform/OperatingSystem.h"

namespace lumora::macos {

class MacOperatingSystem final : public platform::OperatingSystem {
 public:
  platform::OperatingSystemVersion version() override;
};

}  // namespace lumora::macos
