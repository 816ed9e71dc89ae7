#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "sim/SimMac.h"

namespace lumora::sim {

// The simulated Mac without a screen: once per tick it prints the status item and the main
// display, and it takes commands line by line ("help" lists them) to open the menu, pick entries
// and answer alerts.
class HeadlessFrontEnd {
 public:
  HeadlessFrontEnd(SimMac& mac, int inputFd, std::FILE* output, bool withColor);

 private:
  void printStatus();
  void readInput();
  void handleCommand(std::string_view command);
  void print(const std::string& line);
  const platform::Menu* installedMenu() const;

  SimMac& mac_;
  int inputFd_;
  std::FILE* output_;
  bool withColor_;
  std::string pending_;
};

}  // namespace lumora::sim
