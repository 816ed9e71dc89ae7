#pragma once

#include <string_view>

namespace lumora {

// What changes under the display, as the system tells it.
enum class SystemChange {
  willSleep,
  didWake,
  screensDidSleep,
  screensDidWake,
  screenLocked,
  screenUnlocked,
  activeSpaceChanged,
  displaysReconfigured,
};

// The change in a few words, as the diagnosis tells it.
constexpr std::string_view describe(SystemChange change) {
  switch (change) {
    case SystemChange::willSleep:
      return "sleep";
    case SystemChange::didWake:
      return "wake";
    case SystemChange::screensDidSleep:
      return "screens sleep";
    case SystemChange::screensDidWake:
      return "screens wake";
    case SystemChange::screenLocked:
      return "lock";
    case SystemChange::screenUnlocked:
      return "unlock";
    case SystemChange::activeSpaceChanged:
      return "Space change";
    case SystemChange::displaysReconfigured:
      return "display reconfiguration";
  }
  return "system change";
}

}  // namespace lumora
