#include "display/PresetBrightness.h"

#include <span>

#include "display/Nits.h"
#include "platform/RandomUUID.h"

namespace lumora {
namespace {

constexpr std::string_view maxSDRLuminanceKey = "PresetMaxSDRLuminance";

std::string presetName(double clampedNits) {
  // The clamped level always fits an integer; the fallback only keeps the conversion defined.
  const std::int64_t wholeNits = truncatedToInteger(clampedNits).value_or(0);
  return "Lumora XDR (" + std::to_string(wholeNits) + " nits)";
}

void writeXDRKeys(platform::MutablePresetDictionary& preset, double clampedNits) {
  preset.setString("PresetName", presetName(clampedNits));
  preset.setString("PresetDescription", "XDR brightness by Lumora Virir");
  preset.setDouble(maxSDRLuminanceKey, clampedNits);
  preset.setDouble("PresetMaxHDRLuminance", xdrMaximumNits);
  preset.setDouble("PresetHostMaxSliderBrightness", clampedNits);
  preset.setInteger("PresetHostDisableEDR", 0);
  preset.setInteger("PresetWritable", 1);
  preset.setInteger("PresetValid", 1);
  const std::string uniqueID = platform::makeRandomUUIDString();
  preset.setData("PresetUniqueID", std::span(reinterpret_cast<const std::uint8_t*>(uniqueID.data()),
                                             uniqueID.size()));
}

std::string missingNames(const platform::PresetFunctions& functions) {
  std::string missing;
  const auto note = [&missing](bool present, std::string_view name) {
    if (present) return;
    if (!missing.empty()) missing += ", ";
    missing += name;
  };
  const platform::PresetFunctionNames& names = PresetBrightness::functionNames;
  note(static_cast<bool>(functions.getActivePresetIndex), names.getActivePresetIndex);
  note(static_cast<bool>(functions.setActivePresetIndex), names.setActivePresetIndex);
  note(static_cast<bool>(functions.copyPresetData), names.copyPresetData);
  note(static_cast<bool>(functions.setPresetData), names.setPresetData);
  return missing;
}

}  // namespace

bool PresetBrightness::Summary::fixesBrightness() const {
  if (sdrNits && *sdrNits < sdrCeilingNits - 0.5) return true;
  return sdrNits && hdrNits && *hdrNits <= *sdrNits;
}

std::optional<PresetBrightness::Summary> PresetBrightness::summary(platform::DisplayID display,
                                                                   std::int32_t index) {
  const std::shared_ptr<const platform::PresetDictionary> preset = copy(display, index);
  if (!preset) return std::nullopt;
  return Summary{.name = preset->stringValue("PresetName").value_or("(unnamed)"),
                 .sdrNits = preset->numberValue(maxSDRLuminanceKey),
                 .hdrNits = preset->numberValue("PresetMaxHDRLuminance")};
}

std::shared_ptr<const platform::PresetDictionary> PresetBrightness::copy(
    platform::DisplayID display, std::int32_t index) {
  if (!isOpen()) return nullptr;
  return getPresetFn_(display, index);
}

std::int32_t PresetBrightness::restore(platform::DisplayID display, std::int32_t index,
                                       const platform::PresetDictionary& preset) {
  if (!isOpen()) return platform::windowServerStatus::failure;
  return setPresetFn_(display, index, preset);
}

const std::string& PresetBrightness::open() {
  if (opened_) return whyUnavailable_;
  opened_ = true;
  platform::OpenedPresetFunctions opened =
      windowServer_.openPresetFunctions(frameworkPath, functionNames);
  if (!opened.openError.empty()) {
    whyUnavailable_ = "cannot open " + std::string(frameworkPath) + " (" + opened.openError + ")";
    return whyUnavailable_;
  }
  const std::string missing = missingNames(opened.functions);
  if (!missing.empty()) {
    // All four or none: a partial set is never called.
    whyUnavailable_ = "the window server lacks " + missing;
    return whyUnavailable_;
  }
  getActiveFn_ = std::move(opened.functions.getActivePresetIndex);
  setActiveFn_ = std::move(opened.functions.setActivePresetIndex);
  getPresetFn_ = std::move(opened.functions.copyPresetData);
  setPresetFn_ = std::move(opened.functions.setPresetData);
  return whyUnavailable_;
}

std::int32_t PresetBrightness::activePresetIndex(platform::DisplayID display) {
  if (!isOpen()) return standardPresetIndex;
  return getActiveFn_(display);
}

std::optional<double> PresetBrightness::activeCeiling(platform::DisplayID display,
                                                      std::int32_t activeIndex) {
  if (!isOpen()) return std::nullopt;
  if (activeIndex == standardPresetIndex) return std::nullopt;
  const std::shared_ptr<const platform::PresetDictionary> preset =
      getPresetFn_(display, activeIndex);
  if (!preset) return std::nullopt;
  const std::optional<double> ceiling = preset->numberValue(maxSDRLuminanceKey);
  // NaN is not greater than 0; a ceiling above the XDR maximum is reported as it is.
  if (ceiling && *ceiling > 0.0) return ceiling;
  return std::nullopt;
}

std::optional<double> PresetBrightness::slotCeiling(platform::DisplayID display) {
  if (!isOpen()) return std::nullopt;
  const std::shared_ptr<const platform::PresetDictionary> preset =
      getPresetFn_(display, PRESET_SLOT);
  if (!preset) return std::nullopt;
  return preset->numberValue(maxSDRLuminanceKey);
}

PresetBrightness::WriteResult PresetBrightness::write(platform::DisplayID display,
                                                      double clampedNits) {
  if (!isOpen()) return WriteResult::refused;
  const std::shared_ptr<const platform::PresetDictionary> base =
      getPresetFn_(display, standardPresetIndex);
  if (!base) return WriteResult::notWritten;
  const std::unique_ptr<platform::MutablePresetDictionary> preset = base->mutableCopy();
  if (!preset) return WriteResult::notWritten;
  writeXDRKeys(*preset, clampedNits);
  // The statuses are not what counts: a system that takes a call and ignores it is caught by
  // reading the display back.
  setPresetFn_(display, PRESET_SLOT, *preset);
  setActiveFn_(display, PRESET_SLOT);
  if (getActiveFn_(display) == PRESET_SLOT && slotCeiling(display) == clampedNits) {
    return WriteResult::taken;
  }
  // The standard preset again, so that what the user is told is true.
  activateStandardPreset(display);
  return WriteResult::refused;
}

void PresetBrightness::activateStandardPreset(platform::DisplayID display) {
  activate(display, standardPresetIndex);
}

void PresetBrightness::activate(platform::DisplayID display, std::int32_t index) {
  if (!isOpen()) return;
  setActiveFn_(display, index);
}

}  // namespace lumora
