#pragma once

#include <string>

#include "platform/sim/machine/FileDescriptor.h"

namespace lumora::sim::terminal {

// The wall clock's local time now: with the day, as the menu bar shows it ("Mon 14:05"), or
// without ("14:05").
std::string localTime(bool withDay);

// A file descriptor that becomes readable as the wall clock enters a new minute, so the menu-bar
// clock moves on in every mode of the run loop (its timers wait while a menu or an alert is up)
// without waking the process every second.
class MinuteTicker {
 public:
  MinuteTicker();

  // -1 where the system has no such timer; the clock then moves on with the app's own refresh.
  int fd() const { return fd_.get(); }
  // Takes the ticks that are due; after a change of the system clock, aims at the new minute.
  void acknowledge();

 private:
  void arm();

  FileDescriptor fd_;
};

}  // namespace lumora::sim::terminal
