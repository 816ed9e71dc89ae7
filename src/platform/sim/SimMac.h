#pragma once

#include "platform/Platform.h"
#include "platform/sim/EventLoop.h"
#include "platform/sim/SimActivities.h"
#include "platform/sim/SimAlerts.h"
#include "platform/sim/SimApplication.h"
#include "platform/sim/SimConsole.h"
#include "platform/sim/SimDisplays.h"
#include "platform/sim/SimExtendedDynamicRange.h"
#include "platform/sim/SimHotKeys.h"
#include "platform/sim/SimLoginItems.h"
#include "platform/sim/SimMainQueue.h"
#include "platform/sim/SimNotifications.h"
#include "platform/sim/SimOpenedURLs.h"
#include "platform/sim/SimOperatingSystem.h"
#include "platform/sim/SimPasteboard.h"
#include "platform/sim/SimPower.h"
#include "platform/sim/SimStatusBar.h"
#include "platform/sim/SimSymbolImages.h"
#include "platform/sim/SimSystemEvents.h"
#include "platform/sim/SimTerminationSignals.h"
#include "platform/sim/SimTimers.h"
#include "platform/sim/SimUpdaters.h"
#include "platform/sim/SimUserDefaults.h"
#include "platform/sim/SimWindowServer.h"
#include "platform/sim/SimWindows.h"
#include "platform/sim/machine/SimDisplayState.h"
#include "platform/sim/machine/SimPaths.h"

namespace lumora::sim {

// The whole simulated Mac: its toolkit, its displays and window server, and its stores. The
// members are the services; `platform` presents them to the app.
struct SimMac {
  explicit SimMac(const SimPaths& paths);
  SimMac(const SimMac&) = delete;
  SimMac& operator=(const SimMac&) = delete;

  SimConsole console;
  EventLoop loop;
  SimTimers timers{loop};
  SimMainQueue mainQueue{loop};
  SimApplication application{loop};
  SimStatusBar statusBar;
  SimSymbolImages symbolImages;
  SimDisplayState displayState;
  SimDisplays displays{displayState};
  SimExtendedDynamicRange extendedDynamicRange{displayState};
  SimWindowServer windowServer{
      displayState, [this](std::chrono::duration<double> delay, std::function<void()> work) {
        loop.scheduledTimer(delay, false, std::move(work));
      }};
  SimUserDefaults userDefaults;
  SimAlerts alerts{loop};
  SimNotificationCenter notificationCenter;
  SimOpenedURLs openedURLs;
  SimHotKeys hotKeys{displayState};
  SimWindows windows{
      [this](const SimWindow& window) { notificationCenter.postWindowWillClose(window); }};
  SimLoginItems loginItems;
  SimUpdaters updaters{alerts};
  SimTerminationSignals terminationSignals;
  SimSystemEvents systemEvents{displayState};
  SimOperatingSystem operatingSystem;
  SimPower power{displayState};
  SimPasteboard pasteboard;
  SimActivities activities;
  platform::Platform platform = platform::platformOf(*this);
};

}  // namespace lumora::sim
