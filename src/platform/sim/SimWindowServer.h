#pragma once

#include <chrono>
#include <functional>
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

  // Runs work on the main run loop after a delay.
  using Later = std::function<void(std::chrono::duration<double>, std::function<void()>)>;
  // How soon a release that removes raised presets removes one.
  static constexpr std::chrono::duration<double> removalDelay{0.6};

  // Without `later`, raised presets are never removed, whatever the release.
  explicit SimWindowServer(SimDisplayState& state, Later later = {})
      : state_(state), later_(std::move(later)) {}

  platform::OpenedPresetFunctions openPresetFunctions(
      std::string_view libraryPath, const platform::PresetFunctionNames& names) override;

 private:
  SimDisplayState& state_;
  Later later_;
};

}  // namespace lumora::sim
