#include "display/UnavailableReason.h"

namespace lumora {
namespace {

constexpr std::string_view sendReport =
    " If you think it should work on this Mac, choose Copy Diagnostics and send the report with "
    "your bug report.";

}  // namespace

std::string unavailableInformativeText(UnavailableReason reason, std::string_view presetName) {
  switch (reason) {
    case UnavailableReason::noHeadroom:
      return "The display gave no EDR headroom, so macOS shows nothing brighter than its standard "
             "brightness and the display stays there. This can pass: pick a level again in a "
             "moment." +
             std::string(sendReport);
    case UnavailableReason::noXDRPanel:
      return "This Mac has no built-in XDR display (or its lid is closed), and the display it "
             "uses gave no EDR headroom, so it stays at its standard brightness. XDR brightness "
             "needs a display that can show more than 500 nits, such as the built-in XDR display "
             "of a MacBook Pro with its lid open.";
    case UnavailableReason::tablesNotApplied:
      return "macOS took the brightness table but did not apply it: this version of macOS ignores "
             "values above SDR white, so the display stays at its standard brightness. A later "
             "macOS update may change that." +
             std::string(sendReport);
    case UnavailableReason::tableRefused:
      return "The display did not take the brightness table, so it stays at its standard "
             "brightness. Quit apps that change the display's colours (night-light or "
             "calibration tools) and pick a level again.";
    case UnavailableReason::presetFixesBrightness:
      return "The display's preset, \"" + std::string(presetName) +
             "\", holds its brightness at a fixed level that cannot go above 500 nits. Choose the "
             "XDR preset (the one whose name ends in \"1600 nits)\") in System Settings \u203A "
             "Displays \u203A Preset, then pick a level again.";
    case UnavailableReason::presetsRefusedNoHeadroom:
      return "macOS took neither the brightness preset nor the request for EDR headroom, so the "
             "display stays at its standard brightness. XDR brightness may not be available on "
             "this Mac or this version of macOS." +
             std::string(sendReport);
  }
  return {};
}

std::string_view describe(UnavailableReason reason) {
  switch (reason) {
    case UnavailableReason::noHeadroom:
      return "the display gave no EDR headroom";
    case UnavailableReason::noXDRPanel:
      return "the display gave no EDR headroom, and this Mac has no built-in XDR panel";
    case UnavailableReason::tablesNotApplied:
      return "macOS took the boosted gamma table but did not apply it (it read back unchanged or "
             "clamped at 1.0)";
    case UnavailableReason::tableRefused:
      return "the display did not take the boosted gamma table";
    case UnavailableReason::presetFixesBrightness:
      return "the display's active preset holds its brightness at 500 nits or less";
    case UnavailableReason::presetsRefusedNoHeadroom:
      return "macOS took neither the brightness preset nor the request for EDR headroom";
  }
  return {};
}

}  // namespace lumora
