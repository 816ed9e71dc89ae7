#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lumora::sim {

// Standard input cut into command lines. Every byte is looked at once, however the input comes
// in; a line longer than `maximumLength` is dropped whole, and only its length is kept.
class CommandLines {
 public:
  static constexpr std::size_t maximumLength = 64 * 1024;

  struct Line {
    std::string text;               // without its line feed
    std::size_t droppedLength = 0;  // a line too long: its length, and no text
  };

  // Takes the bytes that came; the lines they complete are added to `into`.
  void take(std::string_view bytes, std::vector<Line>& into);
  // The end of the input: a last line without a line feed is a line too.
  void finish(std::vector<Line>& into);

 private:
  std::string pending_;  // the line begun, never longer than maximumLength
  bool dropping_ = false;
  std::size_t droppedSoFar_ = 0;
};

}  // namespace lumora::sim
