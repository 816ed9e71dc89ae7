#include "platform/sim/SimSymbolImages.h"

#include "platform/sim/SymbolGlyphs.h"

namespace lumora::sim {

std::optional<platform::SymbolImage> SimSymbolImages::systemSymbolImage(
    platform::StaticText symbolName, platform::StaticText accessibilityDescription) {
  if (!symbolGlyph(symbolName)) return std::nullopt;
  return platform::SymbolImage{symbolName, accessibilityDescription, std::nullopt};
}

std::optional<platform::SymbolImage> SimSymbolImages::imageWithSymbolConfiguration(
    const platform::SymbolImage& image, const platform::SymbolConfiguration& configuration) {
  if (!symbolGlyph(image.symbolName)) return std::nullopt;
  platform::SymbolImage configured = image;
  configured.configuration = configuration;
  return configured;
}

}  // namespace lumora::sim
