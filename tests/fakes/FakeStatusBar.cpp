#include "fakes/FakeStatusBar.h"

namespace lumora::testing {

void FakeStatusButton::setTitle(std::string_view newTitle) {
  title = std::string(newTitle);
  log_.add("button.setTitle ", title);
}

void FakeStatusButton::setImage(const std::optional<platform::SymbolImage>& newImage) {
  image = newImage;
  log_.add("button.setImage ", newImage ? newImage->symbolName.view() : std::string_view("none"));
}

void FakeStatusButton::setContentTintColor(std::optional<platform::NamedColor> color) {
  tint = color;
  log_.add("button.setTint");
}

void FakeStatusItem::setMenu(platform::Menu newMenu) {
  menu = std::move(newMenu);
  ++menuInstalls;
  log_.add("statusItem.setMenu");
}

std::unique_ptr<platform::StatusItem> FakeStatusBar::statusItemWithLength(double length) {
  log_.add("statusBar.statusItem");
  auto item = std::make_unique<FakeStatusItem>(log_, length, itemsHaveButtons);
  lastItem = item.get();
  return item;
}

}  // namespace lumora::testing
