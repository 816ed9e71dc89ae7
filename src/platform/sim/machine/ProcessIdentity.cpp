#include "platform/sim/machine/ProcessIdentity.h"

#include <fcntl.h>
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

}  // namespace

ProcessIdentity ProcessIdentity::current() {
  // Read once per process; a forked child has a number of its own and reads it again.
  static std::atomic<pid_t> cachedPid{0};
  static std::atomic<std::int64_t> cachedStart{0};
  const pid_t pid = ::getpid();
  if (cachedPid.load() != pid) {
    cachedStart.store(startTimeOf(pid));
    cachedPid.store(pid);
  }
  return ProcessIdentity{pid, cachedStart.load()};
}

bool ProcessIdentity::isRunning() const {
  if (pid <= 0) return false;
  if (pid == ::getpid()) return startTime == 0 || startTime == current().startTime;
  if (::kill(pid, 0) != 0 && errno != EPERM) return false;
  return startTime == 0 || startTimeOf(pid) == startTime;
}

}  // namespace lumora::sim
