#include "ui/KeyboardShortcuts.h"

#include <optional>
#include <utility>

#include "ui/HotKeyParsing.h"
#include "ui/OutsideText.h"

namespace lumora::ui {

KeyboardShortcuts::KeyboardShortcuts(platform::HotKeys& hotKeys, platform::UserDefaults& defaults,
                                     platform::Console& console, Perform perform)
    : hotKeys_(hotKeys), defaults_(defaults), console_(console), perform_(std::move(perform)) {}

void KeyboardShortcuts::follow(bool on) {
  if (on == on_) return;
  on_ = on;
  registrations_.clear();
  taken_ = 0;
  if (on) turnOn();
}

void KeyboardShortcuts::sayOnce(const std::string& line) {
  if (said_.insert(line).second) console_.printErrorLine(line);
}

platform::HotKey KeyboardShortcuts::combinationOf(const Shortcut& shortcut) {
  const ParsedHotKey fallback = parseHotKey(shortcut.defaultText);
  const std::optional<std::string> stored = preferences::read(defaults_, shortcut.key);
  if (!stored) return *fallback.hotKey;
  const ParsedHotKey parsed = parseHotKey(*stored);
  if (parsed.hotKey) return *parsed.hotKey;
  sayOnce("Lumora Virir: " + std::string(shortcut.key.name) + " " + quoted(*stored) +
          " is not a shortcut (" + parsed.refusal + "); " + std::string(shortcut.defaultText) +
          " is used instead.");
  return *fallback.hotKey;
}

void KeyboardShortcuts::turnOn() {
  std::vector<std::pair<platform::HotKey, std::string_view>> held;
  for (const Shortcut& shortcut : shortcuts) {
    const platform::HotKey hotKey = combinationOf(shortcut);
    const std::string text = platform::hotKeyText(hotKey);
    bool twice = false;
    for (const auto& [other, name] : held) {
      if (other != hotKey) continue;
      twice = true;
      sayOnce("Lumora Virir: " + std::string(shortcut.key.name) + " is " + text + ", as " +
              std::string(name) + " is; it is left out.");
    }
    if (twice) continue;
    held.emplace_back(hotKey, shortcut.key.name);
    const RemoteCommand command = shortcut.command;
    platform::HotKeyOutcome outcome =
        hotKeys_.registerHotKey(hotKey, [perform = perform_, command] { perform(command); });
    if (outcome.registration) {
      registrations_.push_back(std::move(outcome.registration));
    } else if (outcome.taken) {
      ++taken_;
      sayOnce("Lumora Virir: " + text + " (" + std::string(shortcut.key.name) +
              ") is held by another app; the other shortcuts work.");
    } else {
      sayOnce("Lumora Virir: " + text + " (" + std::string(shortcut.key.name) +
              ") could not be registered: " + outcome.error + ".");
    }
  }
}

}  // namespace lumora::ui
