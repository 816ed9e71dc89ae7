#include "platform/macos/MacHotKeys.h"

#include <array>
#include <map>
#include <string>
#include <utility>

namespace lumora::macos {

struct MacHotKeys::Table {
  std::map<UInt32, std::function<void()>> pressed;
  UInt32 lastID = 0;
};

namespace {

// The app's own signature in every hot key's identifier: 'LMVR'.
constexpr OSType signature = 0x4C4D5652;

constexpr std::array<std::pair<std::string_view, UInt32>, 52> keyCodes{{
    {"a", kVK_ANSI_A},       {"b", kVK_ANSI_B},
    {"c", kVK_ANSI_C},       {"d", kVK_ANSI_D},
    {"e", kVK_ANSI_E},       {"f", kVK_ANSI_F},
    {"g", kVK_ANSI_G},       {"h", kVK_ANSI_H},
    {"i", kVK_ANSI_I},       {"j", kVK_ANSI_J},
    {"k", kVK_ANSI_K},       {"l", kVK_ANSI_L},
    {"m", kVK_ANSI_M},       {"n", kVK_ANSI_N},
    {"o", kVK_ANSI_O},       {"p", kVK_ANSI_P},
    {"q", kVK_ANSI_Q},       {"r", kVK_ANSI_R},
    {"s", kVK_ANSI_S},       {"t", kVK_ANSI_T},
    {"u", kVK_ANSI_U},       {"v", kVK_ANSI_V},
    {"w", kVK_ANSI_W},       {"x", kVK_ANSI_X},
    {"y", kVK_ANSI_Y},       {"z", kVK_ANSI_Z},
    {"0", kVK_ANSI_0},       {"1", kVK_ANSI_1},
    {"2", kVK_ANSI_2},       {"3", kVK_ANSI_3},
    {"4", kVK_ANSI_4},       {"5", kVK_ANSI_5},
    {"6", kVK_ANSI_6},       {"7", kVK_ANSI_7},
    {"8", kVK_ANSI_8},       {"9", kVK_ANSI_9},
    {"up", kVK_UpArrow},     {"down", kVK_DownArrow},
    {"left", kVK_LeftArrow}, {"right", kVK_RightArrow},
    {"f1", kVK_F1},          {"f2", kVK_F2},
    {"f3", kVK_F3},          {"f4", kVK_F4},
    {"f5", kVK_F5},          {"f6", kVK_F6},
    {"f7", kVK_F7},          {"f8", kVK_F8},
    {"f9", kVK_F9},          {"f10", kVK_F10},
    {"f11", kVK_F11},        {"f12", kVK_F12},
}};

// On the main thread, from the application's event target.
OSStatus hotKeyPressed(EventHandlerCallRef, EventRef event, void *userData) {
  EventHotKeyID identifier{};
  const OSStatus status = GetEventParameter(event, kEventParamDirectObject, typeEventHotKeyID,
                                            nullptr, sizeof identifier, nullptr, &identifier);
  if (status != noErr || identifier.signature != signature) return eventNotHandledErr;
  auto *const table = static_cast<MacHotKeys::Table *>(userData);
  const auto found = table->pressed.find(identifier.id);
  if (found == table->pressed.end()) return eventNotHandledErr;
  // The handler may give this very combination back.
  const std::function<void()> pressed = found->second;
  pressed();
  return noErr;
}

class Registration final : public platform::HotKeyRegistration {
 public:
  Registration(EventHotKeyRef hotKey, std::weak_ptr<MacHotKeys::Table> table, UInt32 id)
      : hotKey_(hotKey), table_(std::move(table)), id_(id) {}
  ~Registration() override {
    UnregisterEventHotKey(hotKey_);
    if (const auto table = table_.lock()) table->pressed.erase(id_);
  }

 private:
  EventHotKeyRef hotKey_;
  std::weak_ptr<MacHotKeys::Table> table_;
  UInt32 id_;
};

}  // namespace

MacHotKeys::MacHotKeys() : table_(std::make_shared<Table>()) {}

MacHotKeys::~MacHotKeys() {
  // Before the table goes: the handler must not be called with it afterwards.
  if (handler_ != nullptr) RemoveEventHandler(handler_);
}

std::optional<UInt32> MacHotKeys::keyCode(std::string_view key) {
  for (const auto &[name, code] : keyCodes) {
    if (name == key) return code;
  }
  return std::nullopt;
}

UInt32 MacHotKeys::modifiers(const platform::HotKey &hotKey) {
  UInt32 mask = 0;
  if (hotKey.control) mask |= controlKey;
  if (hotKey.option) mask |= optionKey;
  if (hotKey.command) mask |= cmdKey;
  if (hotKey.shift) mask |= shiftKey;
  return mask;
}

platform::HotKeyOutcome MacHotKeys::registerHotKey(const platform::HotKey &hotKey,
                                                   std::function<void()> pressed) {
  const std::optional<UInt32> code = keyCode(hotKey.key);
  if (!code) return platform::HotKeyOutcome{.error = "no key is named \"" + hotKey.key + "\""};
  if (handler_ == nullptr) {
    const EventTypeSpec spec{kEventClassKeyboard, kEventHotKeyPressed};
    const OSStatus installed = InstallEventHandler(GetApplicationEventTarget(), hotKeyPressed, 1,
                                                   &spec, table_.get(), &handler_);
    if (installed != noErr) {
      handler_ = nullptr;
      return platform::HotKeyOutcome{.error =
                                         "InstallEventHandler error " + std::to_string(installed)};
    }
  }
  const EventHotKeyID identifier{signature, ++table_->lastID};
  EventHotKeyRef registered = nullptr;
  const OSStatus status =
      RegisterEventHotKey(*code, modifiers(hotKey), identifier, GetApplicationEventTarget(),
                          kEventHotKeyExclusive, &registered);
  if (status == eventHotKeyExistsErr) return platform::HotKeyOutcome{.taken = true};
  if (status != noErr || registered == nullptr) {
    return platform::HotKeyOutcome{.error = "RegisterEventHotKey error " + std::to_string(status)};
  }
  table_->pressed[identifier.id] = std::move(pressed);
  return platform::HotKeyOutcome{
      .registration = std::make_unique<Registration>(registered, table_, identifier.id)};
}

}  // namespace lumora::macos
