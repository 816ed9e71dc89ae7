#pragma once

#include <string>
#include <string_view>

namespace lumora {

// Why XDR brightness cannot raise the display: each says so in plain words, with what the user
// can do.
enum class UnavailableReason {
  noHeadroom,                // the display gave no EDR headroom while awake, unlocked and settled
  noXDRPanel,                // the same, on a Mac without a built-in XDR panel
  tablesNotApplied,          // macOS took the boosted table but does not apply it
  tableRefused,              // the display did not take the table at all
  presetFixesBrightness,     // the active preset holds the brightness at or below 500 nits
  presetsRefusedNoHeadroom,  // the window server took no preset, and no headroom came either
};

// The alert's informative text. `presetName` names the active preset, for presetFixesBrightness.
std::string unavailableInformativeText(UnavailableReason reason, std::string_view presetName = {});
// The reason in a few words, for standard error and the diagnosis.
std::string_view describe(UnavailableReason reason);

}  // namespace lumora
