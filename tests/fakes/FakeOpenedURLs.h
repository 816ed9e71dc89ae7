#pragma once

#include <functional>
#include <string_view>

#include "platform/OpenedURLs.h"

namespace lumora::testing {

// URLs handed to the app by the tests, as the system hands them.
class FakeOpenedURLs final : public platform::OpenedURLs {
 public:
  void setHandler(std::function<platform::URLAnswer(std::string_view url)> newHandler) override {
    handler = std::move(newHandler);
  }

  platform::URLAnswer open(std::string_view url) {
    if (!handler) return platform::URLAnswer{.done = false, .text = "no handler"};
    return handler(url);
  }

  std::function<platform::URLAnswer(std::string_view url)> handler;
};

}  // namespace lumora::testing
