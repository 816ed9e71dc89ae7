#include "platform/macos/MacUnconfiguredUpdater.h"
#include "platform/macos/MacUpdaters.h"

namespace lumora::macos {

std::unique_ptr<platform::UpdaterController> MacUpdaters::makeStandardUpdaterController(bool) {
  return std::make_unique<MacUnconfiguredUpdaterController>(
      alerts_,
      "This build of Lumora Virir was made without its updater, so it cannot check for updates. "
      "Download the newest version from the Lumora Virir website instead.");
}

}  // namespace lumora::macos
