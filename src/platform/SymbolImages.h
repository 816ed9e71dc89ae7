#pragma once

#include <array>
#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string_view>

#include "platform/StaticText.h"

namespace lumora::platform {

// The platform's named colours that the user interface uses (NSColor class properties).
enum class NamedColor {
  cyan,            // cyanColor
  label,           // labelColor
  secondaryLabel,  // secondaryLabelColor
  tertiaryLabel,   // tertiaryLabelColor
  systemIndigo,    // systemIndigoColor
  systemRed,       // systemRedColor
};

// NSImageSymbolScale.
enum class SymbolScale { small = 1, medium = 2, large = 3 };

// Up to three colours in order (NSImageSymbolConfiguration configurationWithPaletteColors:).
class Palette {
 public:
  static constexpr std::size_t capacity = 3;

  constexpr Palette() = default;
  constexpr Palette(std::initializer_list<NamedColor> colors) {
    for (NamedColor color : colors) {
      if (count_ < capacity) colors_[count_++] = color;
    }
  }

  constexpr std::size_t size() const { return count_; }
  constexpr NamedColor operator[](std::size_t index) const { return colors_[index]; }
  constexpr const NamedColor* begin() const { return colors_.data(); }
  constexpr const NamedColor* end() const { return colors_.data() + count_; }

  friend constexpr bool operator==(const Palette& a, const Palette& b) {
    if (a.count_ != b.count_) return false;
    for (std::size_t i = 0; i < a.count_; ++i) {
      if (a.colors_[i] != b.colors_[i]) return false;
    }
    return true;
  }

 private:
  std::array<NamedColor, capacity> colors_{};
  std::size_t count_ = 0;
};

// A symbol configuration: a palette, optionally combined with a scale (the palette configuration
// applying a scale configuration).
struct SymbolConfiguration {
  Palette palette;
  std::optional<SymbolScale> scale;

  friend constexpr bool operator==(const SymbolConfiguration&,
                                   const SymbolConfiguration&) = default;
};

// A system symbol image (SF Symbols), with or without a configuration applied.
struct SymbolImage {
  StaticText symbolName;
  StaticText accessibilityDescription;
  std::optional<SymbolConfiguration> configuration;

  friend constexpr bool operator==(const SymbolImage&, const SymbolImage&) = default;
};

// Looks up system symbol images the way NSImage does.
class SymbolImages {
 public:
  virtual ~SymbolImages() = default;

  // imageWithSystemSymbolName:accessibilityDescription:, none when the name is unknown.
  virtual std::optional<SymbolImage> systemSymbolImage(StaticText symbolName,
                                                       StaticText accessibilityDescription) = 0;

  // imageWithSymbolConfiguration:, none when the configuration cannot be applied.
  virtual std::optional<SymbolImage> imageWithSymbolConfiguration(
      const SymbolImage& image, const SymbolConfiguration& configuration) = 0;
};

}  // namespace lumora::platform
