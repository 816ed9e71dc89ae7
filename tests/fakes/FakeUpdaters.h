#pragma once

#include <memory>
#include <vector>

#include "fakes/EventLog.h"
#include "platform/Updaters.h"

namespace lumora::testing {

class FakeUpdaters final : public platform::Updaters {
 public:
  explicit FakeUpdaters(EventLog& log) : log_(log) {}

  std::unique_ptr<platform::UpdaterController> makeStandardUpdaterController(
      bool startingUpdater) override;

  int controllersMade = 0;
  std::vector<bool> startingFlags;

 private:
  EventLog& log_;
};

}  // namespace lumora::testing
