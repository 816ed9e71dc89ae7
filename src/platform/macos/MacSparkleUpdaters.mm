#include "MacUpdaters.h"

#import <Sparkle/Sparkle.h>

namespace lumora::macos {
namespace {

class SparkleUpdater final : public platform::Updater {
 public:
  explicit SparkleUpdater(SPUStandardUpdaterController *controller) : controller_(controller) {}
  void checkForUpdates() override { [controller_.updater checkForUpdates]; }

 private:
  __weak SPUStandardUpdaterController *controller_;
};

class SparkleUpdaterController final : public platform::UpdaterController {
 public:
  explicit SparkleUpdaterController(bool startingUpdater)
      : controller_([[SPUStandardUpdaterController alloc]
            initWithStartingUpdater:startingUpdater ? YES : NO
                    updaterDelegate:nil
                 userDriverDelegate:nil]),
        updater_(controller_) {}

  platform::Updater &updater() override { return updater_; }

 private:
  SPUStandardUpdaterController *controller_;
  SparkleUpdater updater_;
};

}  // namespace

std::unique_ptr<platform::UpdaterController> MacUpdaters::makeStandardUpdaterController(
    bool startingUpdater) {
  return std::make_unique<SparkleUpdaterController>(startingUpdater);
}

}  // namespace lumora::macos
