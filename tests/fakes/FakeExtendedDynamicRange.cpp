#include "fakes/FakeExtendedDynamicRange.h"

#include <algorithm>
#include <string>

namespace lumora::testing {

struct FakeExtendedDynamicRange::Shown final : platform::EDRWindow {
  Shown(std::shared_ptr<std::vector<platform::DisplayID>> windows, platform::DisplayID display,
        EventLog& log, int& draws)
      : windows_(std::move(windows)), display_(display), log_(log), draws_(draws) {
    windows_->push_back(display);
    ++draws_;
  }
  void redraw() override {
    log_.add("edr.redraw ", std::to_string(display_));
    ++draws_;
  }
  Shown(const Shown&) = delete;
  Shown& operator=(const Shown&) = delete;
  ~Shown() override {
    log_.add("edr.hideWindow ", std::to_string(display_));
    const auto found = std::find(windows_->begin(), windows_->end(), display_);
    if (found != windows_->end()) windows_->erase(found);
  }

 private:
  std::shared_ptr<std::vector<platform::DisplayID>> windows_;
  platform::DisplayID display_;
  EventLog& log_;
  int& draws_;
};

std::unique_ptr<platform::EDRWindow> FakeExtendedDynamicRange::showEDRWindow(
    platform::DisplayID display) {
  log_.add("edr.showWindow ", std::to_string(display));
  if (std::find(withoutScreen.begin(), withoutScreen.end(), display) != withoutScreen.end()) {
    return nullptr;
  }
  ++windowsMade;
  return std::make_unique<Shown>(shown_, display, log_, draws);
}

double FakeExtendedDynamicRange::currentHeadroom(platform::DisplayID display) {
  ++headroomReads;
  const bool windowOn = std::find(shown_->begin(), shown_->end(), display) != shown_->end();
  if (!windowOn || !givesHeadroom) return 1.0;
  const auto found = headroom.find(display);
  return found == headroom.end() ? 1.0 : found->second;
}

std::vector<platform::DisplayID> FakeExtendedDynamicRange::windowsShown() const {
  return *shown_;
}

}  // namespace lumora::testing
