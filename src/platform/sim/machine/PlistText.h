#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lumora::sim {

// The deepest nesting of dictionaries and arrays a document may have. The property-list library
// copies, writes and frees documents recursively, so a deeper one could exhaust the stack; the
// app's own files are six levels deep.
inline constexpr int maximumPlistNesting = 32;

// Why XML property-list text cannot be read whole, or none when it can. Read whole means that
// every value the text holds is read exactly as written, so that writing the values back loses
// nothing. The property-list library accepts more than that: it drops comments, earlier values
// of a repeated key and anything after the document, reads a malformed number as 0, keeps bytes
// that are not UTF-8 (and then writes a file that is not XML), and aborts on a NUL byte inside a
// string. Text it would change or choke on is refused here, before it is parsed.
std::optional<std::string> whyNotReadWhole(std::string_view text);

}  // namespace lumora::sim
