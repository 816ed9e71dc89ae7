#include "platform/sim/SimOperatingSystem.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace lumora::sim {

std::string SimOperatingSystem::homeDirectory() {
  // As NSHomeDirectory: HOME where it is set, the user's entry otherwise.
  if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') return home;
  if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr) {
    return entry->pw_dir;
  }
  return {};
}

}  // namespace lumora::sim
