#include "platform/sim/frontends/OpenURLCommand.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "platform/sim/SimOpenedURLs.h"
#include "platform/sim/machine/LocalSocket.h"

namespace lumora::sim {
namespace {

using Clock = std::chrono::steady_clock;

int fail(int status, const std::string& why) {
  std::fprintf(stderr, "lumora-virir: %s\n", why.c_str());
  return status;
}

// Milliseconds left until `deadline`, for poll.
int millisecondsUntil(Clock::time_point deadline) {
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

bool waitFor(int fd, short events, Clock::time_point deadline) {
  pollfd poller{fd, events, 0};
  int ready;
  while ((ready = ::poll(&poller, 1, millisecondsUntil(deadline))) < 0 && errno == EINTR) {
  }
  return ready > 0;
}

// Sends the whole message unless the app stops reading it (it refuses a long one early); either
// way its answer is read next.
void sendMessage(int fd, const std::string& message, Clock::time_point deadline) {
  std::size_t sent = 0;
  while (sent < message.size() && waitFor(fd, POLLOUT, deadline)) {
    const ssize_t count = ::send(fd, message.data() + sent, message.size() - sent, MSG_NOSIGNAL);
    if (count < 0 && (errno == EAGAIN || errno == EINTR)) continue;
    if (count <= 0) return;
    sent += static_cast<std::size_t>(count);
  }
}

// The app's one line of answer; none when it closed first or the time ran out.
std::optional<std::string> answerLine(int fd, Clock::time_point deadline, bool& timedOut) {
  std::string received;
  char buffer[1024];
  while (received.size() < 8192) {
    if (!waitFor(fd, POLLIN, deadline)) {
      timedOut = true;
      return std::nullopt;
    }
    const ssize_t count = ::read(fd, buffer, sizeof buffer);
    if (count < 0 && (errno == EAGAIN || errno == EINTR)) continue;
    if (count <= 0) break;
    received.append(buffer, static_cast<std::size_t>(count));
    if (const std::size_t newline = received.find('\n'); newline != std::string::npos) {
      return received.substr(0, newline);
    }
  }
  return std::nullopt;
}

}  // namespace

int openURLInRunningApp(const std::filesystem::path& socket, std::string_view url) {
  if (url.find('\n') != std::string_view::npos) {
    return fail(2, "a URL holds no line break");
  }
  const std::optional<sockaddr_un> address = socketAddress(socket);
  if (!address) {
    return fail(1, "no app can answer: the path " + socket.string() + " is too long for a socket");
  }
  const FileDescriptor connection = connectToSocket(*address);
  if (!connection.valid()) {
    if (errno == ENOENT || errno == ECONNREFUSED) {
      return fail(1, "Lumora Virir is not running (nothing answers at " + socket.string() + ")");
    }
    if (errno == EAGAIN) return fail(1, "the running app is busy; try again");
    return fail(1, "cannot reach the app at " + socket.string() + ": " + std::strerror(errno));
  }
  const Clock::time_point deadline = Clock::now() + openAnswerWait;
  sendMessage(connection.get(), std::string(url) + "\n", deadline);
  bool timedOut = false;
  const std::optional<std::string> line = answerLine(connection.get(), deadline, timedOut);
  if (!line) {
    return fail(1, timedOut
                       ? "the running app did not answer within " +
                             std::to_string(openAnswerWait.count()) + " s"
                       : std::string("the running app closed the connection without an answer"));
  }
  if (line->starts_with(SimOpenedURLs::doneAnswer)) {
    std::printf("%s\n", line->substr(SimOpenedURLs::doneAnswer.size()).c_str());
    return 0;
  }
  if (line->starts_with(SimOpenedURLs::refusedAnswer)) {
    return fail(2, line->substr(SimOpenedURLs::refusedAnswer.size()));
  }
  return fail(1, "the running app answered something unexpected");
}

}  // namespace lumora::sim
