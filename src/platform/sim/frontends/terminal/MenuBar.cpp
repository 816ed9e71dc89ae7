#include "platform/sim/frontends/terminal/MenuBar.h"

#include <algorithm>

#include "platform/sim/SymbolGlyphs.h"
#include "platform/sim/frontends/terminal/MinuteTicker.h"
#include "platform/sim/frontends/terminal/TextWidth.h"

namespace lumora::sim::terminal {
namespace {

const SimStatusItem* statusItemOf(const SimStatusBar& bar) {
  const auto& items = bar.items();
  return items.empty() ? nullptr : items.front();
}

}  // namespace

std::string MenuBar::clock() {
  return localTime(true);
}

void MenuBar::layOut(int width) {
  width_ = width;
  const int clockX = width - displayWidth(clock()) - 1;
  int itemWidth = 2;
  if (const SimStatusItem* item = statusItemOf(mac_.statusBar)) {
    const SimStatusButton& button = item->simButton();
    if (button.image()) itemWidth += displayWidth(renderSymbolGlyphs(*button.image(), false));
    itemWidth += displayWidth(button.title());
  }
  statusLeft_ = std::max(0, clockX - 1 - itemWidth);
  statusRight_ = statusLeft_ + itemWidth;
}

bool MenuBar::isOnStatusItem(const Input& input) const {
  return input.kind == Input::Kind::click && input.y == 0 && input.x >= statusLeft_ &&
         input.x < statusRight_;
}

void MenuBar::draw(CursesScreen& screen, bool menuOpen) {
  screen.repeat(0, 0, " ", width_, Look().withReverse(true));
  screen.put(0, 1, "\u25C6", Look().withReverse(true));
  if (mac_.application.showsInDock() && mac_.application.isActive()) {
    screen.put(0, 3, "Lumora Virir", Look().withBold(true).withReverse(true));
  } else if (mac_.systemEvents.isAsleep()) {
    screen.put(0, 3, "asleep (s wakes it)", Look().withDim(true).withReverse(true));
  } else if (mac_.systemEvents.isLocked()) {
    screen.put(0, 3, "locked (l unlocks it)", Look().withDim(true).withReverse(true));
  }
  shownClock_ = clock();
  screen.put(0, width_ - displayWidth(shownClock_) - 1, shownClock_, Look().withReverse(true));
  drawStatusItem(screen, statusLeft_, menuOpen);
}

void MenuBar::drawStatusItem(CursesScreen& screen, int x, bool menuOpen) const {
  const SimStatusItem* item = statusItemOf(mac_.statusBar);
  if (item == nullptr) return;
  const SimStatusButton& button = item->simButton();
  const bool bar = !menuOpen;
  screen.put(0, x, " ", Look().withReverse(bar));
  x += 1;
  if (button.image()) {
    const platform::SymbolImage& image = *button.image();
    const std::optional<SymbolGlyph> glyph = symbolGlyph(image.symbolName);
    const bool large =
        image.configuration && image.configuration->scale == platform::SymbolScale::large;
    for (std::size_t layer = 0; glyph && layer < glyph->layerCount; ++layer) {
      Look look = Look().withBold(large).withReverse(bar);
      if (image.configuration && image.configuration->palette.size() > 0) {
        const platform::Palette& palette = image.configuration->palette;
        look.color = palette[std::min(layer, palette.size() - 1)];
      }
      x += screen.put(0, x, glyph->layers[layer], look);
    }
  }
  if (!button.title().empty()) {
    x += screen.put(0, x, button.title(),
                    Look().withColor(button.contentTintColor()).withReverse(bar));
  }
  screen.put(0, x, " ", Look().withReverse(bar));
}

}  // namespace lumora::sim::terminal
