#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/sim/SimMac.h"
#include "platform/sim/frontends/terminal/CursesScreen.h"
#include "platform/sim/frontends/terminal/MenuLayout.h"
#include "platform/sim/frontends/terminal/MenuTracking.h"
#include "platform/sim/machine/FileDescriptor.h"

namespace lumora::sim::terminal {

// The simulated Mac in a terminal: a menu bar with the status item at its right end, the
// display as the app sees it, the status menu, alerts and windows; keyboard and mouse.
class TerminalFrontEnd {
 public:
  explicit TerminalFrontEnd(SimMac& mac);
  TerminalFrontEnd(const TerminalFrontEnd&) = delete;
  TerminalFrontEnd& operator=(const TerminalFrontEnd&) = delete;

 private:
  struct Button {
    int y, left, right;
    int response;
  };
  struct CloseControl {
    int y, x;
    std::weak_ptr<SimWindow> window;
  };

  void readInput();
  void handle(const Input& input);
  void handleAlert(const Input& input);
  void handleMenu(const Input& input);
  bool handleWindow(const Input& input);
  void handleGlobal(const Input& input);
  void openMenu(bool fromKeyboard);
  void closeMenu();
  void follow(const MenuTracking::Outcome& outcome);
  bool onStatusItem(const Input& input) const;

  void redraw();
  void drawMenuBar();
  void drawPanel();
  void drawWindows();
  void drawMenus();
  void drawMenuBox(const MenuBox& box, std::size_t level);
  void drawAlert();
  void drawHelp();
  void drawFooter();
  int drawStatusItem(int x);

  const platform::Menu* installedMenu() const;
  SimStatusItem* statusItem() const;

  SimMac& mac_;
  CursesScreen screen_;
  MenuTracking tracking_;
  bool helpShown_ = false;
  bool dirty_ = true;
  int alertFocus_ = 0;
  std::string message_;
  int statusLeft_ = 0;
  int statusRight_ = 0;
  std::vector<MenuBox> menuBoxes_;
  std::vector<Button> alertButtons_;
  std::vector<CloseControl> closeControls_;
  FileDescriptor resizeRead_;
};

}  // namespace lumora::sim::terminal
