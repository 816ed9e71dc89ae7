#include "app/DiagnosticReport.h"

#include "app/PreferenceKeys.h"
#include "display/Nits.h"
#include "display/NumberText.h"
#include "display/TargetDisplay.h"

namespace lumora {
namespace {

std::string nits(std::optional<double> value) {
  return value ? nitsText(*value) : "unknown";
}

std::string releaseOf(const platform::OperatingSystemVersion& version) {
  return std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
         std::to_string(version.patch);
}

std::string describePreset(const PresetBrightness::Summary& preset) {
  std::string text =
      "\"" + preset.name + "\", SDR " + nits(preset.sdrNits) + ", HDR " + nits(preset.hdrNits);
  if (preset.fixesBrightness()) text += " (a reference preset: it fixes the brightness)";
  return text;
}

std::string describeTable(const TransferTables::InForce& table) {
  switch (table.owner) {
    case TransferTables::InForce::Owner::none:
      return "none of the app's (the calibration)";
    case TransferTables::InForce::Owner::app:
      return "the app's, peak " + numberText(static_cast<double>(table.peak), 4);
    case TransferTables::InForce::Owner::anotherApp:
      return "another app's, peak " + numberText(static_cast<double>(table.peak), 4);
  }
  return "unknown";
}

void appendApp(std::string& report, platform::Platform& platform, SharedControllers& controllers) {
  const std::string model = platform.operatingSystem.modelIdentifier();
  report += "App: Lumora Virir " + std::string(appVersion()) + ", running for " +
            secondsText(controllers.trail().sinceLaunch()) + "\n";
  report += "From: " + platform.operatingSystem.applicationPath() + "\n";
  report += "macOS: " + releaseOf(platform.operatingSystem.version()) + "\n";
  report += "Mac: " + (model.empty() ? std::string("unknown model") : model) + "\n";
}

void appendXDR(std::string& report, XDRController& xdr) {
  const bool headroom = xdr.method() == XDRController::Method::headroom;
  report += "\nXDR\n";
  report += std::string("  Method: ") + (headroom ? "EDR headroom" : "presets");
  if (!xdr.methodReason().empty()) report += ", " + std::string(xdr.methodReason());
  if (const auto at = xdr.switchedAt()) report += " (switched at " + secondsText(*at) + ")";
  report += "\n";
  const double level = xdr.currentNits();
  report += "  Level: " + (level > sdrCeilingNits ? nitsText(level) : std::string("off (SDR)"));
  if (const std::optional<double> capped = xdr.cappedNits()) {
    report += ", the display gives " + nitsText(*capped);
  } else if (xdr.waitsForHeadroom()) {
    report += ", waiting for the display's headroom";
  }
  report += "\n";
  if (const std::optional<UnavailableReason> reason = xdr.unavailableReason()) {
    report += "  Unavailable: " + std::string(describe(*reason)) + "\n";
  }
}

void appendDisplays(std::string& report, platform::Platform& platform,
                    SharedControllers& controllers) {
  XDRController& xdr = controllers.xdr();
  const platform::DisplayID main = platform.displays.mainDisplayID();
  const std::optional<platform::DisplayID> builtIn = platform.displays.builtInDisplayID();
  const platform::DisplayID driven = xdrTargetDisplay(platform.displays);
  report += "\nDisplays\n";
  std::vector<platform::DisplayID> online = platform.displays.onlineDisplays();
  if (online.empty()) online.push_back(main);
  for (const platform::DisplayID display : online) {
    report += "  Display " + std::to_string(display) + ":";
    report += display == builtIn ? " built in" : " external";
    if (display == main) report += ", main";
    if (display == driven) report += ", the one XDR drives";
    report += "\n";
    const XDRController::Presets presets = xdr.presetsOf(display);
    if (!presets.readable) {
      report += "    Presets: cannot be read\n";
    } else {
      report += "    Active preset: " + (presets.active ? std::to_string(presets.activeIndex) +
                                                              " " + describePreset(*presets.active)
                                                        : std::string("none"));
      report += "\n    Slot " + std::to_string(XDRController::PRESET_SLOT) + ": " +
                (presets.slot ? describePreset(*presets.slot) : std::string("empty")) + "\n";
    }
    report +=
        "    EDR headroom: " + numberText(platform.extendedDynamicRange.currentHeadroom(display)) +
        " now, " + numberText(platform.extendedDynamicRange.potentialHeadroom(display)) +
        " potential; EDR window " + (xdr.edrWindowDisplay() == display ? "shown" : "not shown") +
        "\n";
    report +=
        "    Gamma table: " + describeTable(controllers.transferTables().tableInForce(display)) +
        "\n";
  }
}

void appendPower(std::string& report, platform::Platform& platform,
                 SharedControllers& controllers) {
  const XDRPause& pause = controllers.pause();
  const auto choice = [&platform](XDRPause::Reason reason) {
    return XDRPause::storedChoice(platform.userDefaults, reason) ? "on" : "off";
  };
  report += "\nPause XDR\n";
  report += std::string("  On battery power: ") + choice(XDRPause::Reason::onBattery) +
            ", below 20% battery: " + choice(XDRPause::Reason::batteryLow) +
            ", when the Mac is hot: " + choice(XDRPause::Reason::hot) + "\n";
  const std::optional<XDRPause::Reason> reason = pause.reason();
  report += "  Now: " +
            (reason ? "paused (" + std::string(XDRPause::describe(*reason)) + ")"
                    : std::string(pause.isPaused() ? "paused" : "not paused")) +
            "\n";
  const platform::PowerState power = platform.power.currentState();
  std::string source = "no battery";
  if (power.hasBattery) {
    source = std::string(power.onBattery ? "on battery" : "on AC") + ", battery " +
             std::to_string(power.batteryPercent) + "%";
  }
  report += "  Power: " + source + "; thermal state " +
            std::string(platform::thermalStateName(power.thermalState)) + "\n";
}

void appendPreferences(std::string& report, platform::UserDefaults& defaults) {
  report += "\nPreferences\n";
  for (const preferences::StoredKey& key : preferences::allKeys) {
    report += "  " + std::string(key.name) + ": ";
    if (!defaults.hasValueForKey(key.name)) {
      report += "(not set)\n";
      continue;
    }
    switch (key.type) {
      case preferences::ValueType::boolean:
        report += defaults.boolForKey(key.name) ? "true" : "false";
        break;
      case preferences::ValueType::integer:
        report += std::to_string(defaults.integerForKey(key.name));
        break;
      case preferences::ValueType::real:
        report += numberText(defaults.doubleForKey(key.name));
        break;
      case preferences::ValueType::text:
        report += "\"" + defaults.stringForKey(key.name).value_or("") + "\"";
        break;
    }
    report += "\n";
  }
}

void appendTrail(std::string& report, const EventTrail& trail) {
  report +=
      "\nLast events (" + std::to_string(trail.size()) + ", oldest first; times since launch)\n";
  trail.forEach([&report](const EventTrail::Record& record) {
    report += "  " + EventTrail::describe(record) + "\n";
  });
}

}  // namespace

std::string_view appVersion() {
  return LUMORA_VERSION;
}

std::string withHomeAsTilde(std::string text, std::string_view home) {
  while (home.size() > 1 && home.back() == '/')
    home.remove_suffix(1);
  if (home.size() < 2) return text;
  std::size_t at = 0;
  while ((at = text.find(home, at)) != std::string::npos) {
    const std::size_t end = at + home.size();
    // "/Users/ada" in "/Users/adam" is not the home folder.
    if (end < text.size() && text[end] != '/' && text[end] != '\n' && text[end] != ' ' &&
        text[end] != '"' && text[end] != ')') {
      at = end;
      continue;
    }
    text.replace(at, home.size(), "~");
    at += 1;
  }
  return text;
}

std::string diagnosticReport(platform::Platform& platform, SharedControllers& controllers,
                             std::string_view check) {
  std::string report = "Lumora Virir diagnostics\n\n";
  if (!check.empty()) report += "Display check: " + std::string(check) + "\n\n";
  appendApp(report, platform, controllers);
  appendXDR(report, controllers.xdr());
  appendDisplays(report, platform, controllers);
  appendPower(report, platform, controllers);
  appendPreferences(report, platform.userDefaults);
  appendTrail(report, controllers.trail());
  return withHomeAsTilde(std::move(report), platform.operatingSystem.homeDirectory());
}

}  // namespace lumora
