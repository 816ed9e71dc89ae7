#pragma once

// The app on the fakes with the headroom method chosen by the release, and a display that gives
// 3.2 of headroom while an EDR window is on it; seconds pass as the test says.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/AppDelegate.h"
#include "fakes/FakeClock.h"
#include "fakes/FakePlatform.h"

namespace lumora::testing {

inline constexpr platform::DisplayID panel = 7;

class HeadroomMethodTest : public ::testing::Test {
 protected:
  HeadroomMethodTest() {
    fake_.operatingSystem.release = {26, 4, 0};
    fake_.extendedDynamicRange.headroom[panel] = 3.2;
  }

  void launch() {
    delegate_ = AppDelegate::create(fake_.platform, controllers_);
    delegate_->applicationDidFinishLaunching();
  }
  void pick(std::string_view selector, std::int64_t tag = 0) {
    delegate_->performMenuAction(selector, platform::MenuItemSender{tag});
  }
  // A second of the run loop: the waits, then the refresh.
  void second() {
    clock_.advance(std::chrono::seconds(1));
    fake_.timers.fireAll();
  }
  const platform::Menu& menu() const { return *fake_.statusBar.lastItem->menu; }
  std::vector<std::string> markedLevels() const {
    std::vector<std::string> marked;
    for (const platform::MenuItem& item : menu().items) {
      if (item.tag >= 500 && item.state == platform::ControlState::on) marked.push_back(item.title);
    }
    return marked;
  }
  // The table in force on `display`: its red channel.
  std::vector<float> inForce(platform::DisplayID display = panel) const {
    const auto found = fake_.displays.inForce.find(display);
    return found == fake_.displays.inForce.end() ? std::vector<float>{} : found->second.red;
  }
  XDRController& xdr() { return controllers_.xdr(); }

  FakePlatform fake_;
  FakeClock clock_;
  SharedControllers controllers_{fake_.platform, clock_.function()};
  std::shared_ptr<AppDelegate> delegate_;
};

}  // namespace lumora::testing
