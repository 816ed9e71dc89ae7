#pragma once

#include <optional>
#include <string>

#include "fakes/EventLog.h"
#include "platform/LoginItems.h"

namespace lumora::testing {

// The login item as the system keeps it: a test sets `status` to what the user did in the
// system's settings, or `statusAfterRegistering` to what the system makes of a registration.
class FakeLoginItems final : public platform::LoginItems {
 public:
  explicit FakeLoginItems(EventLog& log) : log_(log) {}

  platform::LoginItemStatus status() override { return status_; }
  std::optional<std::string> registerMainApp() override {
    log_.add("loginItems.register");
    if (!registerError) status_ = statusAfterRegistering;
    return registerError;
  }
  std::optional<std::string> unregisterMainApp() override {
    log_.add("loginItems.unregister");
    if (!unregisterError) status_ = platform::LoginItemStatus::notRegistered;
    return unregisterError;
  }
  void openLoginItemsSettings() override { log_.add("loginItems.openSettings"); }

  bool registered() const { return status_ != platform::LoginItemStatus::notRegistered; }
  void setStatus(platform::LoginItemStatus status) { status_ = status; }

  platform::LoginItemStatus statusAfterRegistering = platform::LoginItemStatus::enabled;
  std::optional<std::string> registerError;
  std::optional<std::string> unregisterError;

 private:
  EventLog& log_;
  platform::LoginItemStatus status_ = platform::LoginItemStatus::notRegistered;
};

}  // namespace lumora::testing
