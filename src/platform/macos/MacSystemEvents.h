#pragma once

#include <memory>

#include "platform/SystemEvents.h"

namespace lumora::macos {

// Sleep and wake from NSWorkspace's own notification centre (they never reach the default one),
// and display reconfigurations from Core Graphics, handed to the main thread once the change has
// finished, one call for a whole burst.
class MacSystemEvents final : public platform::SystemEvents {
 public:
  MacSystemEvents();
  ~MacSystemEvents() override;
  MacSystemEvents(const MacSystemEvents&) = delete;
  MacSystemEvents& operator=(const MacSystemEvents&) = delete;

  void observe(platform::SystemEventHandlers handlers) override;

  // The handlers and registrations, shared with the callbacks.
  struct Observation;

 private:
  std::shared_ptr<Observation> observation_;
};

}  // namespace lumora::macos
