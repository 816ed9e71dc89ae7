// The AppKit backend's tests run as an app would: windows, menus, alerts and status items need
// the application object, made before anything else.

#import <AppKit/AppKit.h>

#include <gtest/gtest.h>

int main(int argc, char **argv) {
  // As the app's main thread, the tests run inside a pool: what AppKit autoreleases is released.
  @autoreleasepool {
    NSApplication *application = NSApplication.sharedApplication;
    // As the app: no Dock icon, yet windows and alerts can show.
    [application setActivationPolicy:NSApplicationActivationPolicyAccessory];
    [application finishLaunching];
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
  }
}
