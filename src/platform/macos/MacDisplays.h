#pragma once

#include "platform/Displays.h"

namespace lumora::macos {

class MacDisplays final : public platform::Displays {
 public:
  platform::DisplayID mainDisplayID() override;
  std::optional<platform::Screen> mainScreen() override;
  void setTransferTable(platform::DisplayID display, std::span<const float> red,
                        std::span<const float> green, std::span<const float> blue) override;
  void restoreColorSyncSettings() override;
};

}  // namespace lumora::macos
