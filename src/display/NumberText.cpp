#include "display/NumberText.h"

#include <charconv>

namespace lumora {
namespace {

std::string formatted(double value, std::chars_format format, int precision) {
  char text[64];
  const std::to_chars_result end =
      std::to_chars(text, text + sizeof text, value, format, precision);
  return std::string(text, end.ptr);
}

}  // namespace

std::string numberText(double value, int digits) {
  return formatted(value, std::chars_format::general, digits);
}

std::string decimalText(double value, int decimals) {
  return formatted(value, std::chars_format::fixed, decimals);
}

std::string secondsText(std::chrono::steady_clock::duration duration) {
  return decimalText(std::chrono::duration<double>(duration).count(), 1) + " s";
}

}  // namespace lumora
