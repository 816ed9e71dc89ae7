#pragma once

#include "platform/OperatingSystem.h"

namespace lumora::testing {

class FakeOperatingSystem final : public platform::OperatingSystem {
 public:
  platform::OperatingSystemVersion version() override { return release; }

  // A release that still takes raised presets, unless a test says otherwise.
  platform::OperatingSystemVersion release{15, 5, 0};
};

}  // namespace lumora::testing
