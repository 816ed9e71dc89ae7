#include "ui/RemoteControl.h"

#include <cstdint>

#include "display/Nits.h"
#include "ui/OutsideText.h"
#include "ui/StatusMenu.h"

namespace lumora::ui {
namespace {

using Kind = RemoteCommand::Kind;
using Level = DeepBlacksController::Level;

platform::MenuItemSender tagged(std::int64_t tag) {
  return platform::MenuItemSender{.tag = tag};
}

Level levelAfter(Level level) {
  const auto& levels = DeepBlacksController::allCases;
  for (std::size_t i = 0; i < levels.size(); ++i) {
    if (levels[i] == level) return levels[(i + 1) % levels.size()];
  }
  return Level::subtle;
}

}  // namespace

RemoteControl::RemoteControl(MenuActions& actions, SharedControllers& controllers,
                             platform::Console& console)
    : actions_(actions), controllers_(controllers), console_(console) {}

std::optional<std::int64_t> RemoteControl::steppedLevel(double liveNits, bool up) {
  if (up) {
    for (const BrightnessLevel& level : brightnessLevels) {
      if (level.nits > liveNits + levelMarkTolerance) return level.tag;
    }
  } else {
    for (auto level = brightnessLevels.rbegin(); level != brightnessLevels.rend(); ++level) {
      if (level->nits < liveNits - levelMarkTolerance) return level->tag;
    }
  }
  return std::nullopt;
}

std::string RemoteControl::xdrState() {
  const double nits = controllers_.xdr().currentNits();
  return nits > sdrCeilingNits ? "XDR on, " + nitsText(nits) : "XDR off";
}

std::string RemoteControl::deepBlacksState() {
  const DeepBlacksController& deepBlacks = controllers_.deepBlacks();
  return "Deep Blacks " + std::string(deepBlacksLevelName(
                              deepBlacks.isEnabled() ? deepBlacks.currentLevel() : Level::off));
}

std::string RemoteControl::perform(const RemoteCommand& command) {
  switch (command.kind) {
    case Kind::xdrOn:
      // The switch would turn it off.
      if (controllers_.xdr().currentNits() > sdrCeilingNits) return xdrState() + " already";
      actions_.toggleXDR();
      return xdrState();
    case Kind::xdrOff:
      actions_.setNits(tagged(static_cast<std::int64_t>(sdrCeilingNits)));
      return xdrState();
    case Kind::xdrToggle:
      actions_.toggleXDR();
      return xdrState();
    case Kind::xdrLevel:
      actions_.setNits(tagged(command.nits));
      return xdrState();
    case Kind::xdrUp:
    case Kind::xdrDown: {
      const bool up = command.kind == Kind::xdrUp;
      const std::optional<std::int64_t> next = steppedLevel(controllers_.xdr().currentNits(), up);
      if (!next) return xdrState() + (up ? ", the highest level" : ", the lowest level");
      actions_.setNits(tagged(*next));
      return xdrState();
    }
    case Kind::deepBlacks:
      actions_.setDeepBlacksLevel(tagged(DeepBlacksController::rawValue(command.level)));
      return deepBlacksState();
    case Kind::deepBlacksNext:
      actions_.setDeepBlacksLevel(tagged(
          DeepBlacksController::rawValue(levelAfter(controllers_.deepBlacks().currentLevel()))));
      return deepBlacksState();
  }
  return {};
}

platform::URLAnswer RemoteControl::open(std::string_view url) {
  const ParsedCommand parsed = parseCommandURL(url);
  if (!parsed.command) {
    console_.printErrorLine("Lumora Virir: refused " + printable(url) + ": " + parsed.refusal);
    return platform::URLAnswer{.done = false, .text = parsed.refusal};
  }
  return platform::URLAnswer{.done = true, .text = perform(*parsed.command)};
}

}  // namespace lumora::ui
