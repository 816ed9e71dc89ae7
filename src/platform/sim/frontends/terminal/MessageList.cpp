#include "platform/sim/frontends/terminal/MessageList.h"

namespace lumora::sim::terminal {
namespace {

// The app's lines on standard error begin with its name; in its own screen that goes without
// saying.
constexpr std::string_view appPrefix = "Lumora Virir: ";

}  // namespace

void MessageList::add(std::string time, std::string_view line, bool isError) {
  if (line.starts_with(appPrefix)) line.remove_prefix(appPrefix.size());
  messages_.push_back(Message{std::move(time), std::string(line), isError});
  while (messages_.size() > capacity)
    messages_.pop_front();
  dismissed_ = false;
}

const MessageList::Message* MessageList::undismissed() const {
  return dismissed_ || messages_.empty() ? nullptr : &messages_.back();
}

std::string inPlainWords(std::string_view text) {
  std::string plain;
  std::size_t at = 0;
  while (at < text.size()) {
    const bool startsWord = at == 0 || text[at - 1] == ' ' || text[at - 1] == '(';
    if (!startsWord || text[at] != '/') {
      plain += text[at++];
      continue;
    }
    // A path runs to the next space; what ends a clause after it stays.
    std::size_t end = text.find(' ', at);
    if (end == std::string_view::npos) end = text.size();
    while (end > at && std::string_view(";,:)").find(text[end - 1]) != std::string_view::npos)
      --end;
    const std::string_view path = text.substr(at, end - at);
    const std::size_t slash = path.find_last_of('/');
    plain += slash + 1 < path.size() ? path.substr(slash + 1) : path;
    at = end;
  }
  return plain;
}

}  // namespace lumora::sim::terminal
