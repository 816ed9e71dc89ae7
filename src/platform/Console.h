#pragma once

#include <string_view>

namespace lumora::platform {

// The process's standard output and standard error, one line at a time, from any thread.
class Console {
 public:
  virtual ~Console() = default;

  virtual void printLine(std::string_view line) = 0;
  virtual void printErrorLine(std::string_view line) = 0;
};

}  // namespace lumora::platform
