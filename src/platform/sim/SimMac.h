#pragma once

#include "platform/Platform.h"
#include "platform/posix/PosixTerminationSignals.h"
#include "sim/EventLoop.h"
#include "sim/SimAlerts.h"
#include "sim/SimApplication.h"
#include "sim/SimConsole.h"
#include "sim/SimDisplayState.h"
#include "sim/SimDisplays.h"
#include "sim/SimLoginItems.h"
#include "sim/SimPaths.h"
#include "sim/SimStatusBar.h"
#include "sim/SimSymbolImages.h"
#include "sim/SimUpdaters.h"
#include "sim/SimUserDefaults.h"
#include "sim/SimWindowServer.h"
#include "sim/SimWindows.h"

namespace lumora::sim {

// The whole simulated Mac: its toolkit, its displays and window server, and its stores. The
// members are the services; `platform` presents them to the app.
struct SimMac {
  explicit SimMac(const SimPaths& paths);
  SimMac(const SimMac&) = delete;
  SimMac& operator=(const SimMac&) = delete;

  SimConsole console;
  EventLoop loop;
  EventLoop& timers = loop;
  EventLoop& mainQueue = loop;
  SimApplication application{loop};
  SimStatusBar statusBar;
  SimSymbolImages symbolImages;
  SimDisplayState displayState;
  SimDisplays displays{displayState};
  SimWindowServer windowServer{displayState};
  SimUserDefaults userDefaults;
  SimAlerts alerts{loop};
  SimNotificationCenter notificationCenter;
  SimWindows windows{notificationCenter};
  SimLoginItems loginItems;
  SimUpdaters updaters{alerts};
  platform::PosixTerminationSignals terminationSignals;
  platform::Platform platform = platform::platformOf(*this);
};

}  // namespace lumora::sim
