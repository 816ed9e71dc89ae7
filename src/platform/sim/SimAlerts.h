#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "platform/Alerts.h"
#include "platform/sim/EventLoop.h"

namespace lumora::sim {

// Modal alerts of the simulated Mac. runModal shows the alert and runs a modal session until the
// front end or a test answers it with one of its buttons.
class SimAlerts final : public platform::Alerts {
 public:
  explicit SimAlerts(EventLoop& loop) : loop_(loop) {}

  int runModal(const platform::Alert& alert) override;

  // The alert on screen (the innermost one), if any.
  const platform::Alert* currentAlert() const;
  // How many alerts are open, one inside the other.
  std::size_t openCount() const { return sessions_.size(); }
  // Dismisses the alert on screen with the button whose return code is `response` (1000 for the
  // first). False when no alert is up or it has no such button.
  bool answer(int response);

  // Called each time an alert comes up or goes away.
  void setObserver(std::function<void()> observer) { observer_ = std::move(observer); }
  // Every alert shown so far, in order.
  const std::vector<platform::Alert>& shown() const { return shown_; }

 private:
  struct Session {
    platform::Alert alert;
    std::optional<int> response;
  };
  void notify() {
    if (observer_) observer_();
  }

  EventLoop& loop_;
  std::vector<Session*> sessions_;
  std::vector<platform::Alert> shown_;
  std::function<void()> observer_;
};

}  // namespace lumora::sim
