#include "app/LumoraPanelApp.h"

#include <memory>

#include "app/AppDelegate.h"
#include "app/DisplayCheck.h"

namespace lumora {

int LumoraPanelApp::main(platform::Platform& platform, SharedControllers& controllers) {
  if (platform.application.diagnoseRequested()) {
    const auto check = std::make_shared<DisplayCheck>(platform, controllers);
    run(platform, controllers, check);
    return check->exitStatus();
  }
  run(platform, controllers, AppDelegate::create(platform, controllers));
  return 0;
}

void LumoraPanelApp::run(platform::Platform& platform, SharedControllers& controllers,
                         const std::shared_ptr<platform::ApplicationDelegate>& delegate) {
  platform::Application& application = platform.application;
  application.setDelegate(delegate);
  application.setActivationPolicy(platform::ActivationPolicy::accessory);
  installTerminationHandler(platform, controllers);
  application.run();
}

void LumoraPanelApp::installTerminationHandler(platform::Platform& platform,
                                               SharedControllers& controllers) {
  // Runs on a thread of its own, so it works while the main thread waits in a modal alert or is
  // in the middle of making the XDR controller; the display write and the exit are both safe
  // there, unlike in a signal handler.
  platform::TerminationSignals& signals = platform.terminationSignals;
  signals.install([&controllers, &signals] {
    controllers.xdr().disableXDRForExit();
    signals.exitProcess(0);
  });
}

}  // namespace lumora
