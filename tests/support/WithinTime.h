#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>

namespace lumora::testing {

// Runs `body` in a child process and waits at most `limit` for it: true when it returned true
// in time. A body that blocks (in open() on a FIFO, say) is killed, and the test fails rather
// than hangs.
inline bool finishesWithin(std::chrono::milliseconds limit, const std::function<bool()>& body) {
  std::fflush(nullptr);
  const pid_t child = ::fork();
  if (child == 0) {
    const bool passed = body();
    std::fflush(nullptr);
    ::_exit(passed ? 0 : 1);
  }
  const auto deadline = std::chrono::steady_clock::now() + limit;
  int status = 0;
  while (::waitpid(child, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() >= deadline) {
      ::kill(child, SIGKILL);
      ::waitpid(child, &status, 0);
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace lumora::testing
