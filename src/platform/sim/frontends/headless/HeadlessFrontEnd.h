#pragma once

#include <cstdio>
#include <deque>
#include <string>
#include <vector>

#include "platform/sim/SimMac.h"
#include "platform/sim/frontends/headless/CommandLines.h"
#include "platform/sim/frontends/headless/HeadlessCommands.h"

namespace lumora::sim {

// The simulated Mac without a screen: it prints the status item and the main display when the
// app has started and whenever they change, and takes commands line by line ("help" lists them).
// The start line comes before any command is read; each reply comes once what the commands
// before it stored is on disk; the next command is read once the app is done with the last one
// (an alert it brings up is open); the end of the input ends the app as Quit does.
class HeadlessFrontEnd {
 public:
  // With `inputFd` below 0 no command is read at all.
  HeadlessFrontEnd(SimMac& mac, int inputFd, std::FILE* output, bool withColor);

 private:
  void start();
  void printStatus();
  void printStatusIfChanged();
  void readInput();
  void endInput();
  void noticeAlert();
  // The app is still at what the last command set off: the next command, and the end of the
  // input, wait for it.
  bool busyWithCommand() const;
  // Commands run one per pass of the run loop, each once the app is done with the one before.
  void scheduleCommands();
  void runCommands();
  void runCommand(const CommandLines::Line& line);
  void quitWhenInputIsDone();
  // Lines are said during a pass and printed at its end, after the stores are written.
  void say(std::string line);
  void printSaid();
  void print(const std::string& line);

  SimMac& mac_;
  int inputFd_;
  std::FILE* output_;
  bool withColor_;
  HeadlessCommands commands_;
  CommandLines lines_;
  std::vector<char> readBuffer_;
  std::deque<CommandLines::Line> waiting_;
  std::vector<std::string> said_;
  std::string lastStatus_;
  std::shared_ptr<const SimDisplayState::Snapshot> shownDisplays_;
  std::size_t alertsOpen_ = 0;
  bool shownInDock_ = false;
  bool buttonChanged_ = true;
  bool started_ = false;
  bool inputEnded_ = false;
  bool commandScheduled_ = false;
};

}  // namespace lumora::sim
