#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Console.h"
#include "platform/OpenedURLs.h"
#include "platform/Timers.h"
#include "platform/sim/EventLoop.h"
#include "platform/sim/machine/FileDescriptor.h"
#include "platform/sim/machine/LocalSocket.h"

namespace lumora::sim {

// How the simulated Mac hands the app a URL, as macOS does for the app that owns the scheme:
// `lumora-virir --open URL` connects to the app's socket and sends the URL and a line break; the
// app answers with one line, "done: <what it did>" or "refused: <why not>", and closes.
//
// The run loop never waits for a client: connections are read as they become readable, at most
// maximumMessage bytes each, and one that has not sent its line within readDeadline is answered
// and closed. Only connections of this user are taken. The socket is made when the app starts to
// take URLs (after the instance lock, which is taken before the simulated Mac is made).
class SimOpenedURLs final : public platform::OpenedURLs {
 public:
  static constexpr std::string_view doneAnswer = "done: ";
  static constexpr std::string_view refusedAnswer = "refused: ";
  static constexpr std::size_t maximumMessage = 4096;
  static constexpr std::chrono::milliseconds readDeadline{2000};
  static constexpr std::size_t maximumConnections = 8;

  // An empty path makes no socket.
  SimOpenedURLs(EventLoop& loop, std::filesystem::path socketPath, platform::Console& console);
  SimOpenedURLs(const SimOpenedURLs&) = delete;
  SimOpenedURLs& operator=(const SimOpenedURLs&) = delete;
  ~SimOpenedURLs() override;

  void setHandler(std::function<platform::URLAnswer(std::string_view url)> handler) override;

  bool isListening() const { return socket_ != nullptr; }

 private:
  struct Connection {
    std::uint64_t id;
    FileDescriptor fd;
    std::string received;
    EventLoop::Clock::time_point deadline;
    std::shared_ptr<platform::Timer> deadlineTimer;
    bool answered = false;  // then nothing more is read, and the answer goes at the pass's end
    std::string answer;     // none for a client that closed without a word
  };

  void listen();
  void acceptWaiting();
  void read(std::uint64_t id);
  void expireOverdue();
  // Said at the end of the pass, once what the command stored is written.
  void answer(Connection& connection, std::string line);
  void sendAnswers();
  Connection* find(std::uint64_t id);

  EventLoop& loop_;
  std::filesystem::path path_;
  platform::Console& console_;
  std::function<platform::URLAnswer(std::string_view url)> handler_;
  std::unique_ptr<ListeningSocket> socket_;
  std::vector<std::unique_ptr<Connection>> connections_;
  std::uint64_t lastID_ = 0;
  bool listened_ = false;
  bool otherUserSaid_ = false;
};

}  // namespace lumora::sim
