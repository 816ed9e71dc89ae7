#include "fakes/FakeUpdaters.h"

namespace lumora::testing {

namespace {

class FakeUpdater final : public platform::Updater {
 public:
  explicit FakeUpdater(EventLog& log) : log_(log) {}
  void checkForUpdates() override { log_.add("updater.checkForUpdates"); }

 private:
  EventLog& log_;
};

class FakeUpdaterController final : public platform::UpdaterController {
 public:
  explicit FakeUpdaterController(EventLog& log) : updater_(log) {}
  platform::Updater& updater() override { return updater_; }

 private:
  FakeUpdater updater_;
};

}  // namespace

std::unique_ptr<platform::UpdaterController> FakeUpdaters::makeStandardUpdaterController(
    bool startingUpdater) {
  ++controllersMade;
  startingFlags.push_back(startingUpdater);
  log_.add("updaters.makeController");
  return std::make_unique<FakeUpdaterController>(log_);
}

}  // namespace lumora::testing
