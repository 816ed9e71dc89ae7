#pragma once

#include "display/SharedControllers.h"
#include "platform/Platform.h"

namespace lumora {

// The entry type: makes the application a menu-bar-only one with its delegate and runs it.
class LumoraPanelApp {
 public:
  // Runs the process on its own platform, with the process-wide controllers.
  static int main();

  // The same on the given platform and controllers, which must outlive the process's end.
  static int main(platform::Platform& platform, SharedControllers& controllers);
};

}  // namespace lumora
