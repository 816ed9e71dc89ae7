#pragma once

#include <map>
#include <memory>
#include <vector>

#include "fakes/EventLog.h"
#include "platform/ExtendedDynamicRange.h"

namespace lumora::testing {

// EDR windows and headroom as the tests set them: a display gives `headroom` while a window is
// on it, if `givesHeadroom`; without one it gives 1.0.
class FakeExtendedDynamicRange final : public platform::ExtendedDynamicRange {
 public:
  explicit FakeExtendedDynamicRange(EventLog& log) : log_(log) {}

  std::unique_ptr<platform::EDRWindow> showEDRWindow(platform::DisplayID display) override;
  double currentHeadroom(platform::DisplayID display) override;
  double potentialHeadroom(platform::DisplayID display) override {
    const auto found = headroom.find(display);
    return found == headroom.end() ? 1.0 : found->second;
  }

  // The displays with a window now, one entry per window.
  std::vector<platform::DisplayID> windowsShown() const;

  std::map<platform::DisplayID, double> headroom;
  bool givesHeadroom = true;
  // Displays without a screen for the window.
  std::vector<platform::DisplayID> withoutScreen;
  int windowsMade = 0;
  // Frames drawn: one when a window is shown, one for each redraw.
  int draws = 0;
  int headroomReads = 0;

 private:
  struct Shown;
  EventLog& log_;
  std::shared_ptr<std::vector<platform::DisplayID>> shown_ =
      std::make_shared<std::vector<platform::DisplayID>>();
};

}  // namespace lumora::testing
