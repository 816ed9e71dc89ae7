#pragma once

#include <cstddef>
#include <memory>

#include "platform/Activities.h"

namespace lumora::sim {

// The activities of the simulated Mac: nothing naps here, so they are only counted, for the
// headless front end, which holds the next command while one is open.
class SimActivities final : public platform::Activities {
 public:
  std::unique_ptr<platform::Activity> begin(std::string_view reason) override;

  bool anyOpen() const { return *open_ > 0; }

 private:
  // Shared with each activity, which may outlive the service at the end of the process.
  std::shared_ptr<std::size_t> open_ = std::make_shared<std::size_t>(0);
};

}  // namespace lumora::sim
