#include "fakes/FakeUserDefaults.h"

namespace lumora::testing {

namespace {

std::string describe(const FakeUserDefaults::Value& value) {
  if (const auto* flag = std::get_if<bool>(&value)) return *flag ? "true" : "false";
  if (const auto* integer = std::get_if<std::int64_t>(&value)) return std::to_string(*integer);
  if (const auto* text = std::get_if<std::string>(&value)) return "\"" + *text + "\"";
  return std::to_string(std::get<double>(value));
}

}  // namespace

bool FakeUserDefaults::boolForKey(std::string_view key) {
  const auto found = values.find(key);
  if (found == values.end()) return false;
  if (const auto* flag = std::get_if<bool>(&found->second)) return *flag;
  if (const auto* integer = std::get_if<std::int64_t>(&found->second)) return *integer != 0;
  if (const auto* real = std::get_if<double>(&found->second)) return *real != 0.0;
  return false;
}

std::int64_t FakeUserDefaults::integerForKey(std::string_view key) {
  const auto found = values.find(key);
  if (found == values.end()) return 0;
  if (const auto* integer = std::get_if<std::int64_t>(&found->second)) return *integer;
  if (const auto* flag = std::get_if<bool>(&found->second)) return *flag ? 1 : 0;
  return 0;
}

bool FakeUserDefaults::hasValueForKey(std::string_view key) {
  return values.find(key) != values.end();
}

std::optional<std::string> FakeUserDefaults::stringForKey(std::string_view key) {
  const auto found = values.find(key);
  if (found == values.end()) return std::nullopt;
  if (const auto* text = std::get_if<std::string>(&found->second)) return *text;
  return std::nullopt;
}

double FakeUserDefaults::doubleForKey(std::string_view key) {
  const auto found = values.find(key);
  if (found == values.end()) return 0.0;
  if (const auto* real = std::get_if<double>(&found->second)) return *real;
  if (const auto* integer = std::get_if<std::int64_t>(&found->second)) {
    return static_cast<double>(*integer);
  }
  if (const auto* flag = std::get_if<bool>(&found->second)) return *flag ? 1.0 : 0.0;
  return 0.0;
}

void FakeUserDefaults::store(std::string_view key, Value value) {
  ++writeCount;
  log_.add("defaults.set " + std::string(key) + "=" + describe(value));
  if (!writesFail) values[std::string(key)] = value;
}

void FakeUserDefaults::setBool(std::string_view key, bool value) {
  store(key, value);
}

void FakeUserDefaults::setInteger(std::string_view key, std::int64_t value) {
  store(key, value);
}

void FakeUserDefaults::setDouble(std::string_view key, double value) {
  store(key, value);
}

}  // namespace lumora::testing
