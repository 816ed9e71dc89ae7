#include "platform/sim/SymbolGlyphs.h"

namespace lumora::sim {
namespace {

constexpr std::array<SymbolGlyph, 8> knownSymbols{{
    {"sun.max", {"\u263C", ""}, 1},                      // ☼
    {"sun.max.fill", {"\u2600", ""}, 1},                 // ☀
    {"moon.stars.fill", {"\u263E", "\u2726"}, 2},        // ☾✦
    {"moon.fill", {"\u263E", ""}, 1},                    // ☾
    {"gearshape.fill", {"\u2699", ""}, 1},               // ⚙
    {"arrow.triangle.2.circlepath", {"\u27F3", ""}, 1},  // ⟳
    {"arrow.counterclockwise", {"\u21BA", ""}, 1},       // ↺
    {"pause.circle", {"\u23F8", ""}, 1},                 // ⏸
}};

}  // namespace

std::optional<SymbolGlyph> symbolGlyph(std::string_view symbolName) {
  for (const SymbolGlyph& glyph : knownSymbols) {
    if (glyph.symbolName == symbolName) return glyph;
  }
  return std::nullopt;
}

std::string_view colorName(platform::NamedColor color) {
  switch (color) {
    case platform::NamedColor::cyan:
      return "cyanColor";
    case platform::NamedColor::label:
      return "labelColor";
    case platform::NamedColor::secondaryLabel:
      return "secondaryLabelColor";
    case platform::NamedColor::tertiaryLabel:
      return "tertiaryLabelColor";
    case platform::NamedColor::systemIndigo:
      return "systemIndigoColor";
    case platform::NamedColor::systemRed:
      return "systemRedColor";
  }
  return "labelColor";
}

std::string_view ansiColor(platform::NamedColor color) {
  switch (color) {
    case platform::NamedColor::cyan:
      return "36";
    case platform::NamedColor::label:
      return "39";
    case platform::NamedColor::secondaryLabel:
      return "90";
    case platform::NamedColor::tertiaryLabel:
      return "2";
    case platform::NamedColor::systemIndigo:
      return "38;5;63";
    case platform::NamedColor::systemRed:
      return "31";
  }
  return "39";
}

std::string renderSymbolGlyphs(const platform::SymbolImage& image, bool withColor) {
  const std::optional<SymbolGlyph> glyph = symbolGlyph(image.symbolName);
  if (!glyph) return "?";
  std::string text;
  const bool large =
      image.configuration && image.configuration->scale == platform::SymbolScale::large;
  for (std::size_t layer = 0; layer < glyph->layerCount; ++layer) {
    if (!withColor) {
      text += glyph->layers[layer];
      continue;
    }
    // A layer without a colour of its own takes the palette's last one, as symbols do.
    std::string parameters = large ? "1;" : "";
    if (image.configuration && image.configuration->palette.size() > 0) {
      const platform::Palette& palette = image.configuration->palette;
      parameters += ansiColor(palette[std::min(layer, palette.size() - 1)]);
    } else {
      parameters += ansiColor(platform::NamedColor::label);
    }
    text += "\x1b[" + parameters + "m" + std::string(glyph->layers[layer]) + "\x1b[0m";
  }
  return text;
}

std::string describeSymbolImage(const platform::SymbolImage& image) {
  std::string text = renderSymbolGlyphs(image, false) + " " + std::string(image.symbolName);
  if (!image.configuration) return text;
  text += " {";
  const platform::Palette& palette = image.configuration->palette;
  for (std::size_t i = 0; i < palette.size(); ++i) {
    if (i > 0) text += ", ";
    text += colorName(palette[i]);
  }
  text += "}";
  if (image.configuration->scale == platform::SymbolScale::large) text += " large";
  return text;
}

}  // namespace lumora::sim
