#pragma once

#include <cstdio>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "platform/sim/SimMac.h"

namespace lumora::sim {

// The simulated Mac without a screen: it prints the status item and the main display whenever
// they change, and it takes commands line by line ("help" lists them) to see the menu, pick
// entries and answer alerts.
class HeadlessFrontEnd {
 public:
  HeadlessFrontEnd(SimMac& mac, int inputFd, std::FILE* output, bool withColor);

 private:
  std::string statusLine(const SimDisplayState::Snapshot& displays) const;
  void printStatus();
  void printStatusIfChanged();
  void readInput();
  // Commands run one per pass of the run loop, so work they queue (an alert) comes first.
  void scheduleCommands();
  void runNextCommand();
  void handleCommand(std::string_view command);
  void print(const std::string& line);
  const platform::Menu* installedMenu() const;

  SimMac& mac_;
  int inputFd_;
  std::FILE* output_;
  bool withColor_;
  std::string lastStatus_;
  std::shared_ptr<const SimDisplayState::Snapshot> shownDisplays_;
  bool shownInDock_ = false;
  bool buttonChanged_ = true;
  std::string pending_;
  std::deque<std::string> commands_;
  // An answered alert ends its modal session only once the command that answered it returns; the
  // commands after it wait until then, as clicks after an alert's button do.
  bool answeredAlert_ = false;
  bool commandScheduled_ = false;
};

}  // namespace lumora::sim
