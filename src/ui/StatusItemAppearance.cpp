#include "ui/StatusItemAppearance.h"

#include "display/Nits.h"

namespace lumora::ui {
namespace {

using platform::NamedColor;

constexpr platform::StaticText accessibilityDescription = "Lumora Virir";
// XDR paused: the brightness stepped aside, in the colour of things at rest.
constexpr platform::StaticText pausedSymbolName = "pause.circle";

StatusItemAppearance simpleForm(bool xdrOn, bool deepBlacksOn, bool paused) {
  StatusItemAppearance appearance;
  appearance.imageChange = StatusItemAppearance::ImageChange::remove;
  if (deepBlacksOn) {
    appearance.title = "\U0001F319";  // 🌙
    appearance.tint = NamedColor::systemIndigo;
  } else if (paused) {
    appearance.title = "\u23F8";  // ⏸
  } else if (xdrOn) {
    appearance.title = "\u25CF";  // ●
    appearance.tint = NamedColor::cyan;
  } else {
    appearance.title = "\u25CB";  // ○
  }
  return appearance;
}

StatusItemAppearance iconForm(const StatusInputs& inputs, bool xdrOn,
                              platform::SymbolImages& symbolImages) {
  platform::StaticText symbolName = "sun.max";
  platform::Palette palette{NamedColor::label};
  if (inputs.deepBlacksOn) {
    symbolName = "moon.stars.fill";
    palette = {NamedColor::systemIndigo, NamedColor::cyan};
  } else if (inputs.paused) {
    symbolName = pausedSymbolName;
    palette = {NamedColor::secondaryLabel};
  } else if (xdrOn) {
    symbolName = "sun.max.fill";
    palette = {NamedColor::cyan};
  }

  // The symbol's palette carries its colours; the tint belongs to the simple form only.
  StatusItemAppearance appearance;
  appearance.title = "";
  const std::optional<platform::SymbolImage> symbol =
      symbolImages.systemSymbolImage(symbolName, accessibilityDescription);
  if (!symbol) {
    appearance.imageChange = StatusItemAppearance::ImageChange::keep;
    return appearance;
  }
  platform::SymbolConfiguration configuration{.palette = palette, .scale = std::nullopt};
  if (inputs.liveNits >= nearMaximumNits || inputs.deepBlacksOn) {
    configuration.scale = platform::SymbolScale::large;
  }
  appearance.imageChange = StatusItemAppearance::ImageChange::set;
  appearance.image = symbolImages.imageWithSymbolConfiguration(*symbol, configuration);
  if (!appearance.image) appearance.image = symbol;
  return appearance;
}

}  // namespace

StatusItemAppearance statusItemAppearance(const StatusInputs& inputs,
                                          platform::SymbolImages& symbolImages) {
  const bool xdrOn = inputs.liveNits > sdrCeilingNits;
  if (inputs.simpleIcon) return simpleForm(xdrOn, inputs.deepBlacksOn, inputs.paused);
  return iconForm(inputs, xdrOn, symbolImages);
}

void applyStatusItemAppearance(const StatusItemAppearance& appearance,
                               platform::StatusButton& button) {
  // In the order of the forms: the simple one sets its title first, the icon form its image.
  switch (appearance.imageChange) {
    case StatusItemAppearance::ImageChange::keep:
      button.setTitle(appearance.title);
      break;
    case StatusItemAppearance::ImageChange::remove:
      button.setTitle(appearance.title);
      button.setImage(std::nullopt);
      break;
    case StatusItemAppearance::ImageChange::set:
      button.setImage(appearance.image);
      button.setTitle(appearance.title);
      break;
  }
  button.setContentTintColor(appearance.tint);
}

}  // namespace lumora::ui
