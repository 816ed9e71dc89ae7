#pragma once

#include <optional>
#include <string>

#include "fakes/EventLog.h"
#include "platform/LoginItems.h"

namespace lumora::testing {

class FakeLoginItems final : public platform::LoginItems {
 public:
  explicit FakeLoginItems(EventLog& log) : log_(log) {}

  std::optional<std::string> registerMainApp() override {
    log_.add("loginItems.register");
    if (!registerError) registered = true;
    return registerError;
  }
  std::optional<std::string> unregisterMainApp() override {
    log_.add("loginItems.unregister");
    if (!unregisterError) registered = false;
    return unregisterError;
  }

  bool registered = false;
  std::optional<std::string> registerError;
  std::optional<std::string> unregisterError;

 private:
  EventLog& log_;
};

}  // namespace lumora::testing
