#pragma once

#include <string>
#include <vector>

namespace lumora::platform {

// NSAlertStyle.
enum class AlertStyle { warning = 0, informational = 1, critical = 2 };

// NSAlertFirstButtonReturn; the second button answers 1001 and so on.
inline constexpr int alertFirstButtonReturn = 1000;
// NSModalResponseAbort: the modal session was ended without the user answering.
inline constexpr int alertAbortedResponse = -1001;

struct Alert {
  std::string messageText;
  std::string informativeText;
  AlertStyle style = AlertStyle::warning;
  std::vector<std::string> buttonTitles;
  // Shown above other applications' windows without activating this one, so that an alert of a
  // menu-bar-only application cannot open unseen behind the frontmost application.
  bool floatsAboveOtherApplications = false;

  friend bool operator==(const Alert&, const Alert&) = default;
};

class Alerts {
 public:
  virtual ~Alerts() = default;

  // NSAlert runModal: shows the alert and returns, with the button's return code, once the user
  // has dismissed it. Timers and the main queue wait meanwhile.
  virtual int runModal(const Alert& alert) = 0;
};

}  // namespace lumora::platform
