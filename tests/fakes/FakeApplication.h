#pragma once

#include <memory>
#include <optional>

#include "fakes/EventLog.h"
#include "platform/Application.h"

namespace lumora::testing {

class FakeApplication final : public platform::Application {
 public:
  explicit FakeApplication(EventLog& log) : log_(log) {}

  void setDelegate(std::weak_ptr<platform::ApplicationDelegate> delegate) override;
  void setActivationPolicy(platform::ActivationPolicy policy) override;
  void activateIgnoringOtherApps(bool flag) override;
  // Finishes launching at once and returns, as if the loop had ended.
  void run() override;
  void terminate() override;
  void stop() override { stopped = true; }
  bool diagnoseRequested() const override { return diagnose; }

  std::weak_ptr<platform::ApplicationDelegate> delegate;
  bool finishesLaunchingOnRun = true;
  std::optional<platform::ActivationPolicy> policy;
  int activations = 0;
  bool terminated = false;
  bool stopped = false;
  bool diagnose = false;

 private:
  EventLog& log_;
};

}  // namespace lumora::testing
