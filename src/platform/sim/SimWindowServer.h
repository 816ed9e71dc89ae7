#pragma once

#include <string_view>

#include "platform/WindowServer.h"
#include "platform/sim/machine/SimDisplayState.h"

namespace lumora::sim {

// The simulated window server's private framework. It is installed at the same path as on a Mac
// and exports the same four preset functions; any other path or name is not found.
class SimWindowServer final : public platform::WindowServer {
 public:
  static constexpr std::string_view installedPath =
      "/System/Library/PrivateFrameworks/SkyLight.framework/SkyLight";

  explicit SimWindowServer(SimDisplayState& state) : state_(state) {}

  platform::OpenedPresetFunctions openPresetFunctions(
      std::string_view libraryPath, const platform::PresetFunctionNames& names) override;

 private:
  SimDisplayState& state_;
};

}  // namespace lumora::sim
