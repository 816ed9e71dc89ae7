#include "display/XDRController.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>

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
  note(static_cast<bool>(functions.getActivePresetIndex),
       XDRController::functionNames.getActivePresetIndex);
  note(static_cast<bool>(functions.setActivePresetIndex),
       XDRController::functionNames.setActivePresetIndex);
  note(static_cast<bool>(functions.copyPresetData), XDRController::functionNames.copyPresetData);
  note(static_cast<bool>(functions.setPresetData), XDRController::functionNames.setPresetData);
  return missing;
}

}  // namespace

XDRController::XDRController(platform::Displays& displays, platform::WindowServer& windowServer,
                             platform::Console& console, platform::MainQueue& mainQueue,
                             platform::Alerts& alerts)
    : displays_(displays), console_(console), mainQueue_(mainQueue), alerts_(alerts) {
  platform::OpenedPresetFunctions opened =
      windowServer.openPresetFunctions(frameworkPath, functionNames);
  if (!opened.openError.empty()) {
    console.printErrorLine("Lumora Virir: cannot open " + std::string(frameworkPath) + " (" +
                           opened.openError + "); XDR brightness is unavailable.");
    return;
  }
  const std::string missing = missingNames(opened.functions);
  if (!missing.empty()) {
    // All four or none: a partial set is never called.
    console.printErrorLine("Lumora Virir: the window server lacks " + missing +
                           "; XDR brightness is unavailable.");
    return;
  }
  getActiveFn_ = std::move(opened.functions.getActivePresetIndex);
  setActiveFn_ = std::move(opened.functions.setActivePresetIndex);
  getPresetFn_ = std::move(opened.functions.copyPresetData);
  setPresetFn_ = std::move(opened.functions.setPresetData);
}

bool XDRController::hasPresetFunctions() const {
  return static_cast<bool>(getActiveFn_);
}

platform::DisplayID XDRController::mainDisplayID() const {
  return displays_.mainDisplayID();
}

std::int32_t XDRController::getActivePresetIndex() const {
  if (!hasPresetFunctions()) return standardPresetIndex;
  return getActiveFn_(mainDisplayID());
}

double XDRController::getPresetMaxNits() const {
  if (!hasPresetFunctions()) return sdrCeilingNits;
  const std::int32_t activeIndex = getActivePresetIndex();
  if (activeIndex == standardPresetIndex) return sdrCeilingNits;
  const std::shared_ptr<const platform::PresetDictionary> preset =
      getPresetFn_(mainDisplayID(), activeIndex);
  if (!preset) return sdrCeilingNits;
  const std::optional<double> ceiling = preset->numberValue(maxSDRLuminanceKey);
  // NaN is not greater than 0; a ceiling above the XDR maximum is reported as it is.
  if (ceiling && *ceiling > 0.0) return *ceiling;
  return sdrCeilingNits;
}

bool XDRController::isXDREnabled() const {
  return getPresetMaxNits() > sdrCeilingNits;
}

void XDRController::setXDRBrightness(double nits) {
  const std::lock_guard lock(writeMutex_);
  if (!hasPresetFunctions() || exiting_) return;
  const std::shared_ptr<const platform::PresetDictionary> base =
      getPresetFn_(mainDisplayID(), standardPresetIndex);
  if (!base) return;
  const std::unique_ptr<platform::MutablePresetDictionary> preset = base->mutableCopy();
  if (!preset) return;
  const double level = clampedXDRLevel(nits);
  writeXDRKeys(*preset, level);
  ++changes_;
  // The statuses are not what counts: a system that takes a call and ignores it is caught by
  // reading the display back.
  setPresetFn_(mainDisplayID(), PRESET_SLOT, *preset);
  setActiveFn_(mainDisplayID(), PRESET_SLOT);
  if (holdsLevel(level)) return;
  activateStandardPreset();
  sayRefused();
}

bool XDRController::holdsLevel(double nits) const {
  if (getActiveFn_(mainDisplayID()) != PRESET_SLOT) return false;
  const std::shared_ptr<const platform::PresetDictionary> written =
      getPresetFn_(mainDisplayID(), PRESET_SLOT);
  return written && written->numberValue(maxSDRLuminanceKey) == nits;
}

void XDRController::sayRefused() {
  if (refusalSaid_) return;
  refusalSaid_ = true;
  console_.printErrorLine(
      "Lumora Virir: macOS did not accept the XDR brightness preset; the display stays at its "
      "standard brightness.");
  // As the Deep Blacks warning: after the current event, above other apps, on the main thread,
  // outside the main queue.
  mainQueue_.performOnNextTurn([this] {
    platform::Alert alert;
    alert.messageText = std::string(refusedMessageText);
    alert.informativeText = std::string(refusedInformativeText);
    alert.style = platform::AlertStyle::informational;
    alert.buttonTitles = {"OK"};
    alert.floatsAboveOtherApplications = true;
    alerts_.runModal(alert);
  });
}

std::uint64_t XDRController::changeCount() const {
  const std::lock_guard lock(writeMutex_);
  return changes_;
}

void XDRController::disableXDR() {
  const std::lock_guard lock(writeMutex_);
  if (exiting_) return;
  activateStandardPreset();
}

void XDRController::disableXDRForExit() {
  const std::lock_guard lock(writeMutex_);
  exiting_ = true;
  activateStandardPreset();
}

void XDRController::activateStandardPreset() {
  if (!hasPresetFunctions()) return;
  ++changes_;
  setActiveFn_(mainDisplayID(), standardPresetIndex);
}

}  // namespace lumora
