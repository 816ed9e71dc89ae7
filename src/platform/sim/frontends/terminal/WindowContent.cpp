#include "platform/sim/frontends/terminal/WindowContent.h"

#include <algorithm>
#include <set>

#include "platform/sim/frontends/terminal/TextWidth.h"

namespace lumora::sim::terminal {
namespace {

int cells(double points, double perCell) {
  return static_cast<int>(std::clamp(points / perCell, 0.0, 1000.0));
}

// Takes out up to `count` rows that nothing is on, the top ones first.
void dropEmptyRows(std::vector<ContentLine>& lines, int count) {
  std::set<int> used;
  for (const ContentLine& line : lines)
    used.insert(line.row);
  const int total = contentRows(lines);
  std::vector<int> shift(static_cast<std::size_t>(total), 0);
  int dropped = 0;
  for (int row = 0; row < total; ++row) {
    if (dropped < count && !used.contains(row)) ++dropped;
    shift[static_cast<std::size_t>(row)] = dropped;
  }
  for (ContentLine& line : lines)
    line.row -= shift[static_cast<std::size_t>(line.row)];
}

}  // namespace

int contentRows(const std::vector<ContentLine>& lines) {
  int rows = 0;
  for (const ContentLine& line : lines)
    rows = std::max(rows, line.row + 1);
  return rows;
}

std::vector<ContentLine> layOutContent(const platform::View& content, double contentHeight,
                                       int columns, int rows) {
  std::vector<const platform::View*> views;
  for (const platform::View& view : content.subviews) {
    if (view.kind != platform::View::Kind::plain) views.push_back(&view);
  }
  // Frames count from the bottom left of the content: the top-most first.
  const auto fromTop = [contentHeight](const platform::View* view) {
    return contentHeight - (view->frame.y + view->frame.height);
  };
  std::stable_sort(views.begin(), views.end(),
                   [&](const auto* a, const auto* b) { return fromTop(a) < fromTop(b); });

  std::vector<ContentLine> lines;
  int nextFree = 0;
  for (const platform::View* view : views) {
    // A view keeps at least a few cells of width, moving in from the left where it must, and as
    // much room on its right as on its left.
    const int x = std::min(cells(view->frame.x, pointsPerColumn), std::max(0, columns / 4));
    const int width =
        std::clamp(cells(view->frame.width, pointsPerColumn), 1, std::max(1, columns - 2 * x));
    int row = std::max(cells(fromTop(view), pointsPerRow), nextFree);
    if (view->kind == platform::View::Kind::separator) {
      lines.push_back(ContentLine{row, x, width, true, "", Look().withDim(true), std::nullopt});
      nextFree = row + 1;
      continue;
    }
    if (view->kind == platform::View::Kind::button) {
      const std::string label = "[ " + view->text + " ]";
      lines.push_back(ContentLine{row, x, width, false, label, Look(), *view});
      nextFree = row + 1;
      continue;
    }
    const Look look = Look().withColor(view->textColor).withBold(view->font && view->font->bold);
    std::vector<std::string> wrapped = wrapText(view->text, width);
    if (wrapped.empty()) wrapped.emplace_back();
    for (std::string& text : wrapped)
      lines.push_back(ContentLine{row++, x, width, false, std::move(text), look, std::nullopt});
    nextFree = row;
  }
  if (const int excess = contentRows(lines) - rows; excess > 0) dropEmptyRows(lines, excess);
  return lines;
}

}  // namespace lumora::sim::terminal
