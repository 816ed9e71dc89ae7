#include "platform/sim/SimStatusBar.h"

#include <algorithm>

namespace lumora::sim {

void SimStatusButton::setTitle(std::string_view title) {
  title_ = std::string(title);
  changed_();
}

void SimStatusButton::setImage(const std::optional<platform::SymbolImage>& image) {
  image_ = image;
  changed_();
}

void SimStatusButton::setContentTintColor(std::optional<platform::NamedColor> color) {
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
  menu_ = std::move(menu);
  bar_.changed();
}

// Every item is drawn at the width of its image or title, as with the variable length.
std::unique_ptr<platform::StatusItem> SimStatusBar::statusItemWithLength(double) {
  return std::make_unique<SimStatusItem>(*this);
}

}  // namespace lumora::sim
