#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/Pasteboard.h"

namespace lumora::testing {

// The pasteboard in memory.
class FakePasteboard final : public platform::Pasteboard {
 public:
  std::optional<std::string> copyText(std::string_view text) override {
    if (!takes) return "the pasteboard is full";
    contents = std::string(text);
    ++copies;
    return std::nullopt;
  }
  std::optional<std::string> text() override { return contents; }

  std::optional<std::string> contents;
  bool takes = true;
  int copies = 0;
};

}  // namespace lumora::testing
