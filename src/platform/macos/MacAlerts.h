#pragma once

#include "platform/Alerts.h"

namespace lumora::macos {

// NSAlert, run modally.
class MacAlerts final : public platform::Alerts {
 public:
  int runModal(const platform::Alert& alert) override;
};

}  // namespace lumora::macos
