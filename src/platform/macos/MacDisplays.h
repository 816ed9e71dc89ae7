#pragma once

#include "platform/Displays.h"

namespace lumora::macos {

class MacDisplays final : public platform::Displays {
 public:
  platform::DisplayID mainDisplayID() override;
  std::optional<platform::DisplayID> builtInDisplayID() override;
  std::optional<platform::Screen> mainScreen() override;
  std::int32_t setTransferTable(platform::DisplayID display, std::span<const float> red,
                                std::span<const float> green, std::span<const float> blue) override;
  std::size_t readTransferTable(platform::DisplayID display, std::span<float> red,
                                std::span<float> green, std::span<float> blue) override;
  void restoreColorSyncSettings() override;
};

}  // namespace lumora::macos
