#pragma once

#include "platform/Activities.h"

namespace lumora::macos {

// NSProcessInfo's beginActivityWithOptions:reason: and endActivity:, as user-initiated work.
class MacActivities final : public platform::Activities {
 public:
  std::unique_ptr<platform::Activity> begin(std::string_view reason) override;
};

}  // namespace lumora::macos
