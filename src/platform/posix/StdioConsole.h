#pragma once

#include <cstdio>
#include <string_view>

#include "platform/Console.h"
#include "platform/posix/LineOutput.h"

namespace lumora::platform {

// Standard output and standard error of the process; a stream whose reader went away is written
// no more (see writeLine).
class StdioConsole final : public Console {
 public:
  void printLine(std::string_view line) override { writeLine(stdout, line); }
  void printErrorLine(std::string_view line) override { writeLine(stderr, line); }
};

}  // namespace lumora::platform
