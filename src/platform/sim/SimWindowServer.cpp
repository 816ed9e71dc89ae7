#include "platform/sim/SimWindowServer.h"

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
    functions.copyPresetData =
        [state](platform::DisplayID display,
                std::int32_t index) -> std::unique_ptr<platform::PresetDictionary> {
      PlistPtr preset = state->copyPreset(display, index);
      if (!preset) return nullptr;
      return std::make_unique<SimPresetDictionary>(std::move(preset));
    };
  }
  if (names.setPresetData == "SLSDisplaySetPresetData") {
    functions.setPresetData = [state](platform::DisplayID display, std::int32_t index,
                                      const platform::PresetDictionary& preset) {
      // Only dictionaries of this window server can be handed back to it.
      const auto* own = dynamic_cast<const SimPresetDictionary*>(&preset);
      if (own == nullptr) return SimDisplayState::illegalArgument;
      return state->setPreset(display, index, own->node());
    };
  }
  return opened;
}

}  // namespace lumora::sim
