// The platform of the macOS build: AppKit, Core Graphics, the window server's framework, Carbon's
// hot keys and the updater, each behind its interface.

#import <AppKit/AppKit.h>
#include <unistd.h>

#include <cstdio>

#include "platform/Platform.h"
#include "platform/macos/MacActivities.h"
#include "platform/macos/MacAlerts.h"
#include "platform/macos/MacApplication.h"
#include "platform/macos/MacDisplays.h"
#include "platform/macos/MacExtendedDynamicRange.h"
#include "platform/macos/MacHotKeys.h"
#include "platform/macos/MacLoginItems.h"
#include "platform/macos/MacMainQueue.h"
#include "platform/macos/MacNotifications.h"
#include "platform/macos/MacOpenedURLs.h"
#include "platform/macos/MacOperatingSystem.h"
#include "platform/macos/MacPasteboard.h"
#include "platform/macos/MacPower.h"
#include "platform/macos/MacRunningCopies.h"
#include "platform/macos/MacStatusBar.h"
#include "platform/macos/MacSymbolImages.h"
#include "platform/macos/MacSystemEvents.h"
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
  MacExtendedDynamicRange extendedDynamicRange;
  MacWindowServer windowServer;
  MacUserDefaults userDefaults;
  MacTimers timers;
  MacMainQueue mainQueue;
  MacAlerts alerts;
  MacWindows windows{application.bridge()};
  MacNotificationCenter notificationCenter;
  MacOpenedURLs openedURLs{application};
  MacHotKeys hotKeys;
  MacLoginItems loginItems;
  MacUpdaters updaters{alerts};
  platform::PosixTerminationSignals terminationSignals;
  MacSystemEvents systemEvents;
  MacOperatingSystem operatingSystem;
  MacPower power;
  MacActivities activities;
  MacPasteboard pasteboard;
  platform::StdioConsole console;

  platform::Platform platform = platform::platformOf(*this);
};

// One copy of the app per user session: a second one ends before it touches the display. Of
// copies started together the older stays, and one that is quitting is waited for a moment.
void endIfAlreadyRunning() {
  NSString *identifier = NSBundle.mainBundle.bundleIdentifier;
  if (identifier == nil) return;
  const platform::RunningCopy self = runningCopyOf(NSRunningApplication.currentApplication);
  for (NSRunningApplication *running in
       [NSRunningApplication runningApplicationsWithBundleIdentifier:identifier]) {
    if (!platform::givesWayTo(self, runningCopyOf(running))) continue;
    if (endsWithin(running, std::chrono::seconds(2))) continue;
    // A check of the display cannot run beside the app that drives it: that is a failure.
    const bool diagnosing = launchedToDiagnose();
    std::fprintf(stderr, "Lumora Virir is already running (process %d); %s\n",
                 static_cast<int>(running.processIdentifier),
                 diagnosing ? "quit it first, then check the display again." : "this one ends.");
    std::fflush(nullptr);
    _exit(diagnosing ? 1 : 0);
  }
}

}  // namespace
}  // namespace lumora::macos

namespace lumora::platform {

Platform &processPlatform() {
  macos::endIfAlreadyRunning();
  // Made once and never released: the termination-signal thread may use it until the end.
  static macos::MacPlatform *const mac = new macos::MacPlatform();
  return mac->platform;
}

}  // namespace lumora::platform
