#pragma once

#include <string>
#include <vector>

#include "platform/Console.h"

namespace lumora::testing {

class FakeConsole final : public platform::Console {
 public:
  void printLine(std::string_view line) override { output.emplace_back(line); }
  void printErrorLine(std::string_view line) override { errors.emplace_back(line); }

  std::vector<std::string> output;
  std::vector<std::string> errors;
};

}  // namespace lumora::testing
