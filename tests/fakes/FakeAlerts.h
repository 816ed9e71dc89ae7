#pragma once

#include <functional>
#include <vector>

#include "fakes/EventLog.h"
#include "platform/Alerts.h"

namespace lumora::testing {

class FakeAlerts final : public platform::Alerts {
 public:
  explicit FakeAlerts(EventLog& log) : log_(log) {}

  int runModal(const platform::Alert& alert) override;

  std::vector<platform::Alert> shown;
  // What runModal answers; the first button unless set.
  int response = platform::alertFirstButtonReturn;
  // Runs while the alert is up, before it is answered.
  std::function<void(const platform::Alert&)> whileShown;

 private:
  EventLog& log_;
};

}  // namespace lumora::testing
