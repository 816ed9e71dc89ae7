#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lumora::platform {

// The general pasteboard (NSPasteboard.generalPasteboard), for plain text the user pastes
// elsewhere. Main thread only.
class Pasteboard {
 public:
  virtual ~Pasteboard() = default;

  // Replaces what the pasteboard holds with `text` (clearContents, then setString:forType: with
  // the plain-text type). None when it took it; otherwise why not.
  virtual std::optional<std::string> copyText(std::string_view text) = 0;
  // The plain text it holds; none when it holds none.
  virtual std::optional<std::string> text() = 0;
};

}  // namespace lumora::platform
