#include "platform/sim/SimPasteboard.h"

#include "platform/sim/machine/AtomicFile.h"
#include "platform/sim/machine/SmallFile.h"

namespace lumora::sim {

std::optional<std::string> SimPasteboard::copyText(std::string_view text) {
  if (file_.empty()) return "the simulated Mac has no pasteboard file";
  const std::optional<WriteFailure> failure = writeFileAtomically(file_, text);
  if (!failure) return std::nullopt;
  return file_.string() + " cannot be written (" + failure->reason + ")";
}

std::optional<std::string> SimPasteboard::text() {
  return readSmallFile(file_, maximumBytes);
}

}  // namespace lumora::sim
