#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/SymbolImages.h"

namespace lumora::sim {

// How the simulated Mac draws a system symbol in a terminal: one glyph per palette layer.
struct SymbolGlyph {
  std::string_view symbolName;
  std::array<std::string_view, 2> layers;
  std::size_t layerCount;
};

// The symbols the simulated Mac knows; none for any other name.
std::optional<SymbolGlyph> symbolGlyph(std::string_view symbolName);

// The colour's name as AppKit spells it, as "cyanColor".
std::string_view colorName(platform::NamedColor color);

// The ANSI select-graphic-rendition parameters for the colour, as "36".
std::string_view ansiColor(platform::NamedColor color);

// The symbol's glyphs, each layer in its palette colour and bold at the large scale when
// `withColor`; plain glyphs otherwise.
std::string renderSymbolGlyphs(const platform::SymbolImage& image, bool withColor);

// A plain-text description, as "☀ sun.max.fill {cyanColor} large".
std::string describeSymbolImage(const platform::SymbolImage& image);

}  // namespace lumora::sim
