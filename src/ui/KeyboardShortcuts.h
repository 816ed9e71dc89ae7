#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Console.h"
#include "platform/HotKeys.h"
#include "platform/PreferenceKey.h"
#include "platform/UserDefaults.h"
#include "ui/RemoteCommand.h"

namespace lumora::ui {

// The global keyboard shortcuts, held while the user has them on. Each combination is a string
// default the user may change with `defaults write`; absent, or one that does not parse, means
// its default. Nothing is written here: the toggle's key is the menu's to write. Main thread.
class KeyboardShortcuts {
 public:
  // The "Keyboard Shortcuts" toggle; absent is off.
  static constexpr preferences::Key<bool> enabledKey{"keyboardShortcutsEnabled"};

  struct Shortcut {
    preferences::Key<std::string> key;
    std::string_view defaultText;
    RemoteCommand command;
  };
  static constexpr std::array<Shortcut, 4> shortcuts{{
      {{"shortcutBrighter"}, "ctrl+option+command+up", {.kind = RemoteCommand::Kind::xdrUp}},
      {{"shortcutDimmer"}, "ctrl+option+command+down", {.kind = RemoteCommand::Kind::xdrDown}},
      {{"shortcutToggleXDR"}, "ctrl+option+command+0", {.kind = RemoteCommand::Kind::xdrToggle}},
      {{"shortcutNextDeepBlacks"},
       "ctrl+option+command+d",
       {.kind = RemoteCommand::Kind::deepBlacksNext}},
  }};

  using Perform = std::function<void(const RemoteCommand& command)>;

  KeyboardShortcuts(platform::HotKeys& hotKeys, platform::UserDefaults& defaults,
                    platform::Console& console, Perform perform);
  KeyboardShortcuts(const KeyboardShortcuts&) = delete;
  KeyboardShortcuts& operator=(const KeyboardShortcuts&) = delete;

  // Holds the shortcuts while `on` and gives them back otherwise. Turning them on reads the
  // combinations afresh.
  void follow(bool on);
  bool isOn() const { return on_; }
  // How many of them another app holds, while they are on.
  std::size_t takenCount() const { return taken_; }

 private:
  void turnOn();
  platform::HotKey combinationOf(const Shortcut& shortcut);
  // Each problem is said once per run, however often the shortcuts are turned on.
  void sayOnce(const std::string& line);

  platform::HotKeys& hotKeys_;
  platform::UserDefaults& defaults_;
  platform::Console& console_;
  Perform perform_;
  std::vector<std::unique_ptr<platform::HotKeyRegistration>> registrations_;
  std::size_t taken_ = 0;
  bool on_ = false;
  std::set<std::string> said_;
};

}  // namespace lumora::ui
