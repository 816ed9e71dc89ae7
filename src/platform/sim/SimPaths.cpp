#include "sim/SimPaths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace lumora::sim {
namespace {

constexpr const char* folderName = "lumora-virir";

std::filesystem::path homeDirectory() {
  if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') return home;
  if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir != nullptr) {
    return entry->pw_dir;
  }
  return "/";
}

std::filesystem::path baseDirectory(const char* variable, const char* fallbackUnderHome) {
  if (const char* value = std::getenv(variable); value != nullptr && value[0] == '/') {
    return value;
  }
  return homeDirectory() / fallbackUnderHome;
}

}  // namespace

SimPaths SimPaths::fromEnvironment() {
  return SimPaths{
      .displayStateFile =
          baseDirectory("XDG_STATE_HOME", ".local/state") / folderName / "display.plist",
      .defaultsFile = baseDirectory("XDG_CONFIG_HOME", ".config") / folderName / "defaults.plist",
  };
}

}  // namespace lumora::sim
