#pragma once

#import <CoreGraphics/CoreGraphics.h>

#include <memory>

#include "platform/SystemEvents.h"

namespace lumora::macos {

// Core Graphics's registration of display-reconfiguration callbacks; a test stands in for it.
struct DisplayReconfigurationCalls {
  CGError (*registerCallback)(CGDisplayReconfigurationCallBack callback, void* userInfo);
  CGError (*removeCallback)(CGDisplayReconfigurationCallBack callback, void* userInfo);
};

// Sleep, wake and Space changes from NSWorkspace's own notification centre (they never reach the
// default one), the lock screen from the distributed centre, and display reconfigurations from
// Core Graphics, handed to the main thread once the change has finished, one call for a whole
// burst. Every observer is removed with its owner.
class MacSystemEvents final : public platform::SystemEvents {
 public:
  explicit MacSystemEvents(DisplayReconfigurationCalls calls = {
                               CGDisplayRegisterReconfigurationCallback,
                               CGDisplayRemoveReconfigurationCallback});
  ~MacSystemEvents() override;
  MacSystemEvents(const MacSystemEvents&) = delete;
  MacSystemEvents& operator=(const MacSystemEvents&) = delete;

  void observe(platform::SystemEventHandlers handlers) override;

  // The handlers and registrations, shared with the callbacks.
  struct Observation;
  // What Core Graphics's callback is given: it reaches the observation only while it lives.
  struct CallbackContext;

 private:
  DisplayReconfigurationCalls calls_;
  std::shared_ptr<Observation> observation_;
  std::unique_ptr<CallbackContext> context_;  // registered while set
};

}  // namespace lumora::macos
