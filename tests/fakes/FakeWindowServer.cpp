#include "fakes/FakeWindowServer.h"

#include <algorithm>

namespace lumora::testing {

using namespace platform::windowServerStatus;

std::unique_ptr<platform::MutablePresetDictionary> FakePresetDictionary::mutableCopy() const {
  if (copyFails_) return nullptr;
  return std::make_unique<FakePresetDictionary>(values_);
}

std::optional<double> FakePresetDictionary::numberValue(std::string_view key) const {
  const auto found = values_.find(key);
  if (found == values_.end()) return std::nullopt;
  if (const auto* real = std::get_if<double>(&found->second)) return *real;
  if (const auto* integer = std::get_if<std::int64_t>(&found->second)) {
    return static_cast<double>(*integer);
  }
  return std::nullopt;
}

std::optional<std::string> FakePresetDictionary::stringValue(std::string_view key) const {
  const auto found = values_.find(key);
  if (found == values_.end()) return std::nullopt;
  if (const auto* text = std::get_if<std::string>(&found->second)) return *text;
  return std::nullopt;
}

void FakePresetDictionary::setString(std::string_view key, std::string_view value) {
  values_[std::string(key)] = std::string(value);
  setOrder_.emplace_back(key);
}

void FakePresetDictionary::setDouble(std::string_view key, double value) {
  values_[std::string(key)] = value;
  setOrder_.emplace_back(key);
}

void FakePresetDictionary::setInteger(std::string_view key, std::int64_t value) {
  values_[std::string(key)] = value;
  setOrder_.emplace_back(key);
}

void FakePresetDictionary::setData(std::string_view key, std::span<const std::uint8_t> bytes) {
  values_[std::string(key)] = std::vector<std::uint8_t>(bytes.begin(), bytes.end());
  setOrder_.emplace_back(key);
}

FakeValues FakeWindowServer::standardPreset() {
  return FakeValues{
      {"PresetName", std::string("Standard")},
      {"PresetDescription", std::string("The display's own preset")},
      {"PresetIndex", std::int64_t{0}},
      {"PresetMaxSDRLuminance", 500.0},
      {"PresetMaxHDRLuminance", 1600.0},
      {"PresetHostMaxSliderBrightness", 500.0},
      {"PresetWritable", false},
      {"PresetValid", true},
      {"PresetUniqueID", std::vector<std::uint8_t>{1, 2, 3}},
      {"PresetColorGamut", std::string("P3")},
      {"PresetReferenceBrightness", std::int64_t{100}},
      {"PresetGain", 0.75},
      {"PresetAmbientAdaptation", true},
      {"PresetCalibration", std::vector<std::uint8_t>{0, 255, 128}},
      {"PresetWhitePoint", Nested{"{x: 0.3127, y: 0.329}"}},
  };
}

bool FakeWindowServer::isSlot(std::int32_t index) {
  return index >= 0 && index < platform::presetSlotCount;
}

bool FakeWindowServer::isReadOnly(const FakeValues& preset) {
  const auto writable = preset.find("PresetWritable");
  if (writable == preset.end()) return false;
  if (const auto* flag = std::get_if<bool>(&writable->second)) return !*flag;
  if (const auto* number = std::get_if<std::int64_t>(&writable->second)) return *number == 0;
  return false;
}

const FakeValues* FakeWindowServer::presetAt(platform::DisplayID display,
                                             std::int32_t index) const {
  const auto slots = presets.find(display);
  if (slots == presets.end()) return nullptr;
  const auto found = slots->second.find(index);
  return found == slots->second.end() ? nullptr : &found->second;
}

platform::OpenedPresetFunctions FakeWindowServer::openPresetFunctions(
    std::string_view libraryPath, const platform::PresetFunctionNames& names) {
  openedPath = std::string(libraryPath);
  requestedNames = names;
  platform::OpenedPresetFunctions opened;
  if (openError) {
    opened.openError = *openError;
    return opened;
  }
  const auto present = [this](std::string_view name) {
    return std::find(missingNames.begin(), missingNames.end(), name) == missingNames.end();
  };
  if (present(names.getActivePresetIndex)) {
    opened.functions.getActivePresetIndex = [this](platform::DisplayID display) {
      log_.add("windowServer.getActive");
      const auto found = activeIndex.find(display);
      return found == activeIndex.end() ? -1 : found->second;
    };
  }
  if (present(names.setActivePresetIndex)) {
    opened.functions.setActivePresetIndex = [this](platform::DisplayID display,
                                                   std::int32_t index) {
      log_.add("windowServer.setActive ", std::to_string(index));
      activations.emplace_back(display, index);
      if (!isSlot(index)) return rangeCheck;
      const FakeValues* existing = presetAt(display, index);
      if (existing == nullptr) return illegalArgument;
      activeIndex[display] = index;
      return success;
    };
  }
  if (present(names.copyPresetData)) {
    opened.functions.copyPresetData =
        [this](platform::DisplayID display,
               std::int32_t index) -> std::shared_ptr<const platform::PresetDictionary> {
      log_.add("windowServer.copyPreset ", std::to_string(index));
      if (log_.isRecording()) copies.emplace_back(display, index);
      const FakeValues* existing = isSlot(index) ? presetAt(display, index) : nullptr;
      if (existing == nullptr) return nullptr;
      // The same copy again while the preset is unchanged, as the platform may.
      std::shared_ptr<const FakePresetDictionary>& handedOut = handedOut_[{display, index}];
      if (!handedOut || handedOut->values() != *existing ||
          handedOut->copyFails() != mutableCopyFails) {
        handedOut = std::make_shared<FakePresetDictionary>(*existing, mutableCopyFails);
      }
      return handedOut;
    };
  }
  if (present(names.setPresetData)) {
    opened.functions.setPresetData = [this](platform::DisplayID display, std::int32_t index,
                                            const platform::PresetDictionary& preset) {
      log_.add("windowServer.setPreset ", std::to_string(index));
      // Only dictionaries of this window server can be handed back to it.
      const auto* fake = dynamic_cast<const FakePresetDictionary*>(&preset);
      if (fake == nullptr) return illegalArgument;
      writes.push_back(Write{display, index, fake->values(), fake->setOrder()});
      if (setPresetStatus != success) return setPresetStatus;
      if (!isSlot(index)) return rangeCheck;
      const auto slots = presets.find(display);
      if (slots == presets.end()) return illegalArgument;
      const FakeValues* existing = presetAt(display, index);
      if (existing != nullptr && isReadOnly(*existing)) return invalidOperation;
      slots->second[index] = fake->values();
      return success;
    };
  }
  return opened;
}

}  // namespace lumora::testing
