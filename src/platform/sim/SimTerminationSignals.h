#pragma once

#include <functional>

#include "platform/TerminationSignals.h"
#include "platform/posix/PosixTerminationSignals.h"
#include "platform/sim/machine/AtomicFile.h"
#include "platform/sim/machine/LocalSocket.h"

namespace lumora::sim {

// SIGTERM and SIGINT as on the Mac; before the process ends, a file write in progress on the main
// thread is let finish, so that no temporary file is left behind, and the app's socket is removed.
class SimTerminationSignals final : public platform::TerminationSignals {
 public:
  // See PosixTerminationSignals::setBeforeExit.
  void setBeforeExit(std::function<void()> hook) { posix_.setBeforeExit(std::move(hook)); }

  void install(std::function<void()> handler) override { posix_.install(std::move(handler)); }
  [[noreturn]] void exitProcess(int status) override {
    finishWritesForExit();
    removeListeningSocketForExit();
    posix_.exitProcess(status);
  }

 private:
  platform::PosixTerminationSignals posix_;
};

}  // namespace lumora::sim
