#include "platform/sim/SimWindowServer.h"

#include <memory>
#include <mutex>
#include <string>

#include "platform/sim/SimPresetDictionary.h"

namespace lumora::sim {

platform::OpenedPresetFunctions SimWindowServer::openPresetFunctions(
    std::string_view libraryPath, const platform::PresetFunctionNames& names) {
  platform::OpenedPresetFunctions opened;
  if (libraryPath != installedPath) {
    opened.openError = "dlopen(" + std::string(libraryPath) + ", 2): image not found";
    return opened;
  }
  SimDisplayState* const state = &state_;
  platform::PresetFunctions& functions = opened.functions;
  if (names.getActivePresetIndex == "SLSDisplayGetActivePresetIndex") {
    functions.getActivePresetIndex = [state](platform::DisplayID display) {
      return state->activePresetIndex(display);
    };
  }
  if (names.setActivePresetIndex == "SLSDisplaySetActivePresetIndex") {
    functions.setActivePresetIndex = [state](platform::DisplayID display, std::int32_t index) {
      return state->setActivePresetIndex(display, index);
    };
  }
  if (names.copyPresetData == "SLSDisplayCopyPresetData") {
    // The last preset handed out, handed out again while it is unchanged: a refresh that reads
    // the same preset every second copies nothing.
    struct HandedOut {
      std::mutex mutex;
      std::shared_ptr<const SimPresetDictionary> last;
    };
    auto handedOut = std::make_shared<HandedOut>();
    functions.copyPresetData = [state, handedOut](platform::DisplayID display, std::int32_t index)
        -> std::shared_ptr<const platform::PresetDictionary> {
      SimDisplayState::PresetView view = state->presetView(display, index);
      if (!view) return nullptr;
      const std::lock_guard lock(handedOut->mutex);
      std::shared_ptr<const SimPresetDictionary>& last = handedOut->last;
      if (!last || last->document() != view) {
        plist_t node = view.get();
        last = std::make_shared<const SimPresetDictionary>(std::move(view), node);
      }
      return last;
    };
  }
  if (names.setPresetData == "SLSDisplaySetPresetData") {
    functions.setPresetData = [state, later = later_](platform::DisplayID display,
                                                      std::int32_t index,
                                                      const platform::PresetDictionary& preset) {
      // Only dictionaries of this window server can be handed back to it.
      const auto* own = dynamic_cast<const SimPresetDictionary*>(&preset);
      if (own == nullptr) return SimDisplayState::illegalArgument;
      const std::int32_t status = state->setPreset(display, index, own->node());
      // From 26.3 on, a raised preset is taken, and taken away again a moment later.
      const std::optional<double> nits = own->numberValue("PresetMaxSDRLuminance");
      if (status == SimDisplayState::success && later && nits && *nits > 500.0 &&
          state->removesRaisedPresets()) {
        later(removalDelay, [state] { state->removeRaisedPresets(); });
      }
      return status;
    };
  }
  return opened;
}

}  // namespace lumora::sim
