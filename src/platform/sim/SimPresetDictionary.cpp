#include "platform/sim/SimPresetDictionary.h"

#include <string>

namespace lumora::sim {

SimPresetDictionary::SimPresetDictionary(PlistPtr dictionary)
    : dictionary_(std::move(dictionary)) {}

std::unique_ptr<platform::MutablePresetDictionary> SimPresetDictionary::mutableCopy() const {
  return std::make_unique<SimPresetDictionary>(copyOf(dictionary_.get()));
}

std::optional<double> SimPresetDictionary::numberValue(std::string_view key) const {
  return sim::numberValue(dictItem(dictionary_.get(), key));
}

void SimPresetDictionary::setString(std::string_view key, std::string_view value) {
  setDictItem(dictionary_.get(), key, adopt(plist_new_string(std::string(value).c_str())));
}

void SimPresetDictionary::setDouble(std::string_view key, double value) {
  setDictItem(dictionary_.get(), key, adopt(plist_new_real(value)));
}

void SimPresetDictionary::setInteger(std::string_view key, std::int64_t value) {
  setDictItem(dictionary_.get(), key, makeInteger(value));
}

void SimPresetDictionary::setData(std::string_view key, std::span<const std::uint8_t> bytes) {
  setDictItem(dictionary_.get(), key,
              adopt(plist_new_data(reinterpret_cast<const char*>(bytes.data()), bytes.size())));
}

}  // namespace lumora::sim
