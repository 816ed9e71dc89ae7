#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "display/SharedControllers.h"
#include "platform/Console.h"
#include "platform/OpenedURLs.h"
#include "ui/MenuActions.h"
#include "ui/RemoteCommand.h"

namespace lumora::ui {

// Carries out the commands that come without the menu (URLs, keyboard shortcuts) through the
// menu's own actions, so that each does exactly what its entry does. Main thread.
class RemoteControl {
 public:
  RemoteControl(MenuActions& actions, SharedControllers& controllers, platform::Console& console);

  // What was done, for whoever asked.
  std::string perform(const RemoteCommand& command);
  // A URL of the app's scheme. A refusal changes nothing and is said on standard error, with no
  // alert: a script should not pop dialogs.
  platform::URLAnswer open(std::string_view url);

  // The level of the five in the menu after (or before) the one the display is at; none past
  // the ends. A level within the menu's mark of one counts as that one.
  static std::optional<std::int64_t> steppedLevel(double liveNits, bool up);

 private:
  std::string xdrState();
  std::string deepBlacksState();

  MenuActions& actions_;
  SharedControllers& controllers_;
  platform::Console& console_;
};

}  // namespace lumora::ui
