#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/sim/SimMac.h"
#include "platform/sim/frontends/terminal/CursesScreen.h"
#include "platform/sim/frontends/terminal/MenuLayout.h"
#include "platform/sim/frontends/terminal/MenuTracking.h"
#include "platform/sim/frontends/terminal/MinuteTicker.h"
#include "platform/sim/machine/FileDescriptor.h"

namespace lumora::sim::terminal {

// The simulated Mac in a terminal: a menu bar with the status item at its right end, the
// display as the app sees it, the status menu, alerts and windows; keyboard and mouse. The screen
// is drawn again only when something on it changed.
class TerminalFrontEnd {
 public:
  // The smallest terminal everything can be shown in; a smaller one shows a notice instead.
  static constexpr int minimumColumns = 40;
  static constexpr int minimumRows = 12;

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
  struct WindowBox {
    std::shared_ptr<SimWindow> window;
    Area area;
  };
  // A box of text that scrolls when the screen is too short for it: the help, an alert.
  struct TextBox {
    Area area;
    std::vector<std::string> heading;  // an alert's message
    std::vector<std::string> lines;
    int textTop = 0;  // the row of the first line shown
    int textRows = 0;
    int first = 0;  // the first line shown
    bool scrolls() const { return static_cast<int>(lines.size()) > textRows; }
  };

  void readInput();
  void noticeHangUp();
  void handle(const Input& input);
  void handleHelp(const Input& input);
  void handleAlert(const Input& input);
  void handleMenu(const Input& input);
  bool handleWindow(const Input& input);
  void handleMainScreen(const Input& input);
  void openMenu(bool fromKeyboard);
  void closeMenu();
  void follow(const MenuTracking::Outcome& outcome);
  void pick(const platform::MenuItem& entry);
  bool onStatusItem(const Input& input) const;
  bool tooSmall() const;
  void checkDisplays();
  void checkClock();

  void redraw();
  void drawTooSmall();
  void layOutStatusItem();
  void drawMenuBar();
  void drawPanel(const std::vector<Area>& covers);
  std::vector<WindowBox> layOutWindows() const;
  void drawWindow(const WindowBox& box);
  void drawMenus();
  void drawMenuBox(const MenuBox& box, std::size_t level);
  TextBox layOutAlert() const;
  void drawAlert(const TextBox& box);
  TextBox layOutHelp() const;
  void drawHelp(const TextBox& box);
  void drawScrollMarkers(const TextBox& box);
  void drawFooter();
  void drawStatusItem(int x);

  const platform::Menu* installedMenu() const;
  SimStatusItem* statusItem() const;

  SimMac& mac_;
  CursesScreen screen_;
  MenuTracking tracking_;
  MinuteTicker minuteTicker_;
  bool dirty_ = true;
  bool helpShown_ = false;
  int helpFirst_ = 0;
  bool helpScrolls_ = false;
  int alertFocus_ = 0;
  int alertFirst_ = 0;
  bool alertScrolls_ = false;
  std::string message_;
  std::string shownClock_;
  std::shared_ptr<const SimDisplayState::Snapshot> shownDisplays_;
  int statusLeft_ = 0;
  int statusRight_ = 0;
  std::vector<int> menuFirstRows_;
  std::vector<MenuBox> menuBoxes_;
  std::vector<Button> alertButtons_;
  std::vector<CloseControl> closeControls_;
  FileDescriptor resizeRead_;
};

}  // namespace lumora::sim::terminal
