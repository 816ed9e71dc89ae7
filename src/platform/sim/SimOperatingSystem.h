#pragma once

#include <filesystem>
#include <string>

#include "platform/OperatingSystem.h"
#include "platform/sim/machine/SimDisplayState.h"

namespace lumora::sim {

// The release of macOS the simulated Mac runs and its model, as its displays' file names them;
// the program's path and the home folder of the process.
class SimOperatingSystem final : public platform::OperatingSystem {
 public:
  SimOperatingSystem(SimDisplayState& state, std::filesystem::path program)
      : state_(state), program_(std::move(program)) {}

  platform::OperatingSystemVersion version() override { return state_.systemVersion(); }
  std::string modelIdentifier() override { return state_.model(); }
  std::string applicationPath() override { return program_.string(); }
  std::string homeDirectory() override;

 private:
  SimDisplayState& state_;
  std::filesystem::path program_;
};

}  // namespace lumora::sim
