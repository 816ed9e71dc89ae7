#pragma once

#import <AppKit/AppKit.h>

namespace lumora::macos {

// The smallest main menu a Mac app needs, for the settings window while it is key: the app menu
// with Quit (⌘Q), Edit with the text commands (⌘C, ⌘A), and Window with Close (⌘W). Its entries
// go to the first responder and the application, as every Mac app's do.
void installMainMenu(NSApplication *application, NSString *appName);

}  // namespace lumora::macos
