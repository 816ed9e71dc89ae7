#include "platform/sim/SimApplication.h"

namespace lumora::sim {

void SimApplication::setDelegate(std::weak_ptr<platform::ApplicationDelegate> delegate) {
  delegate_ = std::move(delegate);
}

void SimApplication::setActivationPolicy(platform::ActivationPolicy policy) {
  policy_ = policy;
  // An accessory application cannot stay the active one.
  if (policy != platform::ActivationPolicy::regular) active_ = false;
}

void SimApplication::activateIgnoringOtherApps(bool) {
  // Only an application with a place in the Dock can come to the front.
  if (policy_ == platform::ActivationPolicy::regular) active_ = true;
}

void SimApplication::run() {
  // As NSApplication: launching finishes before the loop handles anything else.
  if (!launched_) {
    launched_ = true;
    if (const auto delegate = delegate_.lock()) delegate->applicationDidFinishLaunching();
    // What launching changed is stored before the first event is handled.
    loop_.finishPass();
  }
  loop_.run();
}

void SimApplication::terminate() {
  if (terminated_) return;
  if (const auto delegate = delegate_.lock()) delegate->applicationWillTerminate();
  terminated_ = true;
  // The loop ends here, so nothing else is handled; run returns and the process exits with 0.
  loop_.stop();
}

std::string SimApplication::diagnosticReport() const {
  const auto delegate = delegate_.lock();
  return delegate != nullptr ? delegate->diagnosticReport() : std::string();
}

bool SimApplication::delegateRespondsTo(std::string_view selector) const {
  const auto delegate = delegate_.lock();
  return delegate != nullptr && delegate->respondsToMenuAction(selector);
}

void SimApplication::sendMenuAction(std::string_view selector,
                                    const platform::MenuItemSender& sender) {
  if (terminated_) return;
  if (const auto delegate = delegate_.lock()) delegate->performMenuAction(selector, sender);
}

}  // namespace lumora::sim
