#pragma once

#include <functional>

namespace lumora::platform {

// Blocks SIGTERM, SIGINT, SIGHUP and SIGQUIT in the calling thread and so in every thread it
// starts afterwards. The process entry point calls it first, before any other thread exists, so
// that these signals only ever reach the handler installed below.
void blockTerminationSignals();

// A reader of standard output that goes away (`lumora-virir | head -1`) would otherwise end the
// process with SIGPIPE, the display still raised; the failed write says so instead (see
// platform/posix/LineOutput.h). The process entry point calls it first too.
void ignoreBrokenPipes();

// SIGTERM, SIGINT, SIGHUP and SIGQUIT: every request to end the process (kill, Ctrl-C, a closed
// terminal or session, Ctrl-\).
class TerminationSignals {
 public:
  virtual ~TerminationSignals() = default;

  // From now on, the first of these signals runs `handler` once, on a thread of its own, never in
  // signal context and whatever the main thread is doing. The handler ends the process.
  virtual void install(std::function<void()> handler) = 0;

  // Ends the process at once with `status`, from any thread: standard output is flushed and the
  // terminal handed back, but no exit handlers, static destructors or application callbacks run,
  // so nothing races with a main thread that is still busy.
  [[noreturn]] virtual void exitProcess(int status) = 0;
};

}  // namespace lumora::platform
