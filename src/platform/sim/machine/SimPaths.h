#pragma once

#include <filesystem>

namespace lumora::sim {

// Where the simulated Mac keeps its files.
struct SimPaths {
  std::filesystem::path displayStateFile;    // $XDG_STATE_HOME/lumora-virir/display.plist
  std::filesystem::path defaultsFile;        // $XDG_CONFIG_HOME/lumora-virir/defaults.plist
  std::filesystem::path pasteboardFile{};    // $XDG_STATE_HOME/lumora-virir/pasteboard.txt
  std::filesystem::path autostartDirectory;  // $XDG_CONFIG_HOME/autostart
  std::filesystem::path program;             // the running program, as the login item starts it
  // Where `lumora-virir --open` hands the app a URL: $XDG_RUNTIME_DIR/lumora-virir/run/, or the
  // run/ folder beside display.plist where that is unset.
  std::filesystem::path urlSocket{};  // empty: none

  // From the XDG base-directory variables; a variable that is unset, empty or not an absolute
  // path is ignored in favour of ~/.local/state and ~/.config.
  static SimPaths fromEnvironment();
};

}  // namespace lumora::sim
