#include "e2e/RunningApp.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>

extern char** environ;

namespace lumora::testing {
namespace {

using Clock = std::chrono::steady_clock;

std::vector<std::string> environmentFor(const std::filesystem::path& home) {
  std::vector<std::string> variables;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string variable = *entry;
    if (variable.starts_with("XDG_") || variable.starts_with("HOME=")) continue;
    variables.push_back(variable);
  }
  variables.push_back("HOME=" + home.string());
  variables.push_back("XDG_STATE_HOME=" + (home / "state").string());
  variables.push_back("XDG_CONFIG_HOME=" + (home / "config").string());
  // Leaks are the sanitizer's business only when they are real ones.
  variables.push_back("ASAN_OPTIONS=detect_leaks=1");
  return variables;
}

}  // namespace

RunningApp::RunningApp(const std::filesystem::path& home, const std::vector<std::string>& arguments,
                       const std::vector<std::string>& moreEnvironment,
                       const std::optional<AsUser>& user) {
  // A program that ended before reading what is sent must not end the tests too.
  ::signal(SIGPIPE, SIG_IGN);
  int in[2], out[2], err[2];
  if (::pipe(in) != 0 || ::pipe(out) != 0 || ::pipe(err) != 0) throw std::runtime_error("pipe");
  std::vector<std::string> variables = environmentFor(home);
  variables.insert(variables.end(), moreEnvironment.begin(), moreEnvironment.end());
  std::vector<char*> envp;
  for (const std::string& variable : variables)
    envp.push_back(const_cast<char*>(variable.c_str()));
  envp.push_back(nullptr);
  const std::string program = user ? user->program.string() : LUMORA_PROGRAM_PATH;
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const std::string& argument : arguments)
    argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  pid_ = ::fork();
  if (pid_ == 0) {
    ::dup2(in[0], STDIN_FILENO);
    ::dup2(out[1], STDOUT_FILENO);
    ::dup2(err[1], STDERR_FILENO);
    for (const int fd : {in[0], in[1], out[0], out[1], err[0], err[1]})
      ::close(fd);
    if (user && (::setgid(user->uid) != 0 || ::setuid(user->uid) != 0)) ::_exit(126);
    ::execve(program.c_str(), argv.data(), envp.data());
    ::_exit(127);
  }
  ::close(in[0]);
  ::close(out[1]);
  ::close(err[1]);
  input_ = in[1];
  output_ = out[0];
  errors_ = err[0];
  ::fcntl(output_, F_SETFL, O_NONBLOCK);
  ::fcntl(errors_, F_SETFL, O_NONBLOCK);
}

RunningApp::~RunningApp() {
  if (!status_ && pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  for (const int fd : {input_, output_, errors_}) {
    if (fd >= 0) ::close(fd);
  }
}

void RunningApp::send(const std::string& line) {
  sendTogether({line});
}

void RunningApp::sendTogether(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines)
    text += line + "\n";
  // A long line goes in pieces, as the program reads them.
  for (std::size_t sent = 0; sent < text.size() && input_ >= 0;) {
    const ssize_t written = ::write(input_, text.data() + sent, text.size() - sent);
    if (written <= 0) return;
    sent += static_cast<std::size_t>(written);
  }
}

void RunningApp::closeOutput() {
  if (output_ >= 0) ::close(output_);
  output_ = -1;
}

void RunningApp::closeInput() {
  if (input_ >= 0) ::close(input_);
  input_ = -1;
}

RunningApp::Read RunningApp::readSome(int fd, std::string& into, std::chrono::milliseconds wait) {
  pollfd poller{fd, POLLIN, 0};
  if (::poll(&poller, 1, static_cast<int>(wait.count())) <= 0) return Read::nothing;
  char buffer[4096];
  const ssize_t count = ::read(fd, buffer, sizeof buffer);
  if (count == 0) return Read::closed;
  if (count < 0) return Read::nothing;
  into.append(buffer, static_cast<std::size_t>(count));
  return Read::some;
}

void RunningApp::splitLines() {
  std::size_t newline;
  while ((newline = pendingOutput_.find('\n')) != std::string::npos) {
    lines_.push_back(pendingOutput_.substr(0, newline));
    pendingOutput_.erase(0, newline + 1);
  }
}

const std::vector<std::string>& RunningApp::linesUntilClosed(std::chrono::milliseconds limit) {
  const auto deadline = Clock::now() + limit;
  while (Clock::now() < deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (readSome(output_, pendingOutput_, std::min(left, std::chrono::milliseconds(100))) ==
        Read::closed) {
      break;
    }
  }
  splitLines();
  return lines_;
}

std::optional<std::string> RunningApp::waitForLine(const std::string& text,
                                                   std::chrono::milliseconds limit) {
  const auto deadline = Clock::now() + limit;
  for (;;) {
    std::size_t newline;
    while ((newline = pendingOutput_.find('\n')) != std::string::npos) {
      std::string line = pendingOutput_.substr(0, newline);
      pendingOutput_.erase(0, newline + 1);
      lines_.push_back(line);
      if (line.find(text) != std::string::npos) return line;
    }
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return std::nullopt;
    if (readSome(output_, pendingOutput_, std::min(left, std::chrono::milliseconds(100))) !=
        Read::some) {
      int status = 0;
      if (!status_ && ::waitpid(pid_, &status, WNOHANG) == pid_) {
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      if (status_ &&
          readSome(output_, pendingOutput_, std::chrono::milliseconds(0)) != Read::some) {
        return std::nullopt;
      }
    }
  }
}

const std::vector<std::string>& RunningApp::linesAfter(std::chrono::milliseconds wait) {
  const auto deadline = Clock::now() + wait;
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) break;
    if (readSome(output_, pendingOutput_, left) != Read::some)
      ::usleep(10'000);  // ended, or nothing yet
  }
  splitLines();
  return lines_;
}

int RunningApp::signalAndWait(int signal) {
  ::kill(pid_, signal);
  return waitForExit();
}

int RunningApp::waitForExit(std::chrono::milliseconds limit) {
  const auto deadline = Clock::now() + limit;
  while (!status_) {
    int status = 0;
    const pid_t done = ::waitpid(pid_, &status, WNOHANG);
    if (done == pid_) {
      status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      break;
    }
    if (Clock::now() >= deadline) return -1;
    ::usleep(10'000);
  }
  return *status_;
}

std::string RunningApp::errorOutput() {
  while (readSome(errors_, errorText_, std::chrono::milliseconds(0)) == Read::some) {
  }
  return errorText_;
}

bool secondStartIsRefused(const std::filesystem::path& home, std::optional<pid_t> holder,
                          std::string& why) {
  RunningApp second(home);
  const int status = second.waitForExit();
  why = "status " + std::to_string(status) + ", said: " + second.errorOutput();
  const std::string said = "Lumora Virir is already running" +
                           (holder ? " (process " + std::to_string(*holder) + ")" : std::string());
  return status == 0 && second.errorOutput().find(said) != std::string::npos &&
         second.outputLines().empty();
}

}  // namespace lumora::testing
