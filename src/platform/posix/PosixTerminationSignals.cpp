#include "platform/posix/PosixTerminationSignals.h"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <thread>
#include <utility>

namespace lumora::platform {
namespace {

// SIGHUP (the terminal closed, the session ended) and SIGQUIT (Ctrl-backslash) end the app as
// SIGTERM does; by default they would kill it with the display raised and the terminal unrestored.
sigset_t terminationSignalSet() {
  sigset_t set;
  sigemptyset(&set);
  for (const int number : {SIGTERM, SIGINT, SIGHUP, SIGQUIT})
    sigaddset(&set, number);
  return set;
}

}  // namespace

void blockTerminationSignals() {
  const sigset_t set = terminationSignalSet();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

void ignoreBrokenPipes() {
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  sigaction(SIGPIPE, &ignore, nullptr);
}

void PosixTerminationSignals::setBeforeExit(std::function<void()> hook) {
  beforeExit_ = std::move(hook);
}

void PosixTerminationSignals::install(std::function<void()> handler) {
  if (installed_) return;
  installed_ = true;
  std::thread([this, handler = std::move(handler)] {
    const sigset_t set = terminationSignalSet();
    int received = 0;
    while (sigwait(&set, &received) != 0) {
    }
    handler();
    // The handler ends the process; should it return, the signal still ends it.
    exitProcess(0);
  }).detach();
}

void PosixTerminationSignals::exitProcess(int status) {
  std::fflush(nullptr);
  if (beforeExit_) beforeExit_();
  // _exit rather than exit: static destructors and exit handlers would run while the main
  // thread may still be using what they tear down.
  _exit(status);
}

}  // namespace lumora::platform
