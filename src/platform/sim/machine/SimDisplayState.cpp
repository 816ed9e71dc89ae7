#include "platform/sim/machine/SimDisplayState.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>
#include <limits>
#include <string>
#include <utility>

#include "platform/sim/machine/FactoryDisplay.h"

namespace lumora::sim {
namespace {

// A value that must have a type when it is there at all.
template <typename Check>
bool absentOr(plist_t node, Check&& check) {
  return node == nullptr || check(node);
}

bool isRealArray(plist_t node) {
  if (!isArray(node)) return false;
  const std::uint32_t count = plist_array_get_size(node);
  for (std::uint32_t i = 0; i < count; ++i) {
    if (!realValue(plist_array_get_item(node, i))) return false;
  }
  return count > 0;
}

bool isUsableTransferTable(plist_t table) {
  const plist_t red = dictItem(table, "Red");
  const plist_t green = dictItem(table, "Green");
  const plist_t blue = dictItem(table, "Blue");
  const auto isInteger = [](plist_t node) { return integerValue(node).has_value(); };
  return isDictionary(table) && isRealArray(red) && isRealArray(green) && isRealArray(blue) &&
         plist_array_get_size(red) == plist_array_get_size(green) &&
         plist_array_get_size(red) == plist_array_get_size(blue) &&
         absentOr(dictItem(table, "OwnerProcessID"), isInteger) &&
         absentOr(dictItem(table, "OwnerStartTime"), isInteger);
}

bool isUsablePresets(plist_t presets) {
  if (!isDictionary(presets)) return false;
  bool usable = true;
  forEachDictItem(presets, [&usable](const char*, plist_t preset) {
    if (!isDictionary(preset)) usable = false;
  });
  return usable;
}

bool isUsableDisplay(plist_t display) {
  const auto isInteger = [](plist_t node) { return integerValue(node).has_value(); };
  const auto isText = [](plist_t node) { return plist_get_node_type(node) == PLIST_STRING; };
  const auto isFlag = [](plist_t node) { return boolValue(node).has_value(); };
  const auto isNumber = [](plist_t node) { return numberValue(node).has_value(); };
  return isDictionary(display) && integerValue(dictItem(display, "DisplayID")).has_value() &&
         absentOr(dictItem(display, "ActivePresetIndex"), isInteger) &&
         absentOr(dictItem(display, "ResetsPresetOnWake"), isFlag) &&
         absentOr(dictItem(display, "RefusesPresets"), isFlag) &&
         absentOr(dictItem(display, "BuiltIn"), isFlag) &&
         absentOr(dictItem(display, "MaximumEDRHeadroom"), isNumber) &&
         absentOr(dictItem(display, "EDRHeadroomDelay"), isNumber) &&
         absentOr(dictItem(display, "DropsEDROnSpaceChange"), isFlag) &&
         absentOr(dictItem(display, "EDRRefusedAfterWakeSeconds"), isNumber) &&
         absentOr(dictItem(display, "IgnoresBoostedTables"), isFlag) &&
         absentOr(dictItem(display, "Name"), isText) &&
         absentOr(dictItem(display, "Presets"), isUsablePresets) &&
         absentOr(dictItem(display, "TransferTable"), isUsableTransferTable);
}

bool isUsablePower(plist_t power) {
  const auto isText = [](plist_t node) { return stringValue(node).has_value(); };
  const auto isInteger = [](plist_t node) { return integerValue(node).has_value(); };
  return isDictionary(power) && absentOr(dictItem(power, "Source"), isText) &&
         absentOr(dictItem(power, "BatteryPercent"), isInteger) &&
         absentOr(dictItem(power, "ThermalState"), isText);
}

// A value the file may hold in any case; one it does not know reads as the calm default.
platform::PowerState powerOf(plist_t root) {
  platform::PowerState state;
  const plist_t power = dictItem(root, "Power");
  if (!isDictionary(power)) return state;
  const std::optional<std::string> source = stringValue(dictItem(power, "Source"));
  const std::optional<std::int64_t> percent = integerValue(dictItem(power, "BatteryPercent"));
  state.hasBattery = source.has_value() || percent.has_value();
  state.onBattery = source && (*source == "Battery" || *source == "battery");
  state.batteryPercent = static_cast<int>(std::clamp<std::int64_t>(percent.value_or(100), 0, 100));
  const std::optional<std::string> thermal = stringValue(dictItem(power, "ThermalState"));
  for (const platform::ThermalState each : platform::allThermalStates) {
    if (thermal == SimDisplayState::thermalStateName(each)) state.thermalState = each;
  }
  return state;
}

bool isStringArray(plist_t node) {
  if (!isArray(node)) return false;
  const std::uint32_t count = plist_array_get_size(node);
  for (std::uint32_t i = 0; i < count; ++i) {
    if (!stringValue(plist_array_get_item(node, i))) return false;
  }
  return true;
}

// Every value the simulated Mac reads has the type it reads it as; anything else makes the file
// unusable rather than a value read wrongly.
bool isUsableState(plist_t root) {
  const plist_t displays = dictItem(root, "Displays");
  if (!isDictionary(root) || !integerValue(dictItem(root, "MainDisplayID")) || !isArray(displays) ||
      !absentOr(dictItem(root, "MainScreenDisplayID"),
                [](plist_t node) { return numberValue(node).has_value(); }) ||
      !absentOr(dictItem(root, "SystemVersion"),
                [](plist_t node) { return stringValue(node).has_value(); }) ||
      !absentOr(dictItem(root, "Model"),
                [](plist_t node) { return stringValue(node).has_value(); }) ||
      !absentOr(dictItem(root, "Power"), isUsablePower) ||
      !absentOr(dictItem(root, "TakenHotKeys"), isStringArray)) {
    return false;
  }
  const std::uint32_t count = plist_array_get_size(displays);
  for (std::uint32_t i = 0; i < count; ++i) {
    if (!isUsableDisplay(plist_array_get_item(displays, i))) return false;
  }
  return true;
}

plist_t findDisplay(plist_t root, platform::DisplayID display) {
  const plist_t displays = dictItem(root, "Displays");
  if (!isArray(displays)) return nullptr;
  const std::uint32_t count = plist_array_get_size(displays);
  for (std::uint32_t i = 0; i < count; ++i) {
    const plist_t entry = plist_array_get_item(displays, i);
    if (integerValue(dictItem(entry, "DisplayID")) == static_cast<std::int64_t>(display)) {
      return entry;
    }
  }
  return nullptr;
}

plist_t presetAt(plist_t displayEntry, std::int32_t index) {
  const plist_t preset = dictItem(dictItem(displayEntry, "Presets"), std::to_string(index));
  return isDictionary(preset) ? preset : nullptr;
}

bool hasFlag(plist_t display, std::string_view key) {
  return boolValue(dictItem(display, key)).value_or(false);
}

bool isReadOnly(plist_t preset) {
  const plist_t writable = dictItem(preset, "PresetWritable");
  if (const std::optional<bool> flag = boolValue(writable)) return !*flag;
  if (const std::optional<std::int64_t> number = integerValue(writable)) return *number == 0;
  return false;
}

// A display number from the file, when it is one.
platform::DisplayID displayIDValue(plist_t node) {
  const std::optional<std::int64_t> id = integerValue(node);
  if (!id || *id < 0 || *id > std::numeric_limits<platform::DisplayID>::max()) return 0;
  return static_cast<platform::DisplayID>(*id);
}

bool isSlotNumber(std::int64_t index) {
  return index >= 0 && index < SimDisplayState::presetSlotCount;
}

bool isSlot(std::int32_t index) {
  return index >= 0 && index < SimDisplayState::presetSlotCount;
}

// The values, none above `highest`.
PlistPtr realArray(std::span<const float> values, float highest) {
  PlistPtr array = adopt(plist_new_array());
  for (const float value : values) {
    plist_array_append_item(array.get(),
                            plist_new_real(static_cast<double>(std::min(value, highest))));
  }
  return array;
}

std::optional<std::vector<float>> floatArray(plist_t array) {
  if (!isArray(array)) return std::nullopt;
  std::vector<float> values;
  const std::uint32_t count = plist_array_get_size(array);
  values.reserve(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::optional<double> value = realValue(plist_array_get_item(array, i));
    if (!value) return std::nullopt;
    values.push_back(static_cast<float>(*value));
  }
  return values;
}

bool isTransferTable(std::span<const float> values, std::size_t size) {
  if (values.size() != size) return false;
  for (const float value : values) {
    // Also refuses NaN.
    if (!(value >= 0.0f && value <= SimDisplayState::maximumTableValue)) return false;
  }
  return true;
}

// A display's maximum headroom, at least 1.0 (none). A reference preset, whose HDR ceiling is
// not above its SDR one, holds the display at a fixed brightness: it gives none while active.
double maximumHeadroomOf(plist_t display) {
  const std::optional<double> headroom = numberValue(dictItem(display, "MaximumEDRHeadroom"));
  if (!headroom || !std::isfinite(*headroom) || *headroom < 1.0) return 1.0;
  const std::optional<std::int64_t> active = integerValue(dictItem(display, "ActivePresetIndex"));
  const plist_t preset = active && isSlotNumber(*active)
                             ? presetAt(display, static_cast<std::int32_t>(*active))
                             : nullptr;
  const std::optional<double> sdr = numberValue(dictItem(preset, "PresetMaxSDRLuminance"));
  const std::optional<double> hdr = numberValue(dictItem(preset, "PresetMaxHDRLuminance"));
  if (sdr && hdr && *hdr <= *sdr) return 1.0;
  return *headroom;
}

// A number of seconds the file holds, or its default.
SimDisplayState::EDRClock::duration secondsOf(plist_t display, const char* key,
                                              double defaultSeconds) {
  double seconds = numberValue(dictItem(display, key)).value_or(defaultSeconds);
  // An hour is as good as never, and keeps the conversion defined.
  if (!std::isfinite(seconds) || seconds < 0.0) seconds = defaultSeconds;
  seconds = std::min(seconds, 3600.0);
  return std::chrono::duration_cast<SimDisplayState::EDRClock::duration>(
      std::chrono::duration<double>(seconds));
}

EDRCompositor::Traits edrTraitsOf(plist_t display) {
  return EDRCompositor::Traits{
      .maximumHeadroom = maximumHeadroomOf(display),
      .headroomDelay =
          secondsOf(display, "EDRHeadroomDelay", SimDisplayState::defaultHeadroomDelay),
      .dropsOnSpaceChange = hasFlag(display, "DropsEDROnSpaceChange"),
      .refusedAfterWake = secondsOf(display, "EDRRefusedAfterWakeSeconds", 0.0),
  };
}

float peakOf(const SimDisplayState::TransferTables& tables) {
  float peak = 0.0f;
  for (const std::vector<float>* table : {&tables.red, &tables.green, &tables.blue}) {
    for (const float value : *table)
      peak = std::max(peak, value);
  }
  return peak;
}

// "26.4" or "26.4.1" as a version; none for anything else.
std::optional<platform::OperatingSystemVersion> parseVersion(std::string_view text) {
  platform::OperatingSystemVersion version;
  int* const parts[] = {&version.major, &version.minor, &version.patch};
  std::size_t part = 0;
  bool digitSeen = false;
  for (const char c : text) {
    if (c == '.') {
      if (!digitSeen || ++part == std::size(parts)) return std::nullopt;
      digitSeen = false;
    } else if (c >= '0' && c <= '9') {
      if (*parts[part] > 99999) return std::nullopt;
      *parts[part] = *parts[part] * 10 + (c - '0');
      digitSeen = true;
    } else {
      return std::nullopt;
    }
  }
  if (!digitSeen) return std::nullopt;
  return version;
}

}  // namespace

SimDisplayState::SimDisplayState(std::filesystem::path file, platform::Console& console)
    : file_(std::move(file), console, isUsableState) {}

void SimDisplayState::followPasses(const std::atomic<std::uint64_t>& passNumber) {
  const std::lock_guard lock(mutex_);
  file_.followPasses(passNumber);
}

void SimDisplayState::flush() {
  const std::lock_guard lock(mutex_);
  file_.flush();
}

std::uint64_t SimDisplayState::version() {
  const std::lock_guard lock(mutex_);
  root();
  return file_.version();
}

plist_t SimDisplayState::root() {
  if (const plist_t current = file_.load()) return current;
  if (!file_.isKeptInPlace() && !file_.store(factoryDisplayState())) return file_.load();
  // The file cannot be written (or holds what the user wrote and could not be kept aside): the
  // displays read as they left the factory, and every change fails until it can be written.
  if (!unwritableFactory_) unwritableFactory_ = factoryDisplayState();
  return unwritableFactory_.get();
}

std::int32_t SimDisplayState::alreadySo() {
  // From a thread outside the passes (the exit path) the state asked for must be on disk, even
  // where the main thread has not written it yet.
  if (!file_.defersStoresHere()) file_.flush();
  return success;
}

template <typename Change>
std::int32_t SimDisplayState::changeDocument(Change&& changeRoot) {
  const plist_t current = root();
  // A change that cannot be stored does not happen.
  if (current == unwritableFactory_.get() || file_.whyNotStorable()) return failure;
  // Changed in place: what was handed out are copies.
  const std::int32_t status = changeRoot(current);
  if (status != success) return status;
  return file_.storeChanged() ? failure : success;
}

template <typename Change>
std::int32_t SimDisplayState::change(platform::DisplayID display, Change&& changeDisplay) {
  return changeDocument([&](plist_t next) {
    const plist_t entry = findDisplay(next, display);
    return entry == nullptr ? illegalArgument : changeDisplay(entry);
  });
}

platform::DisplayID SimDisplayState::mainDisplayID() {
  const std::lock_guard lock(mutex_);
  return displayIDValue(dictItem(root(), "MainDisplayID"));
}

std::optional<platform::Screen> SimDisplayState::mainScreen() {
  const std::lock_guard lock(mutex_);
  return mainScreenOf(root());
}

std::optional<platform::Screen> SimDisplayState::mainScreenOf(plist_t root) const {
  const plist_t number = dictItem(root, "MainScreenDisplayID");
  if (number == nullptr) return std::nullopt;
  platform::Screen screen;
  if (const std::optional<std::int64_t> integer = integerValue(number)) {
    screen.screenNumber = *integer;
  } else if (const std::optional<double> real = realValue(number)) {
    screen.screenNumber = *real;
  }
  return screen;
}

std::int32_t SimDisplayState::activePresetIndex(platform::DisplayID display) {
  const std::lock_guard lock(mutex_);
  const std::optional<std::int64_t> index =
      integerValue(dictItem(findDisplay(root(), display), "ActivePresetIndex"));
  if (!index || !isSlotNumber(*index)) return -1;
  return static_cast<std::int32_t>(*index);
}

std::int32_t SimDisplayState::setActivePresetIndex(platform::DisplayID display,
                                                   std::int32_t index) {
  const std::lock_guard lock(mutex_);
  if (!isSlot(index)) return rangeCheck;
  const plist_t current = findDisplay(root(), display);
  if (presetAt(current, index) != nullptr &&
      integerValue(dictItem(current, "ActivePresetIndex")) == index) {
    return alreadySo();
  }
  return change(display, [index](plist_t entry) {
    if (index != 0 && hasFlag(entry, "RefusesPresets")) return failure;
    if (presetAt(entry, index) == nullptr) return illegalArgument;
    setDictItem(entry, "ActivePresetIndex", makeInteger(index));
    return success;
  });
}

PlistPtr SimDisplayState::copyPreset(platform::DisplayID display, std::int32_t index) {
  const std::lock_guard lock(mutex_);
  if (!isSlot(index)) return nullptr;
  return copyOf(presetAt(findDisplay(root(), display), index));
}

std::int32_t SimDisplayState::setPreset(platform::DisplayID display, std::int32_t index,
                                        plist_t preset) {
  const std::lock_guard lock(mutex_);
  if (!isSlot(index)) return rangeCheck;
  if (!isDictionary(preset)) return illegalArgument;
  const plist_t stored = presetAt(findDisplay(root(), display), index);
  if (stored != nullptr && !isReadOnly(stored) && equalValues(stored, preset)) return alreadySo();
  return change(display, [index, preset](plist_t entry) {
    if (hasFlag(entry, "RefusesPresets")) return failure;
    const plist_t existing = presetAt(entry, index);
    if (existing != nullptr && isReadOnly(existing)) return invalidOperation;
    plist_t presets = dictItem(entry, "Presets");
    if (!isDictionary(presets)) {
      setDictItem(entry, "Presets", adopt(plist_new_dict()));
      presets = dictItem(entry, "Presets");
    }
    setDictItem(presets, std::to_string(index), copyOf(preset));
    return success;
  });
}

std::int32_t SimDisplayState::setTransferTables(platform::DisplayID display,
                                                std::span<const float> red,
                                                std::span<const float> green,
                                                std::span<const float> blue) {
  const std::lock_guard lock(mutex_);
  if (red.empty() || !isTransferTable(red, red.size()) || !isTransferTable(green, red.size()) ||
      !isTransferTable(blue, red.size())) {
    return illegalArgument;
  }
  const ProcessIdentity owner = ProcessIdentity::current();
  return change(display, [&](plist_t entry) {
    // Such a release says it took the table, and shows no value above SDR white.
    const float highest = hasFlag(entry, "IgnoresBoostedTables") ? 1.0f : maximumTableValue;
    PlistPtr table = adopt(plist_new_dict());
    setDictItem(table.get(), "OwnerProcessID", makeInteger(owner.pid));
    setDictItem(table.get(), "OwnerStartTime", makeInteger(owner.startTime));
    setDictItem(table.get(), "Red", realArray(red, highest));
    setDictItem(table.get(), "Green", realArray(green, highest));
    setDictItem(table.get(), "Blue", realArray(blue, highest));
    setDictItem(entry, "TransferTable", std::move(table));
    return success;
  });
}

void SimDisplayState::restoreCalibration() {
  const std::lock_guard lock(mutex_);
  const auto hasTable = [](plist_t entry) { return dictItem(entry, "TransferTable") != nullptr; };
  const plist_t displays = dictItem(root(), "Displays");
  const std::uint32_t count = isArray(displays) ? plist_array_get_size(displays) : 0;
  bool loaded = false;
  for (std::uint32_t i = 0; i < count && !loaded; ++i)
    loaded = hasTable(plist_array_get_item(displays, i));
  if (!loaded) return;
  changeDocument([&](plist_t next) {
    const plist_t entries = dictItem(next, "Displays");
    for (std::uint32_t i = 0; i < count; ++i) {
      const plist_t entry = plist_array_get_item(entries, i);
      if (hasTable(entry)) removeDictItem(entry, "TransferTable");
    }
    return success;
  });
}

void SimDisplayState::resetPresetsOnWake() {
  const std::lock_guard lock(mutex_);
  const plist_t displays = dictItem(root(), "Displays");
  const std::uint32_t count = isArray(displays) ? plist_array_get_size(displays) : 0;
  std::vector<platform::DisplayID> resetting;
  for (std::uint32_t i = 0; i < count; ++i) {
    const plist_t entry = plist_array_get_item(displays, i);
    if (hasFlag(entry, "ResetsPresetOnWake") && presetAt(entry, 0) != nullptr &&
        integerValue(dictItem(entry, "ActivePresetIndex")) != 0) {
      resetting.push_back(displayIDValue(dictItem(entry, "DisplayID")));
    }
  }
  for (const platform::DisplayID display : resetting) {
    change(display, [](plist_t entry) {
      setDictItem(entry, "ActivePresetIndex", makeInteger(0));
      return success;
    });
  }
}

bool SimDisplayState::takeReconfiguration() {
  const std::lock_guard lock(mutex_);
  const plist_t current = root();
  changedAtLastLook_ = !configuration_ || configurationVersion_ != file_.version();
  if (!changedAtLastLook_) return false;
  configurationVersion_ = file_.version();
  std::string configuration =
      std::to_string(displayIDValue(dictItem(current, "MainDisplayID"))) + "|";
  if (const std::optional<double> screen = numberValue(dictItem(current, "MainScreenDisplayID"))) {
    configuration += std::to_string(*screen);
  }
  const plist_t displays = dictItem(current, "Displays");
  const std::uint32_t count = isArray(displays) ? plist_array_get_size(displays) : 0;
  for (std::uint32_t i = 0; i < count; ++i) {
    configuration +=
        "|" +
        std::to_string(displayIDValue(dictItem(plist_array_get_item(displays, i), "DisplayID")));
  }
  const bool changed = configuration_ && *configuration_ != configuration;
  configuration_ = std::move(configuration);
  return changed;
}

std::optional<SimDisplayState::TransferTables> SimDisplayState::transferTables(
    platform::DisplayID display) {
  const std::lock_guard lock(mutex_);
  return transferTablesOf(findDisplay(root(), display));
}

std::optional<SimDisplayState::TransferTables> SimDisplayState::transferTablesOf(
    plist_t display) const {
  const plist_t table = dictItem(display, "TransferTable");
  if (!isDictionary(table)) return std::nullopt;
  TransferTables tables;
  tables.owner.pid =
      static_cast<pid_t>(integerValue(dictItem(table, "OwnerProcessID")).value_or(0));
  tables.owner.startTime = integerValue(dictItem(table, "OwnerStartTime")).value_or(0);
  if (!tables.owner.isRunning()) return std::nullopt;
  auto red = floatArray(dictItem(table, "Red"));
  auto green = floatArray(dictItem(table, "Green"));
  auto blue = floatArray(dictItem(table, "Blue"));
  if (!red || !green || !blue) return std::nullopt;
  tables.red = std::move(*red);
  tables.green = std::move(*green);
  tables.blue = std::move(*blue);
  return tables;
}

SimDisplayState::PresetView SimDisplayState::presetView(platform::DisplayID display,
                                                        std::int32_t index) {
  const std::lock_guard lock(mutex_);
  if (!isSlot(index)) return nullptr;
  const plist_t current = root();
  const std::uint64_t version = file_.version();
  auto& [copiedAt, view] = presetViews_[{display, index}];
  if (view && copiedAt == version) return view;
  const plist_t preset = presetAt(findDisplay(current, display), index);
  view = preset == nullptr ? nullptr : share(copyOf(preset));
  copiedAt = version;
  return view;
}

SimDisplayState::Snapshot SimDisplayState::makeSnapshot(
    plist_t current, EDRClock::time_point now, std::optional<EDRClock::time_point>& risesAt) const {
  Snapshot snapshot;
  snapshot.systemVersion = stringValue(dictItem(current, "SystemVersion")).value_or("");
  snapshot.power = powerOf(current);
  snapshot.mainDisplay = displayIDValue(dictItem(current, "MainDisplayID"));
  snapshot.mainScreen = mainScreenOf(current);
  const plist_t displays = dictItem(current, "Displays");
  const std::uint32_t count = isArray(displays) ? plist_array_get_size(displays) : 0;
  for (std::uint32_t i = 0; i < count; ++i) {
    const plist_t entry = plist_array_get_item(displays, i);
    DisplaySnapshot display;
    display.id = displayIDValue(dictItem(entry, "DisplayID"));
    display.name = stringValue(dictItem(entry, "Name")).value_or("");
    display.builtIn = hasFlag(entry, "BuiltIn");
    if (display.builtIn && !snapshot.builtInDisplay) snapshot.builtInDisplay = display.id;
    const std::optional<std::int64_t> active = integerValue(dictItem(entry, "ActivePresetIndex"));
    display.activeIndex = active && isSlotNumber(*active) ? static_cast<std::int32_t>(*active) : -1;
    const plist_t preset =
        display.activeIndex >= 0 ? presetAt(entry, display.activeIndex) : nullptr;
    display.activePresetName = stringValue(dictItem(preset, "PresetName")).value_or("");
    display.sdrNits = numberValue(dictItem(preset, "PresetMaxSDRLuminance"));
    display.hdrNits = numberValue(dictItem(preset, "PresetMaxHDRLuminance"));
    if (const plist_t slot11 = presetAt(entry, 11)) {
      display.slot11Name = stringValue(dictItem(slot11, "PresetName")).value_or("(unnamed)");
    }
    display.transferTables = transferTablesOf(entry);
    const EDRCompositor::Traits traits = edrTraitsOf(entry);
    display.maximumHeadroom = traits.maximumHeadroom;
    if (const EDRCompositor::WindowState* window = edrCompositor_.windowOn(display.id)) {
      display.edrWindowShown = true;
      display.edrWindowDraws = window->draws;
      display.edrWindowExcludedFromCapture = window->excludedFromCapture;
    }
    if (const std::optional<EDRClock::time_point> since =
            edrCompositor_.headroomFrom(display.id, traits)) {
      if (now >= *since) {
        display.currentHeadroom = display.maximumHeadroom;
      } else if (!risesAt || *since < *risesAt) {
        risesAt = since;
      }
    }
    const double white = display.sdrNits && *display.sdrNits > 0.0 ? *display.sdrNits : 500.0;
    const double peak =
        display.transferTables ? static_cast<double>(peakOf(*display.transferTables)) : 1.0;
    display.givenNits = white * (peak > 1.0 ? std::min(peak, display.currentHeadroom) : 1.0);
    // More than the headroom shows is clipped to white: the washed-out screen.
    display.overExposed = peak > 1.0 && peak > display.currentHeadroom + 0.001;
    snapshot.displays.push_back(std::move(display));
  }
  return snapshot;
}

bool SimDisplayState::snapshotIsCurrent() {
  const bool ofFile = unwritableFactory_ == nullptr;
  if (!snapshot_ || snapshotVersion_ != file_.version() || ofFile != snapshotOfFile_ ||
      snapshotEDRVersion_ != edrVersion_) {
    return false;
  }
  if (snapshotHeadroomRises_ && EDRClock::now() >= *snapshotHeadroomRises_) return false;
  // A table counts only while its process runs, which can end while the file stays as it is.
  for (const auto& [owner, running] : snapshotOwners_) {
    if (owner.isRunning() != running) return false;
  }
  return true;
}

std::shared_ptr<const SimDisplayState::Snapshot> SimDisplayState::currentSnapshot() {
  const std::lock_guard lock(mutex_);
  const plist_t current = root();
  if (snapshotIsCurrent()) return snapshot_;
  std::optional<EDRClock::time_point> risesAt;
  snapshot_ = std::make_shared<const Snapshot>(makeSnapshot(current, EDRClock::now(), risesAt));
  snapshotHeadroomRises_ = risesAt;
  snapshotEDRVersion_ = edrVersion_;
  snapshotVersion_ = file_.version();
  snapshotOfFile_ = !unwritableFactory_;
  snapshotOwners_.clear();
  const plist_t displays = dictItem(current, "Displays");
  const std::uint32_t count = isArray(displays) ? plist_array_get_size(displays) : 0;
  for (std::uint32_t i = 0; i < count; ++i) {
    const plist_t table = dictItem(plist_array_get_item(displays, i), "TransferTable");
    if (table == nullptr) continue;
    ProcessIdentity owner;
    owner.pid = static_cast<pid_t>(integerValue(dictItem(table, "OwnerProcessID")).value_or(0));
    owner.startTime = integerValue(dictItem(table, "OwnerStartTime")).value_or(0);
    snapshotOwners_.emplace_back(owner, owner.isRunning());
  }
  return snapshot_;
}

std::vector<std::string> SimDisplayState::takenHotKeys() {
  const std::lock_guard lock(mutex_);
  const plist_t taken = dictItem(root(), "TakenHotKeys");
  std::vector<std::string> combinations;
  const std::uint32_t count = isArray(taken) ? plist_array_get_size(taken) : 0;
  for (std::uint32_t i = 0; i < count; ++i) {
    if (std::optional<std::string> text = stringValue(plist_array_get_item(taken, i))) {
      combinations.push_back(std::move(*text));
    }
  }
  return combinations;
}

std::optional<platform::DisplayID> SimDisplayState::builtInDisplayID() {
  // The snapshot is kept while nothing changed: a lookup once a second costs no parsing.
  return currentSnapshot()->builtInDisplay;
}

std::size_t SimDisplayState::readTransferTables(platform::DisplayID display, std::span<float> red,
                                                std::span<float> green, std::span<float> blue) {
  // The snapshot never changes once made: it is read without the lock.
  const std::shared_ptr<const Snapshot> snapshot = currentSnapshot();
  const DisplaySnapshot* found = snapshot->display(display);
  const std::size_t size = std::min({red.size(), green.size(), blue.size()});
  if (found == nullptr || size == 0) return 0;
  if (!found->transferTables) {
    // The simulated displays are calibrated to the identity.
    for (std::size_t i = 0; i < size; ++i) {
      const float value = size == 1 ? 0.0f : static_cast<float>(i) / static_cast<float>(size - 1);
      red[i] = green[i] = blue[i] = value;
    }
    return size;
  }
  const TransferTables& tables = *found->transferTables;
  const std::size_t count = std::min(size, tables.red.size());
  std::copy_n(tables.red.begin(), count, red.begin());
  std::copy_n(tables.green.begin(), count, green.begin());
  std::copy_n(tables.blue.begin(), count, blue.begin());
  return count;
}

std::string SimDisplayState::model() {
  const std::lock_guard lock(mutex_);
  return stringValue(dictItem(root(), "Model")).value_or("");
}

platform::OperatingSystemVersion SimDisplayState::systemVersion() {
  const std::lock_guard lock(mutex_);
  const std::optional<std::string> named = stringValue(dictItem(root(), "SystemVersion"));
  if (!named) return unnamedRelease;
  return parseVersion(*named).value_or(unnamedRelease);
}

bool SimDisplayState::removesRaisedPresets() {
  return systemVersion() >= platform::OperatingSystemVersion{26, 3, 0};
}

void SimDisplayState::removeRaisedPresets() {
  const std::lock_guard lock(mutex_);
  const auto isRaised = [](plist_t preset) {
    const std::optional<double> nits = numberValue(dictItem(preset, "PresetMaxSDRLuminance"));
    return nits && *nits > 500.0;
  };
  const auto raisedSlots = [&](plist_t entry) {
    std::vector<std::string> slots;
    forEachDictItem(dictItem(entry, "Presets"), [&](const char* key, plist_t preset) {
      if (isRaised(preset)) slots.emplace_back(key);
    });
    return slots;
  };
  const plist_t displays = dictItem(root(), "Displays");
  const std::uint32_t count = isArray(displays) ? plist_array_get_size(displays) : 0;
  bool any = false;
  for (std::uint32_t i = 0; i < count && !any; ++i)
    any = !raisedSlots(plist_array_get_item(displays, i)).empty();
  if (!any) return;
  changeDocument([&](plist_t next) {
    const plist_t entries = dictItem(next, "Displays");
    for (std::uint32_t i = 0; i < count; ++i) {
      const plist_t entry = plist_array_get_item(entries, i);
      const std::optional<std::int64_t> active = integerValue(dictItem(entry, "ActivePresetIndex"));
      for (const std::string& slot : raisedSlots(entry)) {
        removeDictItem(dictItem(entry, "Presets"), slot);
        if (active && std::to_string(*active) == slot) {
          setDictItem(entry, "ActivePresetIndex", makeInteger(0));
        }
      }
    }
    return success;
  });
}

platform::PowerState SimDisplayState::power() {
  return currentSnapshot()->power;
}

std::int32_t SimDisplayState::setPowerSource(bool onBattery, std::optional<int> batteryPercent) {
  const std::lock_guard lock(mutex_);
  return changeDocument([&](plist_t next) {
    if (!isDictionary(dictItem(next, "Power"))) setDictItem(next, "Power", adopt(plist_new_dict()));
    const plist_t power = dictItem(next, "Power");
    setDictItem(power, "Source", adopt(plist_new_string(onBattery ? "Battery" : "AC")));
    if (batteryPercent) setDictItem(power, "BatteryPercent", makeInteger(*batteryPercent));
    if (!dictItem(power, "BatteryPercent")) setDictItem(power, "BatteryPercent", makeInteger(100));
    return success;
  });
}

std::int32_t SimDisplayState::setThermalState(platform::ThermalState state) {
  const std::lock_guard lock(mutex_);
  return changeDocument([&](plist_t next) {
    if (!isDictionary(dictItem(next, "Power"))) setDictItem(next, "Power", adopt(plist_new_dict()));
    setDictItem(dictItem(next, "Power"), "ThermalState",
                adopt(plist_new_string(std::string(thermalStateName(state)).c_str())));
    return success;
  });
}

std::uint64_t SimDisplayState::showEDRWindow(platform::DisplayID display,
                                             bool excludedFromCapture) {
  const std::lock_guard lock(mutex_);
  const plist_t entry = findDisplay(root(), display);
  if (entry == nullptr) return 0;
  ++edrVersion_;
  return edrCompositor_.show(display, excludedFromCapture, edrTraitsOf(entry), EDRClock::now());
}

void SimDisplayState::drawEDRWindow(std::uint64_t window) {
  const std::lock_guard lock(mutex_);
  const std::optional<platform::DisplayID> display = edrCompositor_.displayOf(window);
  if (!display) return;
  // A display that went away gives nothing: its traits are the defaults.
  edrCompositor_.draw(window, edrTraitsOf(findDisplay(root(), *display)), EDRClock::now());
  ++edrVersion_;
}

void SimDisplayState::hideEDRWindow(std::uint64_t window) {
  const std::lock_guard lock(mutex_);
  if (edrCompositor_.hide(window)) ++edrVersion_;
}

double SimDisplayState::currentHeadroom(platform::DisplayID display) {
  const std::shared_ptr<const Snapshot> snapshot = currentSnapshot();
  const DisplaySnapshot* found = snapshot->display(display);
  return found != nullptr ? found->currentHeadroom : 1.0;
}

void SimDisplayState::setAsleep(bool asleep) {
  const std::lock_guard lock(mutex_);
  if (asleep_ == asleep) return;
  asleep_ = asleep;
  edrCompositor_.setAsleep(asleep, EDRClock::now());
  ++edrVersion_;
}

void SimDisplayState::setLocked(bool locked) {
  const std::lock_guard lock(mutex_);
  if (edrCompositor_.isLocked() == locked) return;
  edrCompositor_.setLocked(locked);
  ++edrVersion_;
}

bool SimDisplayState::isLocked() {
  const std::lock_guard lock(mutex_);
  return edrCompositor_.isLocked();
}

void SimDisplayState::changeSpace() {
  const std::lock_guard lock(mutex_);
  const plist_t current = root();
  edrCompositor_.changeSpace([current](platform::DisplayID display) {
    return edrTraitsOf(findDisplay(current, display));
  });
  ++edrVersion_;
}

}  // namespace lumora::sim
