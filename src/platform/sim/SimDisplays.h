#pragma once

#include "platform/Displays.h"
#include "platform/sim/machine/SimDisplayState.h"

namespace lumora::sim {

class SimDisplays final : public platform::Displays {
 public:
  explicit SimDisplays(SimDisplayState& state) : state_(state) {}

  platform::DisplayID mainDisplayID() override { return state_.mainDisplayID(); }
  std::optional<platform::DisplayID> builtInDisplayID() override {
    return state_.builtInDisplayID();
  }
  std::optional<platform::Screen> mainScreen() override { return state_.mainScreen(); }
  std::vector<platform::DisplayID> onlineDisplays() override {
    std::vector<platform::DisplayID> online;
    for (const SimDisplayState::DisplaySnapshot& display : state_.currentSnapshot()->displays)
      online.push_back(display.id);
    return online;
  }
  std::int32_t setTransferTable(platform::DisplayID display, std::span<const float> red,
                                std::span<const float> green,
                                std::span<const float> blue) override {
    return state_.setTransferTables(display, red, green, blue);
  }
  std::size_t readTransferTable(platform::DisplayID display, std::span<float> red,
                                std::span<float> green, std::span<float> blue) override {
    return state_.readTransferTables(display, red, green, blue);
  }
  void restoreColorSyncSettings() override { state_.restoreCalibration(); }

 private:
  SimDisplayState& state_;
};

}  // namespace lumora::sim
