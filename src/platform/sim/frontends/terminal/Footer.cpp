#include "platform/sim/frontends/terminal/Footer.h"

#include <algorithm>

#include "platform/sim/frontends/terminal/KeyHelp.h"
#include "platform/sim/frontends/terminal/TextWidth.h"

namespace lumora::sim::terminal {
namespace {

constexpr std::size_t messageRows = 2;
constexpr std::string_view dock = "Dock: \u25C9 Lumora Virir";

}  // namespace

int Footer::layOut(int width, const MessageList::Message* message) {
  width_ = width;
  messageLines_.clear();
  if (message != nullptr) {
    messageLines_ = wrapText(inPlainWords(message->text), width - 2);
    if (messageLines_.size() > messageRows) {
      // The rest is in the message list.
      messageLines_.resize(messageRows);
      messageLines_.back() = ellipsized(messageLines_.back() + " \u2026", width - 2);
    }
    isError_ = message->isError;
  }
  return 1 + static_cast<int>(messageLines_.size());
}

void Footer::draw(CursesScreen& screen, int rows, const std::vector<std::string_view>& hints,
                  bool inDock) const {
  const int last = rows - 1;
  int y = last - static_cast<int>(messageLines_.size());
  for (const std::string& line : messageLines_) {
    screen.put(
        y++, 1, line,
        Look().withColor(isError_ ? std::optional(platform::NamedColor::systemRed) : std::nullopt));
  }
  // The Dock only where the first two hints fit beside it: the keys of what is open come first.
  const int dockX = width_ - displayWidth(dock) - 1;
  const std::string beside = fitHints(hints, dockX - 4);
  const std::vector<std::string_view> firstTwo(
      hints.begin(), hints.begin() + std::min<std::ptrdiff_t>(std::ssize(hints), 2));
  const bool dockFits = inDock && beside.size() >= fitHints(firstTwo, width_).size();
  if (dockFits) screen.put(last, dockX, dock, Look().withBold());
  screen.put(last, 1, dockFits ? beside : fitHints(hints, width_ - 2), Look().withDim());
}

}  // namespace lumora::sim::terminal
