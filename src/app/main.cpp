// The process entry point, built into the program only: it binds the app to the platform of this
// process.

#include "app/LumoraPanelApp.h"
#include "platform/TerminationSignals.h"

namespace lumora {

int LumoraPanelApp::main() {
  platform::Platform& platform = platform::processPlatform();
  // Never released: the termination-signal thread may use it until the very end.
  static SharedControllers* const controllers = new SharedControllers(platform);
  return main(platform, *controllers);
}

}  // namespace lumora

int main() {
  // Before any other thread exists, so that only the termination handler ever sees these signals.
  lumora::platform::blockTerminationSignals();
  lumora::platform::ignoreBrokenPipes();
  return lumora::LumoraPanelApp::main();
}
