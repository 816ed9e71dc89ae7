#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/Application.h"

namespace lumora::testing {

// An application delegate that answers every action and writes down each one sent to it, as
// "selector tag": what a platform's buttons and entries deliver.
class ActionRecorder final : public platform::ApplicationDelegate {
 public:
  void applicationDidFinishLaunching() override {}
  void applicationWillTerminate() override {}
  bool respondsToMenuAction(std::string_view) const override { return true; }
  void performMenuAction(std::string_view selector,
                         const platform::MenuItemSender& sender) override {
    sent.push_back(std::string(selector) + " " + std::to_string(sender.tag));
  }
  std::string diagnosticReport() override { return "report"; }

  std::vector<std::string> sent;
};

}  // namespace lumora::testing
