#pragma once

#include <memory>

#include "display/SharedControllers.h"
#include "platform/Platform.h"

namespace lumora {

// The entry type: makes the application a menu-bar-only one with its delegate and runs it.
class LumoraPanelApp {
 public:
  // Runs the process on its own platform, with the process-wide controllers.
  static int main();

  // The same on the given platform and controllers, which must outlive the process's end. A
  // process started to check the display (--diagnose) runs the check instead, and returns its
  // status.
  static int main(platform::Platform& platform, SharedControllers& controllers);

 private:
  // Makes `delegate` the application's, the app menu-bar-only, and runs it.
  static void run(platform::Platform& platform, SharedControllers& controllers,
                  const std::shared_ptr<platform::ApplicationDelegate>& delegate);
  // One handler for SIGTERM and SIGINT: the display back to standard, then the end.
  static void installTerminationHandler(platform::Platform& platform,
                                        SharedControllers& controllers);
};

}  // namespace lumora
