#pragma once

#include <string>
#include <string_view>

#include "display/SharedControllers.h"
#include "platform/Platform.h"

namespace lumora {

// A plain-text diagnosis of this run, to paste into a bug report: the app and the Mac, the XDR
// method and why, each display as the app sees it, pause and power, the stored preferences, and
// the last events with their times. Built on request from what the platform and the controllers
// tell now; it writes nothing and keeps nothing. Nothing personal goes in: no user or host name,
// and the home folder is shown as "~".
//
// `check`, when not empty, is the outcome of a display check (--diagnose), told first.
std::string diagnosticReport(platform::Platform& platform, SharedControllers& controllers,
                             std::string_view check = {});

// `text` with every occurrence of the folder `home` (as a whole path part) shown as "~".
std::string withHomeAsTilde(std::string text, std::string_view home);

// The app's version, as the build names it.
std::string_view appVersion();

}  // namespace lumora
