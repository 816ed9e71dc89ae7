#pragma once

#include "platform/MainQueue.h"

namespace lumora::macos {

// The main dispatch queue.
class MacMainQueue final : public platform::MainQueue {
 public:
  void async(std::function<void()> work) override;
};

}  // namespace lumora::macos
