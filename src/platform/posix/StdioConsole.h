#pragma once

#include <cstdio>
#include <string_view>

#include "platform/Console.h"

namespace lumora::platform {

// Standard output and standard error of the process.
class StdioConsole final : public Console {
 public:
  void printLine(std::string_view line) override { write(stdout, line); }
  void printErrorLine(std::string_view line) override { write(stderr, line); }

 private:
  static void write(std::FILE* stream, std::string_view line) {
    std::fwrite(line.data(), 1, line.size(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
  }
};

}  // namespace lumora::platform
