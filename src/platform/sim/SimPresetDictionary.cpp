#include "platform/sim/SimPresetDictionary.h"

#include <string>

namespace lumora::sim {

SimPresetDictionary::SimPresetDictionary(SharedPlist document, plist_t node)
    : document_(std::move(document)), node_(node) {}

SimPresetDictionary::SimPresetDictionary(PlistPtr dictionary)
    : document_(share(std::move(dictionary))), node_(document_.get()) {}

std::unique_ptr<platform::MutablePresetDictionary> SimPresetDictionary::mutableCopy() const {
  return std::make_unique<SimPresetDictionary>(copyOf(node_));
}

std::optional<double> SimPresetDictionary::numberValue(std::string_view key) const {
  return sim::numberValue(dictItem(node_, key));
}

std::optional<std::string> SimPresetDictionary::stringValue(std::string_view key) const {
  return sim::stringValue(dictItem(node_, key));
}

void SimPresetDictionary::setString(std::string_view key, std::string_view value) {
  setDictItem(node_, key, adopt(plist_new_string(std::string(value).c_str())));
}

void SimPresetDictionary::setDouble(std::string_view key, double value) {
  setDictItem(node_, key, adopt(plist_new_real(value)));
}

void SimPresetDictionary::setInteger(std::string_view key, std::int64_t value) {
  setDictItem(node_, key, makeInteger(value));
}

void SimPresetDictionary::setData(std::string_view key, std::span<const std::uint8_t> bytes) {
  setDictItem(node_, key,
              adopt(plist_new_data(reinterpret_cast<const char*>(bytes.data()), bytes.size())));
}

}  // namespace lumora::sim
