#pragma once

#include "platform/WindowServer.h"

namespace lumora::macos {

// The window server's private framework through dlopen and dlsym.
class MacWindowServer final : public platform::WindowServer {
 public:
  platform::OpenedPresetFunctions openPresetFunctions(
      std::string_view libraryPath, const platform::PresetFunctionNames& names) override;
};

}  // namespace lumora::macos
