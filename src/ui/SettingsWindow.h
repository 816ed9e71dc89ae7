#pragma once

#include <string_view>

#include "platform/Windows.h"

namespace lumora::ui {

// The settings window: an About section with the version line and a credit line, and under it
// the button that copies the diagnosis.
inline constexpr platform::Rect settingsContentRect{0, 0, 420, 280};
inline constexpr unsigned settingsStyleMask =
    platform::windowStyleTitled | platform::windowStyleClosable;
inline constexpr std::string_view settingsTitle = "Lumora Virir Settings";
inline constexpr std::string_view versionLine = "Lumora Virir v1.5.0 - XDR Brightness Control";
inline constexpr std::string_view creditLine = "Made with care by the Lumora Virir team";
inline constexpr std::string_view copyDiagnosticsTitle = "Copy Diagnostics";

// The window's content view, with the bounds of its current content view: a layer-backed view
// holding a separator, the About labels and the Copy Diagnostics button.
platform::View settingsContentView(const platform::Rect& bounds);

}  // namespace lumora::ui
