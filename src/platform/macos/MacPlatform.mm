// The platform of the macOS build: AppKit, Core Graphics, the window server's framework and
// the updater, each behind its interface.

#include "MacApplication.h"
#include "MacDisplays.h"
#include "MacImages.h"
#include "MacRunLoop.h"
#include "MacStatusBar.h"
#include "MacUpdaters.h"
#include "MacUserDefaults.h"
#include "MacWindowServer.h"
#include "MacWindows.h"
#include "platform/Platform.h"
#include "platform/posix/PosixTerminationSignals.h"
#include "platform/posix/StdioConsole.h"

namespace lumora::macos {
namespace {

struct MacPlatform {
  MacApplication application;
  MacStatusBar statusBar{application};
  MacSymbolImages symbolImages;
  MacDisplays displays;
  MacWindowServer windowServer;
  MacUserDefaults userDefaults;
  MacTimers timers;
  MacMainQueue mainQueue;
  MacAlerts alerts;
  MacWindows windows;
  MacNotificationCenter notificationCenter;
  MacLoginItems loginItems;
  MacUpdaters updaters{alerts};
  platform::PosixTerminationSignals terminationSignals;
  platform::StdioConsole console;

  platform::Platform platform = platform::platformOf(*this);
};

}  // namespace
}  // namespace lumora::macos

namespace lumora::platform {

Platform &processPlatform() {
  // Made once and never released: the termination-signal thread may use it until the end.
  static macos::MacPlatform *const mac = new macos::MacPlatform();
  return mac->platform;
}

}  // namespace lumora::platform
