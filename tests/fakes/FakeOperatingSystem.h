#pragma once

#include "platform/OperatingSystem.h"

namespace lumora::testing {

class FakeOperatingSystem final : public platform::OperatingSystem {
 public:
  platform::OperatingSystemVersion version() override { return release; }
  std::string modelIdentifier() override { return model; }
  std::string applicationPath() override { return application; }
  std::string homeDirectory() override { return home; }

  // A release that still takes raised presets, unless a test says otherwise.
  platform::OperatingSystemVersion release{15, 5, 0};
  std::string model = "Mac15,7";
  std::string application = "/Users/ada/Applications/Lumora Virir.app";
  std::string home = "/Users/ada";
};

}  // namespace lumora::testing
