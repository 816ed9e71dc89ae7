#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "platform/LoginItems.h"

namespace lumora::sim {

// The login item of the simulated Mac: a freedesktop autostart entry, lumora-virir.desktop in the
// autostart folder, that starts the program with --background: headless, with nothing read and
// nothing printed, as there is no terminal at login and a log would only grow.
class SimLoginItems final : public platform::LoginItems {
 public:
  SimLoginItems(std::filesystem::path autostartDirectory, std::filesystem::path program)
      : autostartDirectory_(std::move(autostartDirectory)), program_(std::move(program)) {}

  std::optional<std::string> registerMainApp() override;
  std::optional<std::string> unregisterMainApp() override;

  std::filesystem::path entryPath() const { return autostartDirectory_ / "lumora-virir.desktop"; }

  // The value of an Exec key that runs exactly `program`, quoted and escaped by the
  // Desktop Entry quoting rules.
  static std::string execValue(const std::string& program);
  // The entry whose Exec runs `program --background`.
  static std::string desktopEntry(const std::string& program);

 private:
  std::filesystem::path autostartDirectory_;
  std::filesystem::path program_;
};

}  // namespace lumora::sim
