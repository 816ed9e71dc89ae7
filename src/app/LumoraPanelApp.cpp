#include "app/LumoraPanelApp.h"

#include <memory>

#include "app/AppDelegate.h"

namespace lumora {

int LumoraPanelApp::main(platform::Platform& platform, SharedControllers& controllers) {
  platform::Application& application = platform.application;
  const std::shared_ptr<AppDelegate> delegate = AppDelegate::create(platform, controllers);
  application.setDelegate(delegate);
  application.setActivationPolicy(platform::ActivationPolicy::accessory);

  // Runs on a thread of its own, so it works while the main thread waits in a modal alert or is
  // in the middle of making the XDR controller; the display write and the exit are both safe
  // there, unlike in a signal handler.
  platform::TerminationSignals& signals = platform.terminationSignals;
  signals.install([&controllers, &signals] {
    controllers.xdr().disableXDRForExit();
    signals.exitProcess(0);
  });

  application.run();
  return 0;
}

}  // namespace lumora
