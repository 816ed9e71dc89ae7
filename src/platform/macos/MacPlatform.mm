// The platform of the macOS build: AppKit, Core Graphics, the window server's framework and
// the updater, each behind its interface.

#include "platform/Platform.h"
#include "platform/macos/MacAlerts.h"
#include "platform/macos/MacApplication.h"
#include "platform/macos/MacDisplays.h"
#include "platform/macos/MacLoginItems.h"
#include "platform/macos/MacMainQueue.h"
#include "platform/macos/MacNotifications.h"
#include "platform/macos/MacStatusBar.h"
#include "platform/macos/MacSymbolImages.h"
#include "platform/macos/MacTimers.h"
#include "platform/macos/MacUpdaters.h"
#include "platform/macos/MacUserDefaults.h"
#include "platform/macos/MacWindowServer.h"
#include "platform/macos/MacWindows.h"
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
