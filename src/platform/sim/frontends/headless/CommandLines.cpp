#include "platform/sim/frontends/headless/CommandLines.h"

namespace lumora::sim {

void CommandLines::take(std::string_view bytes, std::vector<Line>& into) {
  while (!bytes.empty()) {
    const std::size_t newline = bytes.find('\n');
    const std::size_t length = newline == std::string_view::npos ? bytes.size() : newline;
    if (!dropping_ && pending_.size() + length > maximumLength) {
      // Too long already: nothing more of it is kept.
      dropping_ = true;
      droppedSoFar_ = pending_.size();
      pending_.clear();
    }
    if (dropping_) {
      droppedSoFar_ += length;
    } else {
      pending_.append(bytes.substr(0, length));
    }
    if (newline == std::string_view::npos) return;
    if (dropping_) {
      into.push_back(Line{"", droppedSoFar_});
    } else {
      into.push_back(Line{std::move(pending_), 0});
    }
    pending_.clear();
    dropping_ = false;
    droppedSoFar_ = 0;
    bytes.remove_prefix(newline + 1);
  }
}

void CommandLines::finish(std::vector<Line>& into) {
  if (dropping_) {
    into.push_back(Line{"", droppedSoFar_});
  } else if (!pending_.empty()) {
    into.push_back(Line{std::move(pending_), 0});
  }
  pending_.clear();
  dropping_ = false;
  droppedSoFar_ = 0;
}

}  // namespace lumora::sim
