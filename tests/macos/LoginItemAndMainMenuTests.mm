// The Launch at Login check mark as the system's status sets it, through a stand-in for the
// app's login service, and the main menu the settings window's keys need.

#import <AppKit/AppKit.h>

#include <gtest/gtest.h>

#include "platform/macos/MacApplication.h"
#include "platform/macos/MacLoginItems.h"
#include "platform/macos/MacStatusBar.h"
#include "platform/macos/MacSymbolImages.h"
#include "ui/StatusMenu.h"

// Answers with the status a test gives it, as SMAppService would after the user's changes in
// System Settings.
@interface LMVLoginServiceStandIn : NSObject <LMVLoginItemService>
@property SMAppServiceStatus status;
@property(nullable) NSError *failure;
@end

@implementation LMVLoginServiceStandIn
- (BOOL)registerAndReturnError:(NSError *_Nullable __autoreleasing *_Nullable)error {
  if (self.failure != nil && error != nullptr) *error = self.failure;
  if (self.failure == nil) self.status = SMAppServiceStatusEnabled;
  return self.failure == nil ? YES : NO;
}
- (BOOL)unregisterAndReturnError:(NSError *_Nullable __autoreleasing *_Nullable)error {
  self.status = SMAppServiceStatusNotRegistered;
  return YES;
}
@end

namespace lumora::macos {
namespace {

// The state of the native Launch at Login entry for the status the service reports.
NSControlStateValue checkMarkFor(MacLoginItems &loginItems) {
  MacSymbolImages symbols;
  const platform::Menu menu = ui::buildStatusMenu(
      ui::MenuInputs{.liveNits = 500.0, .loginItem = loginItems.status()}, symbols);
  NSMenu *native = makeMenu(menu, [[LMVDelegateBridge alloc] init]);
  return [native itemWithTitle:@"Launch at Login"].state;
}

TEST(MacLoginItemsTest, TheCheckMarkFollowsTheStatusTheSystemReports) {
  LMVLoginServiceStandIn *service = [[LMVLoginServiceStandIn alloc] init];
  MacLoginItems loginItems(service);

  service.status = SMAppServiceStatusNotRegistered;
  EXPECT_EQ(checkMarkFor(loginItems), NSControlStateValueOff);
  EXPECT_EQ(loginItems.registerMainApp(), std::nullopt);
  EXPECT_EQ(checkMarkFor(loginItems), NSControlStateValueOn);
  service.status = SMAppServiceStatusRequiresApproval;  // turned off in System Settings
  EXPECT_EQ(checkMarkFor(loginItems), NSControlStateValueMixed);
  service.status = SMAppServiceStatusNotFound;
  EXPECT_EQ(checkMarkFor(loginItems), NSControlStateValueOff);

  service.failure = [NSError errorWithDomain:@"SMAppServiceErrorDomain"
                                        code:1
                                    userInfo:@{NSLocalizedDescriptionKey : @"Not permitted"}];
  EXPECT_EQ(loginItems.registerMainApp(), std::optional<std::string>("Not permitted"));
}

TEST(MacMainMenuTest, QuitCloseAndTheTextCommandsHaveTheirKeys) {
  MacApplication application;
  NSMenu *main = NSApp.mainMenu;
  ASSERT_NE(main, nil);
  const auto find = [main](SEL action) -> NSMenuItem * {
    for (NSMenuItem *top in main.itemArray) {
      for (NSMenuItem *item in top.submenu.itemArray) {
        if (item.action == action) return item;
      }
    }
    return nil;
  };
  for (const auto &[action, key] :
       std::vector<std::pair<SEL, NSString *>>{{@selector(terminate:), @"q"},
                                               {@selector(performClose:), @"w"},
                                               {@selector(copy:), @"c"},
                                               {@selector(paste:), @"v"},
                                               {@selector(selectAll:), @"a"}}) {
    NSMenuItem *item = find(action);
    ASSERT_NE(item, nil) << NSStringFromSelector(action).UTF8String;
    EXPECT_TRUE([item.keyEquivalent isEqualToString:key])
        << NSStringFromSelector(action).UTF8String;
    EXPECT_EQ(item.target, nil) << "to the first responder, as every app's";
  }
  EXPECT_NE(NSApp.windowsMenu, nil);
}

}  // namespace
}  // namespace lumora::macos
