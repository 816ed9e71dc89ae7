#include "platform/sim/SimUserDefaults.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

namespace lumora::sim {
namespace {

std::string lowercase(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

std::optional<std::int64_t> parseInteger(const std::string& text) {
  if (text.empty()) return std::nullopt;
  errno = 0;
  char* end = nullptr;
  const long long value = std::strtoll(text.c_str(), &end, 10);
  if (errno != 0 || end == text.c_str() || *end != '\0') return std::nullopt;
  return static_cast<std::int64_t>(value);
}

// The whole part of a real, as integerForKey reads it; 0 when there is none to take.
std::int64_t wholePart(double real) {
  if (!std::isfinite(real) || std::fabs(real) >= 9.2e18) return 0;
  return static_cast<std::int64_t>(real);
}

std::optional<double> parseReal(const std::string& text) {
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (end == text.c_str() || *end != '\0') return std::nullopt;
  return value;
}

}  // namespace

SimUserDefaults::SimUserDefaults(std::filesystem::path file, platform::Console& console)
    : file_(std::move(file), console, isDictionary) {}

plist_t SimUserDefaults::valueFor(std::string_view key) {
  return dictItem(file_.load(), key);
}

void SimUserDefaults::store(std::string_view key, PlistPtr value) {
  // Starts from the file as it is now, so that keys written by another process are kept.
  const plist_t current = file_.load();
  // A value stored again as it is changes nothing, and is not written.
  if (equalValues(dictItem(current, key), value.get())) return;
  PlistPtr next = current != nullptr ? copyOf(current) : adopt(plist_new_dict());
  setDictItem(next.get(), key, std::move(value));
  file_.store(std::move(next));
}

bool SimUserDefaults::boolForKey(std::string_view key) {
  const plist_t value = valueFor(key);
  if (const std::optional<bool> flag = boolValue(value)) return *flag;
  if (const std::optional<std::int64_t> integer = integerValue(value)) return *integer != 0;
  if (const std::optional<double> real = realValue(value)) return !std::isnan(*real) && *real != 0;
  if (const std::optional<std::string> text = stringValue(value)) {
    const std::string word = lowercase(*text);
    if (word == "yes" || word == "true") return true;
    if (const std::optional<std::int64_t> integer = parseInteger(word)) return *integer != 0;
  }
  return false;
}

std::int64_t SimUserDefaults::integerForKey(std::string_view key) {
  const plist_t value = valueFor(key);
  if (const std::optional<std::int64_t> integer = integerValue(value)) return *integer;
  if (const std::optional<bool> flag = boolValue(value)) return *flag ? 1 : 0;
  // A real that has no integer value (not finite, out of range) reads as 0.
  if (const std::optional<double> real = realValue(value)) return wholePart(*real);
  if (const std::optional<std::string> text = stringValue(value)) {
    if (const std::optional<std::int64_t> integer = parseInteger(*text)) return *integer;
    if (const std::optional<double> real = parseReal(*text)) return wholePart(*real);
  }
  return 0;
}

double SimUserDefaults::doubleForKey(std::string_view key) {
  const plist_t value = valueFor(key);
  if (const std::optional<double> real = realValue(value)) return *real;
  if (const std::optional<std::int64_t> integer = integerValue(value)) {
    return static_cast<double>(*integer);
  }
  if (const std::optional<bool> flag = boolValue(value)) return *flag ? 1.0 : 0.0;
  if (const std::optional<std::string> text = stringValue(value)) {
    return parseReal(*text).value_or(0.0);
  }
  return 0.0;
}

bool SimUserDefaults::hasValueForKey(std::string_view key) {
  return valueFor(key) != nullptr;
}

std::optional<std::string> SimUserDefaults::stringForKey(std::string_view key) {
  const plist_t value = valueFor(key);
  if (std::optional<std::string> text = stringValue(value)) return text;
  // A number reads as its text, as NSUserDefaults gives it; a boolean is a number there.
  if (const std::optional<std::int64_t> integer = integerValue(value)) {
    return std::to_string(*integer);
  }
  if (const std::optional<bool> flag = boolValue(value)) return *flag ? "1" : "0";
  if (const std::optional<double> real = realValue(value)) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", *real);
    return text;
  }
  return std::nullopt;
}

void SimUserDefaults::setBool(std::string_view key, bool value) {
  store(key, adopt(plist_new_bool(value ? 1 : 0)));
}

void SimUserDefaults::setInteger(std::string_view key, std::int64_t value) {
  store(key, makeInteger(value));
}

void SimUserDefaults::setDouble(std::string_view key, double value) {
  store(key, adopt(plist_new_real(value)));
}

}  // namespace lumora::sim
