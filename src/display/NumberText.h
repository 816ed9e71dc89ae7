#pragma once

#include <chrono>
#include <string>

namespace lumora {

// A number as printf's %g gives it, with `digits` significant digits, whatever the locale.
std::string numberText(double value, int digits = 6);
// With `decimals` digits after the point, as printf's %.<decimals>f.
std::string decimalText(double value, int decimals);
// A duration in seconds with one decimal: "12.3 s".
std::string secondsText(std::chrono::steady_clock::duration duration);

}  // namespace lumora
