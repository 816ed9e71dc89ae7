#include "platform/sim/machine/ProcessIdentity.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>
#include <string>

namespace lumora::sim {
namespace {

// Field 22 of /proc/<pid>/stat; the command name before it may hold spaces and parentheses,
// so counting starts after its closing parenthesis.
std::int64_t startTimeOf(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(in, line)) return 0;
  const std::size_t afterName = line.rfind(')');
  if (afterName == std::string::npos) return 0;
  std::istringstream fields(line.substr(afterName + 1));
  std::string field;
  for (int index = 3; index <= 22 && fields >> field; ++index) {
    if (index == 22) {
      try {
        return std::stoll(field);
      } catch (...) {
        return 0;
      }
    }
  }
  return 0;
}

}  // namespace

ProcessIdentity ProcessIdentity::current() {
  const pid_t pid = ::getpid();
  return ProcessIdentity{pid, startTimeOf(pid)};
}

bool ProcessIdentity::isRunning() const {
  if (pid <= 0) return false;
  if (::kill(pid, 0) != 0 && errno != EPERM) return false;
  return startTime == 0 || startTimeOf(pid) == startTime;
}

}  // namespace lumora::sim
