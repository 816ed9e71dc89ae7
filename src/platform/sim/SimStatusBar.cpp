#include "platform/sim/SimStatusBar.h"

#include <algorithm>

namespace lumora::sim {

// The app sets the whole appearance on every refresh; only a real change is news to the front ends.
void SimStatusButton::setTitle(std::string_view title) {
  if (title_ == title) return;
  title_ = std::string(title);
  changed_();
}

void SimStatusButton::setImage(const std::optional<platform::SymbolImage>& image) {
  if (image_ == image) return;
  image_ = image;
  changed_();
}

void SimStatusButton::setContentTintColor(std::optional<platform::NamedColor> color) {
  if (tint_ == color) return;
  tint_ = color;
  changed_();
}

SimStatusItem::SimStatusItem(SimStatusBar& bar) : bar_(bar), button_([&bar] { bar.changed(); }) {
  bar_.items_.push_back(this);
  bar_.changed();
}

SimStatusItem::~SimStatusItem() {
  std::erase(bar_.items_, this);
  bar_.changed();
}

void SimStatusItem::setMenu(platform::Menu menu) {
  if (menu_ == menu) return;
  menu_ = std::move(menu);
  bar_.changed();
}

// Every item is drawn at the width of its image or title, as with the variable length.
std::unique_ptr<platform::StatusItem> SimStatusBar::statusItemWithLength(double) {
  return std::make_unique<SimStatusItem>(*this);
}

}  // namespace lumora::sim
