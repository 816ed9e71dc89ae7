#include "display/XDRController.h"

#include <string>

#include "display/InformationalAlert.h"
#include "display/Nits.h"
#include "display/TargetDisplay.h"

namespace lumora {
namespace {

// Sets a flag for the length of a scope.
class ScopedFlag {
 public:
  explicit ScopedFlag(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
  ScopedFlag(const ScopedFlag&) = delete;
  ScopedFlag& operator=(const ScopedFlag&) = delete;
  ~ScopedFlag() { flag_ = was_; }

 private:
  bool& flag_;
  bool was_;
};

}  // namespace

XDRController::XDRController(platform::Platform& platform, TransferTables& tables,
                             EventTrail& trail, HeadroomBrightness::Clock clock)
    : platform_(platform),
      trail_(trail),
      headroom_(
          platform.extendedDynamicRange, platform.timers, platform.activities, tables, trail,
          std::move(clock), [this] { return targetDisplayID(); },
          [this](HeadroomBrightness::Outcome outcome, HeadroomBrightness::Cause cause) {
            onHeadroomOutcome(outcome, cause);
          }),
      preset_(platform.windowServer) {}

platform::DisplayID XDRController::targetDisplayID() {
  return xdrTargetDisplay(platform_.displays);
}

XDRController::Method XDRController::method() {
  if (!methodChosen_) {
    method_ = chooseMethod();
    methodChosen_ = true;
  }
  return method_;
}

XDRController::Method XDRController::chooseMethod() {
  const std::optional<std::string> wanted =
      preferences::read(platform_.userDefaults, brightnessMethodKey);
  if (wanted == presetMethodName || wanted == headroomMethodName) {
    const Method chosen = wanted == presetMethodName ? Method::preset : Method::headroom;
    methodReason_ = "by brightnessMethod";
    trail_.record(EventTrail::Event::methodChosen, chosen == Method::headroom ? 1.0 : 0.0, 0.0,
                  methodReason_);
    return chosen;
  }
  if (wanted) {
    platform_.console.printErrorLine("Lumora Virir: brightnessMethod \"" + *wanted +
                                     "\" is neither \"preset\" nor \"headroom\"; the release of "
                                     "macOS decides.");
  }
  const Method chosen = platform_.operatingSystem.version() < firstReleaseRefusingPresets
                            ? Method::preset
                            : Method::headroom;
  methodReason_ = chosen == Method::headroom ? "by the release (26.3 or later)"
                                             : "by the release (before 26.3)";
  trail_.record(EventTrail::Event::methodChosen, chosen == Method::headroom ? 1.0 : 0.0, 0.0,
                methodReason_);
  return chosen;
}

bool XDRController::presetMethodOpens() {
  const std::string& whyNot = preset_.open();
  if (whyNot.empty()) return true;
  switchToHeadroom(whyNot);
  return false;
}

void XDRController::switchToHeadroom(std::string_view why) {
  if (method_ != Method::headroom) {
    methodReason_ = why;
    switchedAt_ = trail_.sinceLaunch();
    trail_.record(EventTrail::Event::methodSwitched, why);
  }
  method_ = Method::headroom;
  presetLevel_.reset();
  if (switchSaid_) return;
  switchSaid_ = true;
  platform_.console.printErrorLine("Lumora Virir: " + std::string(why) +
                                   "; raising the brightness through EDR headroom instead.");
}

double XDRController::getPresetMaxNits() {
  const std::lock_guard lock(writeMutex_);
  preset_.open();
  return preset_.activeCeiling(targetDisplayID()).value_or(sdrCeilingNits);
}

std::int32_t XDRController::getActivePresetIndex() {
  const std::lock_guard lock(writeMutex_);
  preset_.open();
  return preset_.activePresetIndex(targetDisplayID());
}

double XDRController::currentNits() {
  if (method() == Method::preset) {
    const std::lock_guard lock(writeMutex_);
    if (presetMethodOpens()) {
      return preset_.activeCeiling(targetDisplayID()).value_or(sdrCeilingNits);
    }
  }
  return currentNitsOfHeadroom();
}

double XDRController::currentNitsOfHeadroom() const {
  return headroom_.level().value_or(sdrCeilingNits);
}

bool XDRController::isXDREnabled() {
  return currentNits() > sdrCeilingNits;
}

std::optional<double> XDRController::cappedNits() {
  if (method() != Method::headroom) return std::nullopt;
  if (headroom_.waitsForHeadroom()) return std::nullopt;
  const std::optional<double> given = headroom_.givenNits();
  const std::optional<double> level = headroom_.level();
  // Within half a nit is the level itself, as far as anyone can see.
  if (!given || !level || *given >= *level - 0.5) return std::nullopt;
  return given;
}

bool XDRController::waitsForHeadroom() {
  return method() == Method::headroom && headroom_.waitsForHeadroom();
}

std::optional<double> XDRController::levelChosen() {
  if (method() == Method::headroom) return headroom_.level();
  return presetLevel_;
}

void XDRController::setXDRBrightness(double nits) {
  if (exiting_) return;
  const ScopedFlag calling(inCall_);
  const double level = clampedXDRLevel(nits);
  if (method() == Method::preset) {
    const std::lock_guard lock(writeMutex_);
    if (exiting_) return;
    if (presetMethodOpens()) {
      presetsUsed_ = true;
      ++changes_;
      switch (preset_.write(targetDisplayID(), level)) {
        case PresetBrightness::WriteResult::taken:
          presetLevel_ = level;
          trail_.record(EventTrail::Event::presetWritten, level);
          return;
        case PresetBrightness::WriteResult::notWritten:
          return;
        case PresetBrightness::WriteResult::refused:
          trail_.record(EventTrail::Event::presetRefused, level);
          presetsRefused_ = true;
          switchToHeadroom("macOS did not take the XDR brightness preset");
          break;
      }
    }
  }
  {
    const std::lock_guard lock(writeMutex_);
    ++changes_;
  }
  // A level at the SDR ceiling raises nothing.
  if (level > sdrCeilingNits) {
    headroom_.raise(level);
  } else {
    headroom_.lower();
  }
}

void XDRController::disableXDR() {
  if (exiting_) return;
  const ScopedFlag calling(inCall_);
  if (method() == Method::preset) {
    const std::lock_guard lock(writeMutex_);
    if (exiting_) return;
    if (presetMethodOpens()) {
      ++changes_;
      presetLevel_.reset();
      preset_.activateStandardPreset(targetDisplayID());
      return;
    }
  }
  {
    const std::lock_guard lock(writeMutex_);
    ++changes_;
  }
  headroom_.lower();
}

XDRController::Refresh XDRController::keep() {
  if (exiting_) return Refresh{.nits = sdrCeilingNits};
  const ScopedFlag calling(inCall_);
  if (method() == Method::headroom) {
    const bool givenChanged = headroom_.keep();
    return Refresh{.nits = headroom_.level().value_or(sdrCeilingNits),
                   .givenChanged = givenChanged};
  }
  std::optional<double> level;
  {
    const std::lock_guard lock(writeMutex_);
    if (exiting_ || !presetMethodOpens()) return Refresh{.nits = currentNitsOfHeadroom()};
    const platform::DisplayID display = targetDisplayID();
    const std::int32_t active = preset_.activePresetIndex(display);
    const std::optional<double> ceiling = preset_.activeCeiling(display, active);
    const double nits = ceiling.value_or(sdrCeilingNits);
    // Ours, in force: the common case costs no more than the reading itself.
    if (!presetLevel_ || !watchingRemoval_ || (active == PRESET_SLOT && ceiling == presetLevel_)) {
      return Refresh{.nits = nits};
    }
    if (preset_.slotCeiling(display) == presetLevel_) {
      // Another preset made active while ours is intact is the user's choice: XDR is off.
      presetLevel_.reset();
      return Refresh{.nits = nits};
    }
    // Emptied or rewritten by the system: the standard preset, so that no stranger's ceiling
    // stays in force under the boost.
    level = presetLevel_;
    trail_.record(EventTrail::Event::presetRemoved, *level);
    if (active == PRESET_SLOT) preset_.activateStandardPreset(display);
    switchToHeadroom("macOS removed the XDR brightness preset");
    ++changes_;
  }
  headroom_.raise(*level);
  return Refresh{.nits = currentNitsOfHeadroom(), .givenChanged = true};
}

bool XDRController::notice(SystemChange change) {
  if (exiting_) return false;
  const ScopedFlag calling(inCall_);
  // Followed by either method: a switch to headroom may come in the middle of a lock.
  return headroom_.notice(change);
}

void XDRController::onHeadroomOutcome(HeadroomBrightness::Outcome outcome,
                                      HeadroomBrightness::Cause cause) {
  if (exiting_) return;
  switch (outcome) {
    case HeadroomBrightness::Outcome::givenChanged:
      break;
    case HeadroomBrightness::Outcome::unavailable:
      sayUnavailable(reasonFor(cause));
      break;
    case HeadroomBrightness::Outcome::stopped:
      sayOnce(stoppedSaid_,
              "another app keeps changing the display's colours; XDR brightness is off until a "
              "level is picked again.",
              stoppedMessageText, stoppedInformativeText);
      break;
  }
  // Within a call, the caller's own refresh shows it.
  if (!inCall_ && changed_) changed_();
}

UnavailableReason XDRController::reasonFor(HeadroomBrightness::Cause cause) {
  switch (cause) {
    case HeadroomBrightness::Cause::tableNotApplied:
      return UnavailableReason::tablesNotApplied;
    case HeadroomBrightness::Cause::tableRefused:
      return UnavailableReason::tableRefused;
    case HeadroomBrightness::Cause::noHeadroom:
    case HeadroomBrightness::Cause::noScreen:
    case HeadroomBrightness::Cause::none:
      break;
  }
  // No headroom: the most telling explanation the display gives.
  const platform::DisplayID display = targetDisplayID();
  if (const Presets presets = presetsOf(display);
      presets.active && presets.active->fixesBrightness()) {
    return UnavailableReason::presetFixesBrightness;
  }
  if (presetsRefused_) return UnavailableReason::presetsRefusedNoHeadroom;
  if (!platform_.displays.builtInDisplayID()) return UnavailableReason::noXDRPanel;
  return UnavailableReason::noHeadroom;
}

void XDRController::sayUnavailable(UnavailableReason reason) {
  unavailableReason_ = reason;
  if (unavailableSaid_) return;
  unavailableSaid_ = true;
  platform_.console.printErrorLine("Lumora Virir: " + std::string(describe(reason)) +
                                   "; XDR brightness is unavailable and the display stays at its "
                                   "standard brightness.");
  std::string presetName;
  if (reason == UnavailableReason::presetFixesBrightness) {
    if (const std::optional<PresetBrightness::Summary> active =
            presetsOf(targetDisplayID()).active) {
      presetName = active->name;
    }
  }
  platform::Alert alert;
  alert.messageText = std::string(unavailableMessageText);
  alert.informativeText = unavailableInformativeText(reason, presetName);
  alert.style = platform::AlertStyle::informational;
  alert.buttonTitles = {"OK", std::string(copyDiagnosticsButtonTitle)};
  alert.floatsAboveOtherApplications = true;
  if (!alertsShown_) return;
  trail_.record(EventTrail::Event::alertShown, unavailableMessageText);
  queueAlert(platform_.mainQueue, platform_.alerts, std::move(alert), [this](int response) {
    if (response == platform::alertFirstButtonReturn + 1 && copyDiagnostics_) copyDiagnostics_();
  });
}

std::optional<double> XDRController::givenNits() {
  if (method() == Method::headroom) {
    if (!headroom_.level()) return sdrCeilingNits;
    return headroom_.givenNits();
  }
  return currentNits();
}

XDRController::SavedPresets XDRController::savePresets(platform::DisplayID display) {
  const std::lock_guard lock(writeMutex_);
  if (!preset_.open().empty()) return {};
  return SavedPresets{.activeIndex = preset_.activePresetIndex(display),
                      .slot = preset_.copy(display, PRESET_SLOT)};
}

void XDRController::restorePresets(platform::DisplayID display, const SavedPresets& saved) {
  const std::lock_guard lock(writeMutex_);
  if (exiting_ || !preset_.open().empty()) return;
  ++changes_;
  if (saved.slot) preset_.restore(display, PRESET_SLOT, *saved.slot);
  if (saved.activeIndex >= 0) preset_.activate(display, saved.activeIndex);
  presetLevel_.reset();
}

XDRController::Presets XDRController::presetsOf(platform::DisplayID display) {
  const std::lock_guard lock(writeMutex_);
  Presets presets;
  presets.readable = preset_.open().empty();
  if (!presets.readable) return presets;
  presets.activeIndex = preset_.activePresetIndex(display);
  presets.active = preset_.summary(display, presets.activeIndex);
  presets.slot = preset_.summary(display, PRESET_SLOT);
  return presets;
}

void XDRController::sayOnce(bool& said, std::string_view line, std::string_view message,
                            std::string_view informative) {
  if (said) return;
  said = true;
  platform_.console.printErrorLine("Lumora Virir: " + std::string(line));
  if (!alertsShown_) return;
  trail_.record(EventTrail::Event::alertShown, message);
  queueInformationalAlert(platform_.mainQueue, platform_.alerts, message, informative);
}

std::uint64_t XDRController::changeCount() const {
  const std::lock_guard lock(writeMutex_);
  return changes_;
}

void XDRController::disableXDRForExit() {
  const std::lock_guard lock(writeMutex_);
  exiting_ = true;
  // Presets are put back unless this run never used them; a signal before the launch chose a
  // method finds the display as the last run left it.
  if (!methodChosen_ || method_ == Method::preset || presetsUsed_) {
    if (preset_.open().empty()) preset_.activateStandardPreset(targetDisplayID());
  }
  headroom_.endForExit();
}

}  // namespace lumora
