#pragma once

#include <optional>
#include <set>
#include <string>

#include "platform/SymbolImages.h"

namespace lumora::testing {

class FakeSymbolImages final : public platform::SymbolImages {
 public:
  std::optional<platform::SymbolImage> systemSymbolImage(
      platform::StaticText symbolName, platform::StaticText accessibilityDescription) override;
  std::optional<platform::SymbolImage> imageWithSymbolConfiguration(
      const platform::SymbolImage& image,
      const platform::SymbolConfiguration& configuration) override;

  std::set<std::string, std::less<>> unknownSymbols;
  bool configurationFails = false;
};

}  // namespace lumora::testing
