#pragma once

#include "fakes/EventLog.h"
#include "fakes/FakeActivities.h"
#include "fakes/FakeAlerts.h"
#include "fakes/FakeApplication.h"
#include "fakes/FakeConsole.h"
#include "fakes/FakeDisplays.h"
#include "fakes/FakeExtendedDynamicRange.h"
#include "fakes/FakeHotKeys.h"
#include "fakes/FakeLoginItems.h"
#include "fakes/FakeMainQueue.h"
#include "fakes/FakeNotifications.h"
#include "fakes/FakeOpenedURLs.h"
#include "fakes/FakeOperatingSystem.h"
#include "fakes/FakePasteboard.h"
#include "fakes/FakePower.h"
#include "fakes/FakeStatusBar.h"
#include "fakes/FakeSymbolImages.h"
#include "fakes/FakeSystemEvents.h"
#include "fakes/FakeTerminationSignals.h"
#include "fakes/FakeTimers.h"
#include "fakes/FakeUpdaters.h"
#include "fakes/FakeUserDefaults.h"
#include "fakes/FakeWindowServer.h"
#include "fakes/FakeWindows.h"
#include "platform/Platform.h"

namespace lumora::testing {

// Every platform service as an in-memory fake, all writing to one event log. The main display
// starts with the standard preset in slot 0, active.
struct FakePlatform {
  // A quiet platform records no events, for the benchmarks.
  explicit FakePlatform(bool quiet = false) : log(quiet) {
    windowServer.presets[displays.mainDisplay][0] = FakeWindowServer::standardPreset();
    windowServer.activeIndex[displays.mainDisplay] = 0;
  }

  // Puts the main display in XDR at `nits`, as another run of the app would have left it.
  void setActiveCeiling(double nits, std::int32_t index = 11) {
    FakeValues preset = FakeWindowServer::standardPreset();
    preset["PresetMaxSDRLuminance"] = nits;
    preset["PresetWritable"] = std::int64_t{1};  // as the app writes its presets
    windowServer.presets[displays.mainDisplay][index] = preset;
    windowServer.activeIndex[displays.mainDisplay] = index;
  }
  std::int32_t activeIndex() { return windowServer.activeIndex[displays.mainDisplay]; }

  EventLog log;
  FakeApplication application{log};
  FakeStatusBar statusBar{log};
  FakeSymbolImages symbolImages;
  FakeDisplays displays{log};
  FakeExtendedDynamicRange extendedDynamicRange{log};
  FakeWindowServer windowServer{log};
  FakeUserDefaults userDefaults{log};
  FakeTimers timers;
  FakeMainQueue mainQueue{log};
  FakeAlerts alerts{log};
  FakeWindows windows{log};
  FakeNotificationCenter notificationCenter;
  FakeOpenedURLs openedURLs;
  FakeHotKeys hotKeys;
  FakeLoginItems loginItems{log};
  FakeUpdaters updaters{log};
  FakeTerminationSignals terminationSignals;
  FakeSystemEvents systemEvents;
  FakeOperatingSystem operatingSystem;
  FakePower power;
  FakePasteboard pasteboard;
  FakeActivities activities;
  FakeConsole console;

  platform::Platform platform = platform::platformOf(*this);
};

}  // namespace lumora::testing
