#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "platform/Console.h"
#include "platform/LoginItems.h"

namespace lumora::sim {

// The login item of the simulated Mac: a freedesktop autostart entry, lumora-virir.desktop in the
// autostart folder, that starts the program with --background: headless, with nothing read and
// nothing printed, as there is no terminal at login and a log would only grow. Its status is
// read from the entry each time: the desktop's startup settings turn an entry off with
// X-GNOME-Autostart-enabled=false (registered, but waiting for the user, as a login item that
// requires approval) and delete it with Hidden=true.
class SimLoginItems final : public platform::LoginItems {
 public:
  SimLoginItems(std::filesystem::path autostartDirectory, std::filesystem::path program,
                platform::Console& console)
      : autostartDirectory_(std::move(autostartDirectory)),
        program_(std::move(program)),
        console_(console) {}

  platform::LoginItemStatus status() override;
  std::optional<std::string> registerMainApp() override;
  std::optional<std::string> unregisterMainApp() override;
  // There are no settings to open: says where the entry is and how it is turned on.
  void openLoginItemsSettings() override;

  std::filesystem::path entryPath() const { return autostartDirectory_ / "lumora-virir.desktop"; }

  // The value of an Exec key that runs exactly `program`, quoted and escaped by the
  // Desktop Entry quoting rules.
  static std::string execValue(const std::string& program);
  // The entry whose Exec runs `program --background`.
  static std::string desktopEntry(const std::string& program);

 private:
  std::filesystem::path autostartDirectory_;
  std::filesystem::path program_;
  platform::Console& console_;
};

}  // namespace lumora::sim
