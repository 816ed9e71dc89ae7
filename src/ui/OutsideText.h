#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lumora::ui {

// Text that came from outside the app (a URL, a preference the user wrote), as the parsers read
// and quote it.

// ASCII letters in lower case, every other byte as it is.
std::string lowerCaseASCII(std::string_view text);

// Safe to print: bytes other than printable ASCII as \xNN, cut after `longest` bytes with "…".
std::string printable(std::string_view text, std::size_t longest = 80);
// The same in double quotes, to name a part of what came.
std::string quoted(std::string_view text);

}  // namespace lumora::ui
