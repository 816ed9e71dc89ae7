#pragma once

#include <array>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/posix/StdioConsole.h"
#include "platform/sim/SimMac.h"
#include "platform/sim/frontends/terminal/AlertView.h"
#include "platform/sim/frontends/terminal/CursesScreen.h"
#include "platform/sim/frontends/terminal/DiagnosisView.h"
#include "platform/sim/frontends/terminal/Footer.h"
#include "platform/sim/frontends/terminal/HelpView.h"
#include "platform/sim/frontends/terminal/MenuBar.h"
#include "platform/sim/frontends/terminal/MenuView.h"
#include "platform/sim/frontends/terminal/MessageList.h"
#include "platform/sim/frontends/terminal/MessageListView.h"
#include "platform/sim/frontends/terminal/MinuteTicker.h"
#include "platform/sim/frontends/terminal/WindowView.h"
#include "platform/sim/machine/FileDescriptor.h"

namespace lumora::sim::terminal {

// The simulated Mac in a terminal: a menu bar with the status item at its right end, the
// display as the app sees it, and over it the layers: windows, the message list, the diagnosis,
// the status menu, an alert and the help, each a view of its own. This routes input down the
// layers, top first, and draws them in order; the screen is drawn again only when something on it
// changed.
class TerminalFrontEnd {
 public:
  // The smallest terminal everything can be shown in; a smaller one shows a notice instead.
  static constexpr int minimumColumns = 40;
  static constexpr int minimumRows = 12;

  explicit TerminalFrontEnd(SimMac& mac);
  TerminalFrontEnd(const TerminalFrontEnd&) = delete;
  TerminalFrontEnd& operator=(const TerminalFrontEnd&) = delete;

 private:
  void watchResizes();
  void takeLine(std::string_view line, bool isError);
  void readInput();
  void noticeHangUp();
  void handle(const Input& input);
  void handleMainScreen(const Input& input);
  void quit();
  bool tooSmall() const;
  void checkDisplays();
  void checkClock();

  void redraw();
  void drawTooSmall();
  std::vector<std::string_view> footerHints() const;
  const Overlay* topLayer() const;
  std::string_view helpSection() const;
  const platform::Menu* installedMenu() const;

  SimMac& mac_;
  CursesScreen screen_;
  MinuteTicker minuteTicker_;
  MessageList messages_;
  MenuBar menuBar_{mac_};
  Footer footer_;
  WindowView windows_{mac_.windows, mac_.application};
  MessageListView messageList_{messages_};
  DiagnosisView diagnosis_{mac_.application};
  MenuView menu_{mac_.statusBar, mac_.application, mac_.loop};
  AlertView alert_{mac_.alerts};
  HelpView help_;
  // Bottom to top: drawn in this order, and asked for input the other way round.
  const std::array<Overlay*, 6> layers_{&windows_, &messageList_, &diagnosis_,
                                        &menu_,    &alert_,       &help_};
  bool dirty_ = true;
  std::shared_ptr<const SimDisplayState::Snapshot> shownDisplays_;
  // Error lines still go to standard error where that is not this terminal, as to a log.
  bool errorsToStandardError_ = false;
  platform::StdioConsole standardError_;
  FileDescriptor resizeRead_;
};

}  // namespace lumora::sim::terminal
