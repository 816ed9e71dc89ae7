#include "platform/sim/SimOpenedURLs.h"

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>

namespace lumora::sim {
namespace {

void sendNow(int fd, std::string_view line) {
  // A line this short fits the socket's buffer; a client that went away loses it.
  [[maybe_unused]] const ssize_t sent =
      ::send(fd, line.data(), line.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
}

}  // namespace

SimOpenedURLs::SimOpenedURLs(EventLoop& loop, std::filesystem::path socketPath,
                             platform::Console& console)
    : loop_(loop), path_(std::move(socketPath)), console_(console) {}

SimOpenedURLs::~SimOpenedURLs() {
  for (const auto& connection : connections_) {
    loop_.unwatch(connection->fd.get());
    if (connection->deadlineTimer) connection->deadlineTimer->invalidate();
  }
  if (socket_) loop_.unwatch(socket_->fd());
}

void SimOpenedURLs::setHandler(std::function<platform::URLAnswer(std::string_view url)> handler) {
  handler_ = std::move(handler);
  if (!listened_) listen();
}

void SimOpenedURLs::listen() {
  listened_ = true;
  if (path_.empty()) return;
  std::string problem;
  socket_ = ListeningSocket::open(path_, problem);
  if (!socket_) {
    console_.printErrorLine("Lumora Virir: " + problem +
                            "; lumora-virir --open cannot reach this app.");
    return;
  }
  // After the stores' own end of the pass: an answer goes out once what it changed is written.
  loop_.addEndOfPass([this] { sendAnswers(); });
  loop_.watchReadable(socket_->fd(), [this] { acceptWaiting(); });
}

SimOpenedURLs::Connection* SimOpenedURLs::find(std::uint64_t id) {
  for (const auto& connection : connections_) {
    if (connection->id == id) return connection.get();
  }
  return nullptr;
}

void SimOpenedURLs::acceptWaiting() {
  // A bounded number per pass, so that a flood of connections cannot hold the run loop.
  for (int taken = 0; taken < 16; ++taken) {
    FileDescriptor fd = socket_->accept();
    if (!fd.valid()) return;
    const std::optional<uid_t> peer = peerUser(fd.get());
    if (!peer || *peer != ::geteuid()) {
      sendNow(fd.get(), std::string(refusedAnswer) + "the app takes URLs from its own user only\n");
      if (!otherUserSaid_) {
        otherUserSaid_ = true;
        console_.printErrorLine("Lumora Virir: refused a connection from " +
                                (peer ? "user " + std::to_string(*peer) : "an unknown user") +
                                " to " + path_.string() + ".");
      }
      continue;
    }
    expireOverdue();
    if (connections_.size() >= maximumConnections) {
      sendNow(fd.get(), std::string(refusedAnswer) + "the app is busy; try again\n");
      continue;
    }
    auto connection = std::make_unique<Connection>();
    connection->id = ++lastID_;
    connection->fd = std::move(fd);
    connection->deadline = EventLoop::Clock::now() + readDeadline;
    const std::uint64_t id = connection->id;
    connection->deadlineTimer =
        loop_.scheduledTimer(readDeadline, false, [this] { expireOverdue(); });
    loop_.watchReadable(connection->fd.get(), [this, id] { read(id); });
    connections_.push_back(std::move(connection));
  }
}

void SimOpenedURLs::expireOverdue() {
  const EventLoop::Clock::time_point now = EventLoop::Clock::now();
  for (const auto& connection : connections_) {
    if (!connection->answered && connection->deadline <= now) {
      answer(*connection, std::string(refusedAnswer) + "no URL came within " +
                              std::to_string(readDeadline.count()) + " ms\n");
    }
  }
}

void SimOpenedURLs::read(std::uint64_t id) {
  Connection* const connection = find(id);
  if (connection == nullptr || connection->answered) return;
  char buffer[1024];
  const std::size_t room = maximumMessage + 1 - connection->received.size();
  const ssize_t count = ::read(connection->fd.get(), buffer, std::min(sizeof buffer, room));
  if (count < 0 && (errno == EAGAIN || errno == EINTR)) return;
  // A client gone wrong is let go, and what it sent is not done.
  if (count < 0) return answer(*connection, {});
  connection->received.append(buffer, static_cast<std::size_t>(count));
  const std::size_t newline = connection->received.find('\n');
  if (newline == std::string::npos && connection->received.size() > maximumMessage) {
    return answer(*connection, std::string(refusedAnswer) + "the message is longer than " +
                                   std::to_string(maximumMessage) + " bytes; nothing was done\n");
  }
  if (newline == std::string::npos && count > 0) return;  // more is to come
  if (newline == std::string::npos) {
    // Closed without a word, as a check for a running app does, or cut short: a URL cut short
    // may name another command, so only a whole line is done.
    return answer(*connection, connection->received.empty()
                                   ? std::string()
                                   : std::string(refusedAnswer) +
                                         "the URL ended without a line break; nothing was done\n");
  }
  const std::string url = connection->received.substr(0, newline);
  const platform::URLAnswer result =
      handler_ ? handler_(url) : platform::URLAnswer{.done = false, .text = "the app is starting"};
  // Found again: whatever the command ran may have ended passes, and connections with them.
  if (Connection* const asked = find(id)) {
    answer(*asked, std::string(result.done ? doneAnswer : refusedAnswer) + result.text + "\n");
  }
}

void SimOpenedURLs::answer(Connection& connection, std::string line) {
  connection.answered = true;
  connection.answer = std::move(line);
  loop_.unwatch(connection.fd.get());
  if (connection.deadlineTimer) connection.deadlineTimer->invalidate();
  connection.deadlineTimer.reset();
}

void SimOpenedURLs::sendAnswers() {
  std::erase_if(connections_, [](const std::unique_ptr<Connection>& connection) {
    if (!connection->answered) return false;
    if (!connection->answer.empty()) sendNow(connection->fd.get(), connection->answer);
    return true;
  });
}

}  // namespace lumora::sim
