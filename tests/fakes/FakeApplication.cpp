#include "fakes/FakeApplication.h"

#include <string>

namespace lumora::testing {

void FakeApplication::setDelegate(std::weak_ptr<platform::ApplicationDelegate> newDelegate) {
  delegate = std::move(newDelegate);
  log_.add("application.setDelegate");
}

void FakeApplication::setActivationPolicy(platform::ActivationPolicy newPolicy) {
  policy = newPolicy;
  log_.add("application.setActivationPolicy ", std::to_string(static_cast<int>(newPolicy)));
}

void FakeApplication::activateIgnoringOtherApps(bool) {
  ++activations;
  log_.add("application.activate");
}

void FakeApplication::run() {
  log_.add("application.run");
  if (!finishesLaunchingOnRun) return;
  if (const auto current = delegate.lock()) current->applicationDidFinishLaunching();
}

void FakeApplication::terminate() {
  log_.add("application.terminate");
  if (const auto current = delegate.lock()) current->applicationWillTerminate();
  terminated = true;
}

}  // namespace lumora::testing
