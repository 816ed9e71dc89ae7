#pragma once

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "platform/HotKeys.h"

namespace lumora::testing {

// Global shortcuts: what the app holds, by its text ("ctrl+option+command+up"), and what the
// tests say other apps hold.
class FakeHotKeys final : public platform::HotKeys {
 public:
  platform::HotKeyOutcome registerHotKey(const platform::HotKey& hotKey,
                                         std::function<void()> pressed) override {
    const std::string text = platform::hotKeyText(hotKey);
    ++registrations;
    if (takenByOthers.contains(text) || held->contains(text)) {
      return platform::HotKeyOutcome{.taken = true};
    }
    (*held)[text] = std::move(pressed);
    return platform::HotKeyOutcome{.registration = std::make_unique<Held>(held, text)};
  }

  // False when the app does not hold the combination.
  bool press(const std::string& text) {
    const auto found = held->find(text);
    if (found == held->end()) return false;
    const std::function<void()> pressed = found->second;
    pressed();
    return true;
  }
  bool holds(const std::string& text) const { return held->contains(text); }
  std::size_t heldCount() const { return held->size(); }

  std::set<std::string> takenByOthers;
  int registrations = 0;

 private:
  using Table = std::map<std::string, std::function<void()>>;
  class Held final : public platform::HotKeyRegistration {
   public:
    Held(std::weak_ptr<Table> table, std::string text)
        : table_(std::move(table)), text_(std::move(text)) {}
    ~Held() override {
      if (const auto table = table_.lock()) table->erase(text_);
    }

   private:
    std::weak_ptr<Table> table_;
    std::string text_;
  };

  std::shared_ptr<Table> held = std::make_shared<Table>();
};

}  // namespace lumora::testing
