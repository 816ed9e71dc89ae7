#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/OpenedURLs.h"
#include "platform/macos/MacApplication.h"

namespace lumora::macos {

// The URLs of the app's scheme (CFBundleURLTypes in Info.plist), from the delegate bridge's
// application:openURLs:. Nothing here activates the app or shows it in the Dock; a refusal is
// the core's to tell, on standard error. URLs that come with the launch, before the core takes
// them, wait for it.
class MacOpenedURLs final : public platform::OpenedURLs {
 public:
  explicit MacOpenedURLs(MacApplication& application);
  ~MacOpenedURLs() override;
  MacOpenedURLs(const MacOpenedURLs&) = delete;
  MacOpenedURLs& operator=(const MacOpenedURLs&) = delete;

  void setHandler(std::function<platform::URLAnswer(std::string_view url)> handler) override;

  // The handler and the URLs waiting for it, shared with the bridge and the main queue.
  struct State;

 private:
  MacApplication& application_;
  std::shared_ptr<State> state_;
};

}  // namespace lumora::macos
