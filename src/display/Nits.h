#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace lumora {

// Brightness in candela per square metre.
inline constexpr double sdrCeilingNits = 500.0;   // the panel's ceiling without XDR
inline constexpr double xdrMaximumNits = 1600.0;  // the highest level ever written

// The level a request is written at: within the SDR ceiling and the XDR maximum; NaN becomes the
// SDR ceiling.
double clampedXDRLevel(double requestedNits);

// `value` cut toward zero when the result fits a signed 64-bit integer; none when it is not
// finite or too large, where a plain conversion would be undefined behaviour.
std::optional<std::int64_t> truncatedToInteger(double value);

// A level as people read it, rounded to whole nits: "1250 nits" (for 1249.6 too).
std::string nitsText(double nits);

}  // namespace lumora
