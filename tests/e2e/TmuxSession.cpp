#include "e2e/TmuxSession.h"

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

namespace lumora::testing {
namespace {

using Clock = std::chrono::steady_clock;

std::string quoted(const std::string& text) {
  std::string result = "'";
  for (const char c : text) {
    if (c == '\'') {
      result += "'\\''";
    } else {
      result += c;
    }
  }
  return result + "'";
}

std::string output(const std::string& command) {
  std::string text;
  const std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
  if (!pipe) return text;
  char buffer[4096];
  std::size_t count;
  while ((count = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0)
    text.append(buffer, count);
  return text;
}

}  // namespace

bool TmuxSession::available() {
  return std::system("tmux -V >/dev/null 2>&1") == 0;
}

TmuxSession::TmuxSession(const std::filesystem::path& home, int columns, int rows)
    : TmuxSession(home, Options{.columns = columns, .rows = rows}) {}

TmuxSession::TmuxSession(const std::filesystem::path& home, const Options& options) {
  static std::atomic<int> sessions{0};
  server_ = "lumora-test-" + std::to_string(::getpid()) + "-" + std::to_string(sessions++);
  const std::string program = LUMORA_PROGRAM_PATH;
  std::string environment = options.term.empty() ? "" : "TERM=" + quoted(options.term);
  for (const std::string& variable : options.environment)
    environment += " " + quoted(variable);
  // bash, because it outlives a Ctrl-C that its child handled, where sh would end with it.
  const std::string inner =
      std::string(options.term.empty() ? "env -u TERM" : "env") + " LANG=C.UTF-8 " + environment +
      " HOME=" + quoted(home.string()) + " XDG_STATE_HOME=" + quoted((home / "state").string()) +
      " XDG_CONFIG_HOME=" + quoted((home / "config").string()) + " " + quoted(program) +
      "; echo EXIT:$?; stty -a | tr ' ' '\\n' | grep -x -e -icanon -e icanon -e -echo -e echo"
      " | tr '\\n' ' '; echo; sleep 600";
  run("-f /dev/null new-session -d -s app -x " + std::to_string(options.columns) + " -y " +
      std::to_string(options.rows) + " " + quoted("bash -c " + quoted(inner)));
}

TmuxSession::~TmuxSession() {
  run("kill-server");
}

int TmuxSession::run(const std::string& arguments) {
  return std::system(("tmux -u -L " + server_ + " " + arguments + " >/dev/null 2>&1").c_str());
}

void TmuxSession::sendKeys(const std::vector<std::string>& keys) {
  for (const std::string& key : keys) {
    run("send-keys -t app " + quoted(key));
    // One at a time, as typed: an escape sequence is never split by a later key.
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
  }
}

std::string TmuxSession::capture() {
  return output("tmux -u -L " + server_ + " capture-pane -p -t app 2>/dev/null");
}

std::string TmuxSession::captureWithAttributes() {
  return output("tmux -u -L " + server_ + " capture-pane -p -e -t app 2>/dev/null");
}

std::string TmuxSession::terminalModes() {
  std::string modes = output("tmux -L " + server_ +
                             " display -p -t app '#{alternate_on} #{cursor_flag} "
                             "#{?#{||:#{mouse_standard_flag},#{||:#{mouse_button_flag},"
                             "#{mouse_any_flag}}},1,0}' 2>/dev/null");
  while (!modes.empty() && modes.back() == '\n')
    modes.pop_back();
  return modes;
}

void TmuxSession::resize(int columns, int rows) {
  run("resize-window -t app -x " + std::to_string(columns) + " -y " + std::to_string(rows));
}

void TmuxSession::close() {
  run("kill-session -t app");
}

std::vector<std::string> TmuxSession::highlighted() {
  const std::string screen =
      output("tmux -u -L " + server_ + " capture-pane -p -e -t app 2>/dev/null");
  std::vector<std::string> runs;
  std::istringstream rows(screen);
  std::string row;
  std::getline(rows, row);  // the menu bar is drawn in reverse throughout
  while (std::getline(rows, row)) {
    bool reversed = false;
    std::string text;
    for (std::size_t at = 0; at < row.size(); ++at) {
      if (row[at] != '\x1b') {
        if (reversed) text += row[at];
        continue;
      }
      const std::size_t end = row.find('m', at);
      if (end == std::string::npos) break;
      const std::string sequence = row.substr(at, end - at + 1);
      at = end;
      // Colour changes stay inside a run; a reset or "reverse off" ends it.
      const bool starts = sequence.find("[7m") != std::string::npos ||
                          sequence.find(";7m") != std::string::npos ||
                          sequence.find("[7;") != std::string::npos;
      const bool ends = sequence == "\x1b[0m" || sequence == "\x1b[m" || sequence == "\x1b[27m";
      if (starts && !reversed) {
        reversed = true;
      } else if (ends && reversed) {
        runs.push_back(text);
        text.clear();
        reversed = false;
      }
    }
    if (reversed) runs.push_back(text);
  }
  return runs;
}

bool TmuxSession::waitFor(const std::string& text, std::chrono::milliseconds limit) {
  const auto deadline = Clock::now() + limit;
  while (Clock::now() < deadline) {
    if (capture().find(text) != std::string::npos) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

bool TmuxSession::waitForGone(const std::string& text, std::chrono::milliseconds limit) {
  const auto deadline = Clock::now() + limit;
  while (Clock::now() < deadline) {
    if (capture().find(text) == std::string::npos) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

std::optional<pid_t> TmuxSession::programPid() {
  const std::string shell = output("tmux -L " + server_ + " list-panes -t app -F '#{pane_pid}'");
  const pid_t shellPid = static_cast<pid_t>(std::atoi(shell.c_str()));
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream stat(entry.path() / "stat");
    std::string line;
    if (!std::getline(stat, line)) continue;
    const std::size_t afterName = line.rfind(')');
    if (afterName == std::string::npos) continue;
    std::istringstream fields(line.substr(afterName + 2));
    std::string state;
    pid_t parent = 0;
    fields >> state >> parent;
    if (parent == shellPid) return static_cast<pid_t>(std::atoi(name.c_str()));
  }
  return std::nullopt;
}

}  // namespace lumora::testing
