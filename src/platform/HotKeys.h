#pragma once

#include <functional>
#include <memory>
#include <string>

namespace lumora::platform {

// A key combination for the whole system: modifiers and one key.
struct HotKey {
  bool control = false;
  bool option = false;
  bool command = false;
  bool shift = false;
  // Lowercase: a letter, a digit, "up", "down", "left", "right", or "f1" to "f12".
  std::string key{};

  friend bool operator==(const HotKey&, const HotKey&) = default;
};

// The combination as the app's preferences write it, the modifiers always in this order:
// "ctrl+option+command+up".
inline std::string hotKeyText(const HotKey& hotKey) {
  std::string text;
  if (hotKey.control) text += "ctrl+";
  if (hotKey.option) text += "option+";
  if (hotKey.command) text += "command+";
  if (hotKey.shift) text += "shift+";
  return text + hotKey.key;
}

// A combination held for the app; destroying it gives the combination back.
class HotKeyRegistration {
 public:
  virtual ~HotKeyRegistration() = default;
};

struct HotKeyOutcome {
  std::unique_ptr<HotKeyRegistration> registration{};  // none when the combination is not held
  bool taken = false;                                  // because another app holds it
  std::string error{};                                 // otherwise, why not
};

// Global keyboard shortcuts (Carbon's RegisterEventHotKey), which need no permission from the
// user. Main thread.
class HotKeys {
 public:
  virtual ~HotKeys() = default;

  // While the registration lives, pressing the combination in any app runs `pressed` on the main
  // thread.
  virtual HotKeyOutcome registerHotKey(const HotKey& hotKey, std::function<void()> pressed) = 0;
};

}  // namespace lumora::platform
