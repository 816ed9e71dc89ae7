#include "platform/sim/SimHotKeys.h"

#include <algorithm>

namespace lumora::sim {
namespace {

std::vector<std::string> sortedParts(std::string_view combination) {
  std::vector<std::string> parts;
  for (;;) {
    const std::size_t plus = combination.find('+');
    std::string part(combination.substr(0, plus));
    std::erase(part, ' ');
    for (char& c : part) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    parts.push_back(std::move(part));
    if (plus == std::string_view::npos) break;
    combination.remove_prefix(plus + 1);
  }
  std::sort(parts.begin(), parts.end());
  return parts;
}

}  // namespace

class SimHotKeys::Registration final : public platform::HotKeyRegistration {
 public:
  Registration(std::weak_ptr<std::vector<Held>> held, std::uint64_t id)
      : held_(std::move(held)), id_(id) {}
  ~Registration() override {
    if (const auto held = held_.lock()) {
      std::erase_if(*held, [this](const Held& each) { return each.id == id_; });
    }
  }

 private:
  std::weak_ptr<std::vector<Held>> held_;
  std::uint64_t id_;
};

SimHotKeys::SimHotKeys(SimDisplayState& state) : state_(state) {}

bool SimHotKeys::sameCombination(std::string_view a, std::string_view b) {
  return sortedParts(a) == sortedParts(b);
}

platform::HotKeyOutcome SimHotKeys::registerHotKey(const platform::HotKey& hotKey,
                                                   std::function<void()> pressed) {
  const std::string text = platform::hotKeyText(hotKey);
  for (const std::string& taken : state_.takenHotKeys()) {
    if (sameCombination(taken, text)) return platform::HotKeyOutcome{.taken = true};
  }
  // As RegisterEventHotKey: a combination is held once.
  for (const Held& each : *held_) {
    if (each.text == text) return platform::HotKeyOutcome{.taken = true};
  }
  held_->push_back(Held{++lastID_, text, std::move(pressed)});
  return platform::HotKeyOutcome{.registration = std::make_unique<Registration>(held_, lastID_)};
}

SimHotKeys::Press SimHotKeys::press(std::string_view combination) {
  for (const Held& each : *held_) {
    if (!sameCombination(each.text, combination)) continue;
    // The handler may give the combination back, and with it this entry.
    const std::function<void()> pressed = each.pressed;
    pressed();
    return Press::delivered;
  }
  for (const std::string& taken : state_.takenHotKeys()) {
    if (sameCombination(taken, combination)) return Press::heldByAnotherApp;
  }
  return Press::notHeld;
}

}  // namespace lumora::sim
