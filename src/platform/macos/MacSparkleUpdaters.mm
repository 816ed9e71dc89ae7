#include "platform/macos/MacUpdaters.h"

#import <Foundation/Foundation.h>
#import <Sparkle/Sparkle.h>

#include "platform/macos/MacUnconfiguredUpdater.h"

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

// The bundle names a feed and its key: without them the updater has nothing to check.
bool hasUpdateFeed() {
  NSDictionary *info = NSBundle.mainBundle.infoDictionary;
  NSString *feed = info[@"SUFeedURL"];
  NSString *key = info[@"SUPublicEDKey"];
  return [feed isKindOfClass:[NSString class]] && feed.length > 0 &&
         [key isKindOfClass:[NSString class]] && key.length > 0;
}

}  // namespace

std::unique_ptr<platform::UpdaterController> MacUpdaters::makeStandardUpdaterController(
    bool startingUpdater) {
  if (!hasUpdateFeed()) {
    return std::make_unique<MacUnconfiguredUpdaterController>(
        alerts_, "This build of Lumora Virir has no update feed configured, so it cannot check for "
                 "updates. Download the newest version from the Lumora Virir website instead.");
  }
  return std::make_unique<SparkleUpdaterController>(startingUpdater);
}

}  // namespace lumora::macos
