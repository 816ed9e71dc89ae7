#pragma once

#include <functional>

#include "platform/TerminationSignals.h"

namespace lumora::platform {

// SIGTERM, SIGINT, SIGHUP and SIGQUIT through a thread that waits for them with sigwait. The
// signals must have been blocked with blockTerminationSignals before any thread started.
class PosixTerminationSignals final : public TerminationSignals {
 public:
  // Runs in exitProcess on the exiting thread, while the main thread may still be busy: only
  // work that is safe then, such as handing the terminal back.
  void setBeforeExit(std::function<void()> hook);

  void install(std::function<void()> handler) override;
  [[noreturn]] void exitProcess(int status) override;

 private:
  std::function<void()> beforeExit_;
  bool installed_ = false;
};

}  // namespace lumora::platform
