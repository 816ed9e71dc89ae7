#pragma once

#include <cstdio>
#include <string_view>

namespace lumora::platform {

// Writes `line` and a newline to `stream`, and flushes it. Once a write to the stream has failed
// (its reader went away, EPIPE, or any other error), nothing more is written to it, and quietly:
// the app goes on as a menu-bar app does with nobody watching. The stream's error flag is the
// record, so every writer of the stream stops at once. Any thread.
inline void writeLine(std::FILE* stream, std::string_view line) {
  if (std::ferror(stream) != 0) return;
  std::fwrite(line.data(), 1, line.size(), stream);
  std::fputc('\n', stream);
  std::fflush(stream);
}

}  // namespace lumora::platform
