#include "platform/sim/machine/SimPaths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <system_error>

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

std::filesystem::path runningProgram() {
  std::error_code error;
  std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path("lumora-virir") : program;
}

}  // namespace

SimPaths SimPaths::fromEnvironment() {
  const std::filesystem::path config = baseDirectory("XDG_CONFIG_HOME", ".config");
  const std::filesystem::path state = baseDirectory("XDG_STATE_HOME", ".local/state") / folderName;
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  const std::filesystem::path run =
      (runtime != nullptr && runtime[0] == '/' ? std::filesystem::path(runtime) / folderName
                                               : state) /
      "run";
  return SimPaths{
      .displayStateFile = state / "display.plist",
      .defaultsFile = config / folderName / "defaults.plist",
      .pasteboardFile = state / "pasteboard.txt",
      .autostartDirectory = config / "autostart",
      .program = runningProgram(),
      .urlSocket = run / "open.socket",
  };
}

}  // namespace lumora::sim
