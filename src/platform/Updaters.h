#pragma once

#include <memory>

namespace lumora::platform {

// The software updater (SPUUpdater).
class Updater {
 public:
  virtual ~Updater() = default;

  // Checks for updates in the foreground and tells the user what it found.
  virtual void checkForUpdates() = 0;
};

// SPUStandardUpdaterController: owns an updater and its standard user interface.
class UpdaterController {
 public:
  virtual ~UpdaterController() = default;

  virtual Updater& updater() = 0;
};

class Updaters {
 public:
  virtual ~Updaters() = default;

  // initWithStartingUpdater:updaterDelegate:userDriverDelegate: with no delegates.
  virtual std::unique_ptr<UpdaterController> makeStandardUpdaterController(
      bool startingUpdater) = 0;
};

}  // namespace lumora::platform
