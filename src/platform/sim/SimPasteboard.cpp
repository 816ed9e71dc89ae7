#include "platform/sim/SimPasteboard.h"

#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/sim/machine/AtomicFile.h"

namespace lumora::sim {

std::optional<std::string> SimPasteboard::copyText(std::string_view text) {
  if (file_.empty()) return "the simulated Mac has no pasteboard file";
  const std::optional<WriteFailure> failure = writeFileAtomically(file_, text);
  if (!failure) return std::nullopt;
  return file_.string() + " cannot be written (" + failure->reason + ")";
}

std::optional<std::string> SimPasteboard::text() {
  std::error_code error;
  // Only a regular file is the pasteboard: a FIFO in its place would hold the read.
  if (!std::filesystem::is_regular_file(file_, error)) return std::nullopt;
  std::ifstream in(file_, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace lumora::sim
