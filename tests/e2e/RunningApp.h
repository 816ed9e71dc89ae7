#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace lumora::testing {

// Another user to run the program as, with a copy of the program that this user can reach: the
// built one sits in a folder that only its owner may enter (see CMakeLists.txt).
struct AsUser {
  uid_t uid;
  std::filesystem::path program;
};

// The built program, started on the simulated Mac with its own XDG folders (and HOME) under
// `home`, standard input, output and error on pipes, with `arguments` after its name, the
// variables of `moreEnvironment` ("NAME=value") and, when given, as another user.
class RunningApp {
 public:
  explicit RunningApp(const std::filesystem::path& home,
                      const std::vector<std::string>& arguments = {},
                      const std::vector<std::string>& moreEnvironment = {},
                      const std::optional<AsUser>& user = std::nullopt);
  RunningApp(const RunningApp&) = delete;
  RunningApp& operator=(const RunningApp&) = delete;
  ~RunningApp();

  // Writes one command line to the program's standard input.
  void send(const std::string& line);
  // Writes the lines in one write, as a script sends a command and what follows it: they wait
  // in the pipe together, whatever the first one sets off.
  void sendTogether(const std::vector<std::string>& lines);
  // Stops reading the program's standard output, as `| head -1` does after its line: its
  // writes fail from then on.
  void closeOutput();
  // Closes the program's standard input: its end, as at the end of a script.
  void closeInput();
  // Standard output's lines until one contains `text`; none when the program ends or the time
  // runs out first.
  std::optional<std::string> waitForLine(
      const std::string& text, std::chrono::milliseconds limit = std::chrono::seconds(15));
  // Sends `signal` and waits for the end; see waitForExit.
  int signalAndWait(int signal);
  // The exit status, or 128 + the signal's number when a signal ended it; -1 on a time-out.
  int waitForExit(std::chrono::milliseconds limit = std::chrono::seconds(15));

  pid_t pid() const { return pid_; }
  const std::vector<std::string>& outputLines() const { return lines_; }
  // Everything standard output has said until now, in lines, after waiting `wait` for more.
  const std::vector<std::string>& linesAfter(std::chrono::milliseconds wait);
  // Every line standard output says until it is closed (the program has ended), or the time runs
  // out.
  const std::vector<std::string>& linesUntilClosed(
      std::chrono::milliseconds limit = std::chrono::seconds(15));
  std::string errorOutput();

 private:
  enum class Read { some, nothing, closed };
  Read readSome(int fd, std::string& into, std::chrono::milliseconds wait);
  void splitLines();

  pid_t pid_ = -1;
  int input_ = -1;
  int output_ = -1;
  int errors_ = -1;
  std::string pendingOutput_;
  std::string errorText_;
  std::vector<std::string> lines_;
  std::optional<int> status_;
};

// Starts the program again on `home`, as a second copy: true when it ended at once with status 0,
// saying that Lumora Virir is already running (as process `holder`, when given) and printing
// nothing on standard output. `why` tells what it did otherwise.
bool secondStartIsRefused(const std::filesystem::path& home, std::optional<pid_t> holder,
                          std::string& why);

}  // namespace lumora::testing
