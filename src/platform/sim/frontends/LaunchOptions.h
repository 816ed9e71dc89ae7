#pragma once

namespace lumora::sim {

// How this start of the program runs, from its arguments and its environment.
struct LaunchOptions {
  // The terminal front end: standard input and output are a terminal that can be drawn on.
  bool terminal = false;
  // Headless output may use colours: it goes to a terminal and NO_COLOR is not set.
  bool colorOutput = false;
  // Started as the login item starts it: no commands are read, nothing is printed.
  bool background = false;
  // Started to check the display and print the diagnosis (--diagnose): no front end at all.
  bool diagnose = false;
};

// The options of this start. --help (-h) and --version (-V) print and end the process before
// anything else happens, and so does --open URL once it has handed the URL over; an unknown option
// anywhere on the line ends it with the usage on standard error and status 2, whatever else the
// line asks for. A terminal the screen cannot be drawn on (TERM unset, unknown or without cursor
// addressing) means headless mode, with one line on standard error that says why.
LaunchOptions launchOptions();

}  // namespace lumora::sim
