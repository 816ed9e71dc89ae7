#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

#include "platform/Menu.h"

namespace lumora::sim::terminal {

// An open menu and its open submenus, with the selected row of each, as the keyboard and the
// mouse move through it. The menu itself is read afresh at every step, so it is always the one
// installed last.
class MenuTracking {
 public:
  using IsEnabled = std::function<bool(const platform::MenuItem&)>;

  // What a step leads to.
  struct Outcome {
    enum class Kind { none, pick, close } kind = Kind::none;
    std::optional<platform::MenuItem> picked;  // a copy: picking replaces the menu
  };

  explicit MenuTracking(IsEnabled isEnabled) : isEnabled_(std::move(isEnabled)) {}

  bool isOpen() const { return open_; }
  // From the keyboard the first enabled entry is selected; a click selects nothing yet.
  void open(const platform::Menu& menu, bool selectFirst);
  void close();

  // The selected row of each open level, outermost first; -1 where none is selected.
  const std::vector<int>& selection() const { return selection_; }
  // The open menus, outermost first.
  std::vector<const platform::Menu*> levels(const platform::Menu& menu) const;
  // The selected entry of the innermost open menu; null when none is.
  const platform::MenuItem* selectedEntry(const platform::Menu& menu) const;

  void moveDown(const platform::Menu& menu);
  void moveUp(const platform::Menu& menu);
  // Home and End: the first or the last enabled entry of the innermost menu.
  void moveToFirst(const platform::Menu& menu);
  void moveToLast(const platform::Menu& menu);
  // A typed letter or digit: the next enabled entry of the innermost menu whose title (after its
  // leading symbol) starts with it, in any case, from the selection on and round again.
  void jumpToInitial(const platform::Menu& menu, char typed);
  // Closes the submenus below `level`.
  void keepLevels(std::size_t count);
  // Opens the selected entry's submenu, selecting its first enabled entry.
  void enterSubmenu(const platform::Menu& menu);
  // Closes the innermost submenu; at the outermost menu does nothing.
  void leaveSubmenu();
  // Enter: opens a submenu or picks the selected entry; on a slider, closes the menu.
  Outcome activate(const platform::Menu& menu);
  // A typed character: the enabled entry whose key equivalent it is, anywhere in the menu.
  Outcome keyEquivalent(const platform::Menu& menu, char typed);
  // The mouse over or on row `row` of level `level`: selects it and opens or closes submenus
  // to match; `click` also activates, but for a slider, which it only selects.
  Outcome point(const platform::Menu& menu, std::size_t level, int row, bool click);

 private:
  const platform::MenuItem* selectedItem(const platform::Menu& menu, std::size_t level) const;
  void move(const platform::Menu& menu, int step);
  // The innermost open menu, with the selection trimmed to the levels that are open.
  const platform::Menu* innermost(const platform::Menu& menu);
  int firstEnabled(const platform::Menu& menu) const;

  IsEnabled isEnabled_;
  bool open_ = false;
  std::vector<int> selection_;
};

}  // namespace lumora::sim::terminal
