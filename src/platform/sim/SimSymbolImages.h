#pragma once

#include "platform/SymbolImages.h"

namespace lumora::sim {

// System symbols of the simulated Mac: the ones it can draw exist, others do not.
class SimSymbolImages final : public platform::SymbolImages {
 public:
  std::optional<platform::SymbolImage> systemSymbolImage(
      platform::StaticText symbolName, platform::StaticText accessibilityDescription) override;
  std::optional<platform::SymbolImage> imageWithSymbolConfiguration(
      const platform::SymbolImage& image,
      const platform::SymbolConfiguration& configuration) override;
};

}  // namespace lumora::sim
