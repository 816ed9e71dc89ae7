#pragma once

#import <AppKit/AppKit.h>

#include "platform/SymbolImages.h"

namespace lumora::macos {

NSColor* makeColor(platform::NamedColor color);

// The system symbol image the value describes, with its configuration applied and drawn in its
// own colours rather than as a template; nil when the symbol does not exist.
NSImage* makeSymbolImage(const platform::SymbolImage& image);

class MacSymbolImages final : public platform::SymbolImages {
 public:
  std::optional<platform::SymbolImage> systemSymbolImage(
      platform::StaticText symbolName, platform::StaticText accessibilityDescription) override;
  std::optional<platform::SymbolImage> imageWithSymbolConfiguration(
      const platform::SymbolImage& image,
      const platform::SymbolConfiguration& configuration) override;
};

}  // namespace lumora::macos
