#include "fakes/FakeSymbolImages.h"

namespace lumora::testing {

std::optional<platform::SymbolImage> FakeSymbolImages::systemSymbolImage(
    platform::StaticText symbolName, platform::StaticText accessibilityDescription) {
  if (unknownSymbols.contains(symbolName.view())) return std::nullopt;
  return platform::SymbolImage{symbolName, accessibilityDescription, std::nullopt};
}

std::optional<platform::SymbolImage> FakeSymbolImages::imageWithSymbolConfiguration(
    const platform::SymbolImage& image, const platform::SymbolConfiguration& configuration) {
  if (configurationFails) return std::nullopt;
  platform::SymbolImage configured = image;
  configured.configuration = configuration;
  return configured;
}

}  // namespace lumora::testing
