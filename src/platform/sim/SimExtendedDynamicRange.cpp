#include "platform/sim/SimExtendedDynamicRange.h"

namespace lumora::sim {
namespace {

class SimEDRWindow final : public platform::EDRWindow {
 public:
  SimEDRWindow(SimDisplayState& state, std::uint64_t id) : state_(state), id_(id) {}
  SimEDRWindow(const SimEDRWindow&) = delete;
  SimEDRWindow& operator=(const SimEDRWindow&) = delete;
  ~SimEDRWindow() override { state_.hideEDRWindow(id_); }

  void redraw() override { state_.drawEDRWindow(id_); }

 private:
  SimDisplayState& state_;
  std::uint64_t id_;
};

}  // namespace

std::unique_ptr<platform::EDRWindow> SimExtendedDynamicRange::showEDRWindow(
    platform::DisplayID display) {
  // Kept out of screen capture, as the app's window is on macOS.
  const std::uint64_t id = state_.showEDRWindow(display, true);
  if (id == 0) return nullptr;
  return std::make_unique<SimEDRWindow>(state_, id);
}

}  // namespace lumora::sim
