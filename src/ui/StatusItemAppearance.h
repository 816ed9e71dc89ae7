#pragma once

#include <optional>
#include <string_view>

#include "platform/StatusBar.h"
#include "platform/SymbolImages.h"

namespace lumora::ui {

// What the status item's appearance is computed from, each read once per update.
struct StatusInputs {
  double liveNits = 0.0;
  bool deepBlacksOn = false;
  bool simpleIcon = false;
  // XDR stepped aside for battery or heat.
  bool paused = false;
};

// At or above this level the sun is drawn large.
inline constexpr double nearMaximumNits = 1550.0;

// The status button's appearance as a value: applying it sets the title, the image (or keeps the
// one shown when the wanted symbol does not exist) and the tint.
struct StatusItemAppearance {
  enum class ImageChange { keep, remove, set };

  std::string_view title;  // always one of this file's literals
  ImageChange imageChange = ImageChange::remove;
  std::optional<platform::SymbolImage> image;  // with ImageChange::set
  std::optional<platform::NamedColor> tint;    // none clears it

  friend bool operator==(const StatusItemAppearance&, const StatusItemAppearance&) = default;
};

StatusItemAppearance statusItemAppearance(const StatusInputs& inputs,
                                          platform::SymbolImages& symbolImages);

void applyStatusItemAppearance(const StatusItemAppearance& appearance,
                               platform::StatusButton& button);

}  // namespace lumora::ui
