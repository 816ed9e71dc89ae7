#include "platform/sim/machine/ProcessIdentity.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>

#include "platform/sim/machine/FileDescriptor.h"

namespace lumora::sim {
namespace {

// Field 22 of /proc/<pid>/stat; the command name before it may hold spaces and parentheses,
// so counting starts after its last closing parenthesis.
std::int64_t startTimeOf(pid_t pid) {
  char path[40];
  std::snprintf(path, sizeof path, "/proc/%d/stat", static_cast<int>(pid));
  const FileDescriptor fd(::open(path, O_RDONLY | O_CLOEXEC));
  if (!fd.valid()) return 0;
  char line[1024];
  ssize_t length = 0;
  do {
    length = ::read(fd.get(), line, sizeof line - 1);
  } while (length < 0 && errno == EINTR);
  if (length <= 0) return 0;
  std::size_t at = static_cast<std::size_t>(length);
  while (at > 0 && line[at - 1] != ')')
    --at;
  if (at == 0) return 0;
  // Fields 3 to 22, separated by single spaces.
  int field = 2;
  std::int64_t value = 0;
  bool digits = false;
  for (; at < static_cast<std::size_t>(length); ++at) {
    const char c = line[at];
    if (c == ' ') {
      if (field == 22) break;
      ++field;
    } else if (field == 22) {
      if (c < '0' || c > '9' || value > (INT64_MAX - 9) / 10) return 0;
      value = value * 10 + (c - '0');
      digits = true;
    }
  }
  return digits ? value : 0;
}

// This process, read once; a forked child is another process and reads itself again.
std::atomic<bool> known{false};
std::atomic<pid_t> knownPid{0};
std::atomic<std::int64_t> knownStart{0};

void forgetAfterFork() {
  known.store(false);
}

}  // namespace

ProcessIdentity ProcessIdentity::current() {
  static const bool watchingForks = ::pthread_atfork(nullptr, nullptr, forgetAfterFork) == 0;
  if (!watchingForks || !known.load()) {
    const pid_t pid = ::getpid();
    knownStart.store(startTimeOf(pid));
    knownPid.store(pid);
    known.store(true);
  }
  return ProcessIdentity{knownPid.load(), knownStart.load()};
}

bool ProcessIdentity::isRunning() const {
  if (pid <= 0) return false;
  const ProcessIdentity self = current();
  if (pid == self.pid) return startTime == 0 || startTime == self.startTime;
  if (::kill(pid, 0) != 0 && errno != EPERM) return false;
  return startTime == 0 || startTimeOf(pid) == startTime;
}

}  // namespace lumora::sim
