#pragma once

#include "platform/Pasteboard.h"

namespace lumora::macos {

// NSPasteboard.generalPasteboard, plain text only.
class MacPasteboard final : public platform::Pasteboard {
 public:
  std::optional<std::string> copyText(std::string_view text) override;
  std::optional<std::string> text() override;
};

}  // namespace lumora::macos
