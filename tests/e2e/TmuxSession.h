#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace lumora::testing {

// The built program in a terminal of its own: a detached tmux session on a private server, with
// the program's XDG folders (and HOME) under `home`. When the program ends, the shell around it
// prints "EXIT:<status>" and the terminal's settings.
class TmuxSession {
 public:
  struct Options {
    int columns = 80;
    int rows = 24;
    std::string term = "xterm-256color";        // empty: TERM unset
    std::vector<std::string> environment = {};  // more variables, as "NO_COLOR=1"
  };

  static bool available();

  TmuxSession(const std::filesystem::path& home, int columns = 80, int rows = 24);
  TmuxSession(const std::filesystem::path& home, const Options& options);
  TmuxSession(const TmuxSession&) = delete;
  TmuxSession& operator=(const TmuxSession&) = delete;
  ~TmuxSession();

  // Keys as tmux names them: "Enter", "Down", "Escape", "C-c", "q".
  void sendKeys(const std::vector<std::string>& keys);
  std::string capture();
  // The screen with its attributes as escape sequences.
  std::string captureWithAttributes();
  // The terminal's modes as the program left them: "alternate screen, cursor shown, mouse
  // reporting" as tmux reports them, e.g. "0 1 0" when all is handed back.
  std::string terminalModes();
  void resize(int columns, int rows);
  // Ends the session as closing a terminal window does: its processes get SIGHUP.
  void close();
  // The highlighted (reverse-video) runs of text below the menu bar, as the selected entries of
  // the open menus.
  std::vector<std::string> highlighted();
  // Captures until the screen shows `text`; false when the time runs out.
  bool waitFor(const std::string& text, std::chrono::milliseconds limit = std::chrono::seconds(10));
  bool waitForGone(const std::string& text,
                   std::chrono::milliseconds limit = std::chrono::seconds(10));
  // The program's process, a child of the session's shell.
  std::optional<pid_t> programPid();

 private:
  int run(const std::string& arguments);
  std::string server_;
};

}  // namespace lumora::testing
