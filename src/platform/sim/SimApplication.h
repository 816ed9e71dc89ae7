#pragma once

#include <memory>
#include <string_view>

#include "platform/Application.h"
#include "platform/sim/EventLoop.h"

namespace lumora::sim {

// The application object of the simulated Mac. It starts with the regular policy, like a bundle
// that does not ask to be an agent.
class SimApplication final : public platform::Application {
 public:
  explicit SimApplication(EventLoop& loop) : loop_(loop) {}

  void setDelegate(std::weak_ptr<platform::ApplicationDelegate> delegate) override;
  void setActivationPolicy(platform::ActivationPolicy policy) override;
  void activateIgnoringOtherApps(bool flag) override;
  void run() override;
  void terminate() override;
  void stop() override { loop_.stop(); }
  bool diagnoseRequested() const override { return diagnoseRequested_; }
  void requestDiagnosis() { diagnoseRequested_ = true; }

  platform::ActivationPolicy activationPolicy() const { return policy_; }
  // Whether the application shows in the Dock: only with the regular policy.
  bool showsInDock() const { return policy_ == platform::ActivationPolicy::regular; }
  bool isActive() const { return active_; }
  bool hasTerminated() const { return terminated_; }

  // What picking a menu entry does: the entry's action goes to the delegate.
  bool delegateRespondsTo(std::string_view selector) const;
  void sendMenuAction(std::string_view selector, const platform::MenuItemSender& sender);
  // The delegate's diagnosis of the run; empty without a delegate.
  std::string diagnosticReport() const;

 private:
  EventLoop& loop_;
  std::weak_ptr<platform::ApplicationDelegate> delegate_;
  platform::ActivationPolicy policy_ = platform::ActivationPolicy::regular;
  bool active_ = false;
  bool launched_ = false;
  bool terminated_ = false;
  bool diagnoseRequested_ = false;
};

}  // namespace lumora::sim
