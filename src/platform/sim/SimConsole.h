#pragma once

#include <functional>
#include <string_view>

#include "platform/Console.h"
#include "platform/posix/StdioConsole.h"

namespace lumora::sim {

// Standard output and error, unless a front end that owns the terminal takes the lines.
class SimConsole final : public platform::Console {
 public:
  using Sink = std::function<void(std::string_view line, bool isError)>;

  void setSink(Sink sink) { sink_ = std::move(sink); }

  void printLine(std::string_view line) override {
    if (sink_) return sink_(line, false);
    stdio_.printLine(line);
  }
  void printErrorLine(std::string_view line) override {
    if (sink_) return sink_(line, true);
    stdio_.printErrorLine(line);
  }

 private:
  platform::StdioConsole stdio_;
  Sink sink_;
};

}  // namespace lumora::sim
