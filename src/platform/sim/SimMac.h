#pragma once

#include "platform/Platform.h"
#include "platform/posix/PosixTerminationSignals.h"
#include "platform/posix/StdioConsole.h"
#include "sim/EventLoop.h"
#include "sim/SimAlerts.h"
#include "sim/SimApplication.h"
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

// The whole simulated Mac: its toolkit, its displays and window server, and its stores.
class SimMac {
 public:
  explicit SimMac(const SimPaths& paths);
  SimMac(const SimMac&) = delete;
  SimMac& operator=(const SimMac&) = delete;

  platform::Platform& platform() { return platform_; }

  EventLoop& loop() { return loop_; }
  SimApplication& application() { return application_; }
  SimStatusBar& statusBar() { return statusBar_; }
  SimDisplayState& displayState() { return displayState_; }
  SimUserDefaults& userDefaults() { return userDefaults_; }
  SimAlerts& alerts() { return alerts_; }
  SimWindows& windows() { return windows_; }
  SimLoginItems& loginItems() { return loginItems_; }
  SimUpdaters& updaters() { return updaters_; }
  platform::PosixTerminationSignals& terminationSignals() { return terminationSignals_; }
  platform::StdioConsole& console() { return console_; }

 private:
  platform::StdioConsole console_;
  EventLoop loop_;
  SimApplication application_{loop_};
  SimStatusBar statusBar_;
  SimSymbolImages symbolImages_;
  SimDisplayState displayState_;
  SimDisplays displays_{displayState_};
  SimWindowServer windowServer_{displayState_};
  SimUserDefaults userDefaults_;
  SimAlerts alerts_{loop_};
  SimNotificationCenter notificationCenter_;
  SimWindows windows_{notificationCenter_};
  SimLoginItems loginItems_;
  SimUpdaters updaters_{alerts_};
  platform::PosixTerminationSignals terminationSignals_;
  platform::Platform platform_;
};

}  // namespace lumora::sim
