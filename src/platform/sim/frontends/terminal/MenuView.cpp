#include "platform/sim/frontends/terminal/MenuView.h"

#include "platform/sim/MenuModel.h"
#include "platform/sim/SymbolGlyphs.h"
#include "platform/sim/frontends/terminal/Keys.h"
#include "platform/sim/frontends/terminal/SliderRow.h"
#include "platform/sim/frontends/terminal/TextWidth.h"

namespace lumora::sim::terminal {
namespace {

// How far a key moves a selected slider, in its own units: ← → h l by a step, Shift with an arrow
// by a fine one.
constexpr double sliderKeyStep = 50.0;
constexpr double sliderFineStep = 10.0;

std::optional<double> sliderStep(const Input& input) {
  if (keys::isKey(input, KEY_RIGHT) || keys::isCharacter(input, 'l')) return sliderKeyStep;
  if (keys::isKey(input, KEY_LEFT) || keys::isCharacter(input, 'h')) return -sliderKeyStep;
  if (keys::isKey(input, KEY_SRIGHT)) return sliderFineStep;
  if (keys::isKey(input, KEY_SLEFT)) return -sliderFineStep;
  return std::nullopt;
}

}  // namespace

MenuView::MenuView(SimStatusBar& statusBar, SimApplication& application, EventLoop& loop)
    : statusBar_(statusBar),
      application_(application),
      loop_(loop),
      tracking_([this](const platform::MenuItem& item) { return isEnabled(item); }) {}

const platform::Menu* MenuView::installedMenu() const {
  const auto& items = statusBar_.items();
  return items.empty() || !items.front()->menu() ? nullptr : &*items.front()->menu();
}

bool MenuView::isEnabled(const platform::MenuItem& item) const {
  return menus::isEnabled(item, application_);
}

void MenuView::open(bool fromKeyboard) {
  const platform::Menu* menu = installedMenu();
  if (menu == nullptr) return;
  tracking_.open(*menu, fromKeyboard);
  firstRows_.clear();
  // While a menu is tracked, timers wait, as in the event-tracking mode of a real menu.
  loop_.setTrackingMenu(true);
}

void MenuView::close() {
  tracking_.close();
  boxes_.clear();
  loop_.setTrackingMenu(false);
}

void MenuView::follow(const MenuTracking::Outcome& outcome) {
  if (tracking_.isOpen()) return;
  close();
  if (outcome.kind != MenuTracking::Outcome::Kind::pick || !outcome.picked) return;
  menus::pick(*outcome.picked, application_);
}

void MenuView::layOut(const Area& room) {
  room_ = room;
  boxes_.clear();
  const platform::Menu* menu = installedMenu();
  if (menu == nullptr) return;
  boxes_ = layoutMenus(tracking_.levels(*menu), tracking_.selection(), firstRows_, anchorRight_,
                       room, [this](const platform::MenuItem& item) { return isEnabled(item); });
  firstRows_.clear();
  for (const MenuBox& box : boxes_)
    firstRows_.push_back(box.firstRow);
}

std::vector<Area> MenuView::areas() const {
  std::vector<Area> areas;
  for (const MenuBox& box : boxes_)
    areas.push_back(box.area);
  return areas;
}

void MenuView::draw(CursesScreen& screen) {
  for (std::size_t level = 0; level < boxes_.size(); ++level)
    drawBox(screen, boxes_[level], level);
}

void MenuView::drawBox(CursesScreen& screen, const MenuBox& box, std::size_t level) const {
  const Area& area = box.area;
  clearAround(screen, area, room_);
  const CursesScreen::Clip clip(screen, area);
  screen.frame(area.top, area.left, area.height, area.width);
  // A long menu scrolls; arrows on its borders say there is more.
  const int markerX = area.right() - 4;
  if (box.moreAbove()) screen.put(area.top, markerX, "\u25B2", Look().withBold());
  if (box.moreBelow()) screen.put(area.bottom() - 1, markerX, "\u25BC", Look().withBold());
  const int selected = level < tracking_.selection().size() ? tracking_.selection()[level] : -1;
  for (int shown = 0; shown < box.visibleRows; ++shown) {
    const int row = box.firstRow + shown;
    if (row >= static_cast<int>(box.menu->items.size())) break;
    const platform::MenuItem& item = box.menu->items[static_cast<std::size_t>(row)];
    const int y = area.top + 1 + shown;
    if (item.isSeparator) {
      screen.put(y, area.left, "\u251C", Look());
      screen.repeat(y, area.left + 1, "\u2500", area.width - 2, Look().withDim(true));
      screen.put(y, area.right() - 1, "\u2524", Look());
      continue;
    }
    const bool enabled = isEnabled(item);
    const bool highlighted = row == selected && enabled;
    const Look look = Look().withDim(!enabled).withReverse(highlighted);
    int x = area.left + 1;
    screen.repeat(y, x, " ", area.width - 2, look);
    x += 1;
    screen.put(y, x, menus::stateMark(item.state), look);
    x += 2;
    if (item.image) {
      Look imageLook = look;
      if (item.image->configuration && item.image->configuration->palette.size() > 0) {
        imageLook.color = item.image->configuration->palette[0];
      }
      screen.put(y, x, renderSymbolGlyphs(*item.image, false), imageLook);
    }
    x += box.imageWidth;
    if (item.slider) {
      // The columns of the title, the key and the arrow, which a slider has no use for.
      const int width = box.titleWidth + box.keyWidth + box.arrowWidth;
      screen.put(y, x, sliderRow(*item.slider, width), look);
      continue;
    }
    screen.put(y, x, ellipsized(item.title, box.titleWidth), look);
    x += box.titleWidth;
    if (!item.keyEquivalent.empty()) {
      const std::string label = terminalKeyLabel(item.keyEquivalent);
      screen.put(y, x + box.keyWidth - displayWidth(label), label, look);
    }
    x += box.keyWidth;
    if (item.submenu) screen.put(y, x + 1, "\u25B8", look);
  }
}

bool MenuView::handle(const Input& input) {
  const platform::Menu* menu = installedMenu();
  if (menu == nullptr) {
    close();
    return true;
  }
  const bool inSubmenu = tracking_.selection().size() > 1;
  if (const platform::MenuItem* selected = tracking_.selectedEntry(*menu);
      selected != nullptr && selected->slider) {
    if (const std::optional<double> step = sliderStep(input)) {
      const platform::MenuItem slider = *selected;  // moving it installs a new menu
      menus::slide(slider, menus::steppedValue(*slider.slider, *step),
                   platform::SliderMotion::stepped, application_);
      return true;
    }
  }
  if (keys::isKey(input, KEY_DOWN) || keys::isCharacter(input, 'j')) {
    tracking_.moveDown(*menu);
  } else if (keys::isKey(input, KEY_UP) || keys::isCharacter(input, 'k')) {
    tracking_.moveUp(*menu);
  } else if (keys::isKey(input, KEY_HOME)) {
    tracking_.moveToFirst(*menu);
  } else if (keys::isKey(input, KEY_END)) {
    tracking_.moveToLast(*menu);
  } else if (keys::isKey(input, KEY_RIGHT) || keys::isCharacter(input, 'l')) {
    tracking_.enterSubmenu(*menu);
  } else if (keys::isKey(input, KEY_LEFT) || keys::isCharacter(input, 'h')) {
    tracking_.leaveSubmenu();
  } else if (keys::isBack(input)) {
    // One level back: the submenu, then the menu.
    if (inSubmenu) {
      tracking_.leaveSubmenu();
    } else {
      close();
    }
  } else if (keys::isEnter(input)) {
    follow(tracking_.activate(*menu));
  } else if (keys::isClick(input)) {
    const std::optional<MenuHit> hit = hitTest(boxes_, input.y, input.x);
    if (!hit) {
      close();  // a click anywhere else, the status item included
      return true;
    }
    if (hit->part == MenuHit::Part::entry) {
      follow(tracking_.point(*menu, hit->level, hit->row, true));
      return true;
    }
    // The arrows on a border of a long menu move through it.
    tracking_.keepLevels(hit->level + 1);
    if (hit->part == MenuHit::Part::scrollUp) {
      tracking_.moveUp(*menu);
    } else {
      tracking_.moveDown(*menu);
    }
  } else if (input.kind == Input::Kind::character && input.character < 128) {
    const auto typed = static_cast<char>(input.character);
    const MenuTracking::Outcome outcome = tracking_.keyEquivalent(*menu, typed);
    if (outcome.kind == MenuTracking::Outcome::Kind::pick) {
      follow(outcome);
    } else {
      tracking_.jumpToInitial(*menu, typed);
    }
  }
  return true;
}

std::vector<std::string_view> MenuView::hints() const {
  const platform::Menu* menu = installedMenu();
  const platform::MenuItem* selected = menu ? tracking_.selectedEntry(*menu) : nullptr;
  if (selected != nullptr && selected->slider) {
    return {"\u2191\u2193: move", "\u2190\u2192: slide (Shift: finer)", "Enter: close", "?: keys"};
  }
  return {"\u2191\u2193: move",
          tracking_.selection().size() > 1 ? "\u2190: back" : "\u2192: submenu", "Enter: pick",
          "Esc: close", "?: keys"};
}

}  // namespace lumora::sim::terminal
