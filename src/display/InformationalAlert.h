#pragma once

#include <functional>
#include <string_view>

#include "platform/Alerts.h"
#include "platform/MainQueue.h"

namespace lumora {

// Shows an informational alert with one "OK" button once the current event has finished, on
// the main thread and above other apps, as a menu-bar app's alerts must be to be seen.
void queueInformationalAlert(platform::MainQueue& mainQueue, platform::Alerts& alerts,
                             std::string_view message, std::string_view informative);

// The same for any alert, and `answered` with the button's return code once it is dismissed.
void queueAlert(platform::MainQueue& mainQueue, platform::Alerts& alerts, platform::Alert alert,
                std::function<void(int response)> answered);

}  // namespace lumora
