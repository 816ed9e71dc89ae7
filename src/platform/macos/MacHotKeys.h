#pragma once

#import <Carbon/Carbon.h>

#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include "platform/HotKeys.h"

namespace lumora::macos {

// Global shortcuts through Carbon's RegisterEventHotKey, which needs no Accessibility permission.
// A combination another app holds is refused (kEventHotKeyExclusive) and told as taken. Key
// names are the keys' places on an ANSI keyboard.
class MacHotKeys final : public platform::HotKeys {
 public:
  MacHotKeys();
  ~MacHotKeys() override;
  MacHotKeys(const MacHotKeys&) = delete;
  MacHotKeys& operator=(const MacHotKeys&) = delete;

  platform::HotKeyOutcome registerHotKey(const platform::HotKey& hotKey,
                                         std::function<void()> pressed) override;

  // The virtual key code of a key name; none for a name that has none.
  static std::optional<UInt32> keyCode(std::string_view key);
  static UInt32 modifiers(const platform::HotKey& hotKey);

  // What is pressed, by the identifier each registration was given; the event handler reads it.
  struct Table;

 private:
  std::shared_ptr<Table> table_;
  EventHandlerRef handler_ = nullptr;
};

}  // namespace lumora::macos
