#include "platform/macos/MacOpenedURLs.h"

#import <dispatch/dispatch.h>

#include <vector>

namespace lumora::macos {

struct MacOpenedURLs::State {
  std::function<platform::URLAnswer(std::string_view url)> handler;
  std::vector<std::string> waiting;
};

MacOpenedURLs::MacOpenedURLs(MacApplication &application)
    : application_(application), state_(std::make_shared<State>()) {
  const std::weak_ptr<State> weak = state_;
  [application_.bridge() setURLReceiver:[weak](std::string_view url) {
    const std::shared_ptr<State> state = weak.lock();
    if (!state) return;
    // Behind those still waiting, in order.
    if (state->handler && state->waiting.empty()) {
      state->handler(url);
    } else {
      state->waiting.emplace_back(url);
    }
  }];
}

MacOpenedURLs::~MacOpenedURLs() { [application_.bridge() setURLReceiver:nullptr]; }

void MacOpenedURLs::setHandler(std::function<platform::URLAnswer(std::string_view url)> handler) {
  state_->handler = std::move(handler);
  if (state_->waiting.empty()) return;
  // After the launch that set the handler has finished.
  const std::weak_ptr<State> weak = state_;
  dispatch_async(dispatch_get_main_queue(), ^{
    const std::shared_ptr<State> state = weak.lock();
    if (!state || !state->handler) return;
    std::vector<std::string> waiting;
    waiting.swap(state->waiting);
    for (const std::string &url : waiting) state->handler(url);
  });
}

}  // namespace lumora::macos
