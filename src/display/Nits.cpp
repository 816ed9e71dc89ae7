#include "display/Nits.h"

#include <algorithm>
#include <cmath>

namespace lumora {

double clampedXDRLevel(double requestedNits) {
  if (std::isnan(requestedNits)) return sdrCeilingNits;
  return std::min(std::max(requestedNits, sdrCeilingNits), xdrMaximumNits);
}

std::optional<std::int64_t> truncatedToInteger(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  const double whole = std::trunc(value);
  // -2^63 is representable; 2^63 is the first value past the top.
  constexpr double lowest = -9223372036854775808.0;
  constexpr double pastHighest = 9223372036854775808.0;
  if (whole < lowest || whole >= pastHighest) return std::nullopt;
  return static_cast<std::int64_t>(whole);
}

std::string nitsText(double nits) {
  return std::to_string(truncatedToInteger(nits + 0.5).value_or(0)) + " nits";
}

}  // namespace lumora
