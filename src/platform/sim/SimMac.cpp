#include "sim/SimMac.h"

namespace lumora::sim {

SimMac::SimMac(const SimPaths& paths)
    : displayState_(paths.displayStateFile, console_),
      userDefaults_(paths.defaultsFile, console_),
      loginItems_(paths.autostartDirectory, paths.program),
      platform_{
          .application = application_,
          .statusBar = statusBar_,
          .symbolImages = symbolImages_,
          .displays = displays_,
          .windowServer = windowServer_,
          .userDefaults = userDefaults_,
          .timers = loop_,
          .mainQueue = loop_,
          .alerts = alerts_,
          .windows = windows_,
          .notificationCenter = notificationCenter_,
          .loginItems = loginItems_,
          .updaters = updaters_,
          .terminationSignals = terminationSignals_,
          .console = console_,
      } {}

}  // namespace lumora::sim
