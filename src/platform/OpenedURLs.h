#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace lumora::platform {

// What the app made of a URL handed to it.
struct URLAnswer {
  bool done = false;
  std::string text{};  // what was done, or why nothing was
};

// The URLs of the app's own scheme that the system hands to it: from `open` in Terminal,
// Shortcuts' "Open URLs", a link (application:openURLs:).
class OpenedURLs {
 public:
  virtual ~OpenedURLs() = default;

  // From now on each URL goes to `handler` on the main thread; those handed over before this
  // call follow on a later turn of the run loop, in order. Where the backend has a sender to
  // answer, the answer goes back to it.
  virtual void setHandler(std::function<URLAnswer(std::string_view url)> handler) = 0;
};

}  // namespace lumora::platform
