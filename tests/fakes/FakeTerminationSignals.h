#pragma once

#include <functional>

#include "platform/TerminationSignals.h"

namespace lumora::testing {

// Thrown by exitProcess, so that a test can watch the process "end".
struct ProcessExited {
  int status;
};

class FakeTerminationSignals final : public platform::TerminationSignals {
 public:
  void install(std::function<void()> handler) override;
  [[noreturn]] void exitProcess(int status) override;

  std::function<void()> handler;
  int installs = 0;
};

}  // namespace lumora::testing
