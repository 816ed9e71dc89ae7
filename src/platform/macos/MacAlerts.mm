#include "platform/macos/MacAlerts.h"

#import <AppKit/AppKit.h>

#include "platform/macos/MacApplication.h"
#include "platform/macos/MacStrings.h"

namespace lumora::macos {

int MacAlerts::runModal(const platform::Alert &alert) {
  NSAlert *native = [[NSAlert alloc] init];
  native.messageText = toNSString(alert.messageText);
  native.informativeText = toNSString(alert.informativeText);
  native.alertStyle = static_cast<NSAlertStyle>(alert.style);
  for (const std::string &title : alert.buttonTitles) [native addButtonWithTitle:toNSString(title)];
  if (alert.floatsAboveOtherApplications) {
    // Laid out now: NSAlert lays itself out lazily inside runModal, after its window has been
    // ordered front here, which would show the window before it has its size and its buttons.
    [native layout];
    // runModal does not bring a menu-bar app forward; a floating window is seen anyway.
    NSWindow *window = native.window;
    window.level = NSFloatingWindowLevel;
    // Keys reach only the active app. The alert is made key and front first, so that an
    // activation brings it forward rather than another window of the app. From macOS 14 on the
    // system may refuse an activation the user did not ask for (an alert from a timer): the
    // alert then floats unfocused until it is clicked.
    [window makeKeyAndOrderFront:nil];
    activateApplication(true);
  }
  return static_cast<int>([native runModal]);
}

}  // namespace lumora::macos
