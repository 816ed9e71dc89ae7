#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/HotKeys.h"
#include "platform/sim/machine/SimDisplayState.h"

namespace lumora::sim {

// The simulated Mac's global shortcuts. The combinations other apps hold are display.plist's
// TakenHotKeys, read at each registration; the front ends press a combination with press().
class SimHotKeys final : public platform::HotKeys {
 public:
  explicit SimHotKeys(SimDisplayState& state);

  platform::HotKeyOutcome registerHotKey(const platform::HotKey& hotKey,
                                         std::function<void()> pressed) override;

  enum class Press { delivered, notHeld, heldByAnotherApp };
  // Presses the combination, written in any order and any case.
  Press press(std::string_view combination);

  // The same combination, whatever the order and case of its parts.
  static bool sameCombination(std::string_view a, std::string_view b);

 private:
  struct Held {
    std::uint64_t id;
    std::string text;
    std::function<void()> pressed;
  };
  class Registration;

  SimDisplayState& state_;
  // Shared with the registrations, which may outlive the simulated Mac in tests.
  std::shared_ptr<std::vector<Held>> held_ = std::make_shared<std::vector<Held>>();
  std::uint64_t lastID_ = 0;
};

}  // namespace lumora::sim
