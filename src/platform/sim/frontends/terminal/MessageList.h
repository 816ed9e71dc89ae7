#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>

namespace lumora::sim::terminal {

// What the app said while the terminal showed it (its error lines, and its rare lines for the
// user), the newest few: the newest shows in the footer until it is dismissed, and all of them in
// the message list.
class MessageList {
 public:
  static constexpr std::size_t capacity = 20;

  struct Message {
    std::string time;  // when it was said, as "14:05"
    std::string text;  // as said, without the app's name in front
    bool isError = false;
  };

  void add(std::string time, std::string_view line, bool isError);
  // Oldest first.
  const std::deque<Message>& messages() const { return messages_; }
  // The newest message while it is not dismissed; null otherwise.
  const Message* undismissed() const;
  void dismiss() { dismissed_ = true; }

 private:
  std::deque<Message> messages_;
  bool dismissed_ = true;
};

// A message as the footer says it: each path shortened to its file's name.
std::string inPlainWords(std::string_view text);

}  // namespace lumora::sim::terminal
