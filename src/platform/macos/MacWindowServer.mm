#include "platform/macos/MacWindowServer.h"

#import <CoreGraphics/CoreGraphics.h>

#include <dlfcn.h>

#include <memory>
#include <string>

#include "platform/macos/CFRef.h"
#include "platform/macos/MacPresetDictionary.h"

namespace lumora::macos {
namespace {

// The entries' C signatures. CopyPresetData follows the Copy rule: the caller owns the result.
using GetActivePresetIndex = int32_t (*)(CGDirectDisplayID);
using SetActivePresetIndex = int32_t (*)(CGDirectDisplayID, int32_t);
using CopyPresetData = CFDictionaryRef (*)(CGDirectDisplayID, int32_t);
using SetPresetData = int32_t (*)(CGDirectDisplayID, int32_t, CFDictionaryRef);

using LibraryHandle = std::shared_ptr<void>;

template <typename Function>
Function lookUp(const LibraryHandle &library, std::string_view name) {
  const std::string symbol(name);
  return reinterpret_cast<Function>(dlsym(library.get(), symbol.c_str()));
}

}  // namespace

platform::OpenedPresetFunctions MacWindowServer::openPresetFunctions(
    std::string_view libraryPath, const platform::PresetFunctionNames &names) {
  platform::OpenedPresetFunctions opened;
  const std::string path(libraryPath);
  void *raw = dlopen(path.c_str(), RTLD_NOW);
  if (raw == nullptr) {
    const char *error = dlerror();
    opened.openError = error != nullptr ? error : "dlopen failed";
    return opened;
  }
  // Shared by the entries, so the library stays loaded while any of them exists.
  const LibraryHandle library(raw, [](void *handle) { dlclose(handle); });

  if (const auto getActive = lookUp<GetActivePresetIndex>(library, names.getActivePresetIndex)) {
    opened.functions.getActivePresetIndex = [library, getActive](platform::DisplayID display) {
      return getActive(display);
    };
  }
  if (const auto setActive = lookUp<SetActivePresetIndex>(library, names.setActivePresetIndex)) {
    opened.functions.setActivePresetIndex = [library, setActive](platform::DisplayID display,
                                                                 std::int32_t index) {
      return setActive(display, index);
    };
  }
  if (const auto copyPreset = lookUp<CopyPresetData>(library, names.copyPresetData)) {
    opened.functions.copyPresetData =
        [library, copyPreset](
            platform::DisplayID display,
            std::int32_t index) -> std::shared_ptr<const platform::PresetDictionary> {
      CFRef<CFDictionaryRef> preset(copyPreset(display, index));
      if (!preset) return nullptr;
      if (CFGetTypeID(preset.get()) != CFDictionaryGetTypeID()) return nullptr;
      return std::make_shared<MacPresetDictionary>(std::move(preset));
    };
  }
  if (const auto setPreset = lookUp<SetPresetData>(library, names.setPresetData)) {
    opened.functions.setPresetData = [library, setPreset](
                                         platform::DisplayID display, std::int32_t index,
                                         const platform::PresetDictionary &preset) {
      const auto *own = dynamic_cast<const MacPresetDictionary *>(&preset);
      if (own == nullptr) return static_cast<std::int32_t>(kCGErrorIllegalArgument);
      return setPreset(display, index, own->dictionary());
    };
  }
  return opened;
}

}  // namespace lumora::macos
