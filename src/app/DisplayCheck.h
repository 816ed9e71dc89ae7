#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "display/SharedControllers.h"
#include "platform/Platform.h"

namespace lumora {

// The display check of --diagnose: without a status item, it raises the display to 800 nits by
// the method this Mac calls for, waits at most five seconds for it to hold (the preset read back,
// or the headroom come and the table read back), puts the display back as it found it, prints the
// diagnosis with the outcome on standard output and ends the run loop. It writes no preference.
class DisplayCheck final : public platform::ApplicationDelegate {
 public:
  static constexpr double checkNits = 800.0;
  static constexpr std::chrono::duration<double> timeLimit{5.0};
  static constexpr std::chrono::duration<double> pollInterval{0.1};
  // The exit statuses: raised (and put back), or not raised at all.
  static constexpr int raisedStatus = 0;
  static constexpr int notRaisedStatus = 2;

  DisplayCheck(platform::Platform& platform, SharedControllers& controllers);
  DisplayCheck(const DisplayCheck&) = delete;
  DisplayCheck& operator=(const DisplayCheck&) = delete;
  ~DisplayCheck();

  void applicationDidFinishLaunching() override;
  void applicationWillTerminate() override;
  bool respondsToMenuAction(std::string_view) const override { return false; }
  void performMenuAction(std::string_view, const platform::MenuItemSender&) override {}
  std::string diagnosticReport() override;

  // Once the check has ended: raisedStatus or notRaisedStatus.
  int exitStatus() const { return status_; }

 private:
  void poll();
  void finish(bool raised, std::string outcome);
  // The display back as it was found; once.
  void putBack();

  platform::Platform& platform_;
  SharedControllers& controllers_;
  platform::DisplayID display_ = 0;
  XDRController::SavedPresets saved_;
  bool putBack_ = true;
  std::shared_ptr<platform::Timer> polling_;
  std::chrono::steady_clock::time_point deadline_{};
  std::string outcome_;
  int status_ = notRaisedStatus;
};

}  // namespace lumora
