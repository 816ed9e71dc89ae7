// The ways in without the menu: URLs of the app's scheme reach the core through the delegate
// bridge, and Carbon hot keys are held and given back.

#import <AppKit/AppKit.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "RunLoop.h"
#include "platform/macos/MacApplication.h"
#include "platform/macos/MacHotKeys.h"
#include "platform/macos/MacOpenedURLs.h"

namespace lumora::macos {
namespace {

using namespace std::chrono_literals;
using runloop::runUntil;

NSArray<NSURL *> *urls(std::initializer_list<NSString *> texts) {
  NSMutableArray<NSURL *> *list = [NSMutableArray array];
  for (NSString *text : texts) [list addObject:[NSURL URLWithString:text]];
  return list;
}

TEST(MacOpenedURLsTest, TheBridgeHandsOverURLsAndThoseBeforeTheHandlerFollowInOrder) {
  MacApplication application;
  MacOpenedURLs opened(application);
  LMVDelegateBridge *bridge = application.bridge();
  ASSERT_TRUE([bridge respondsToSelector:@selector(application:openURLs:)]);

  [bridge application:NSApplication.sharedApplication
             openURLs:urls({@"lumora-virir://xdr/up", @"lumora-virir://deep-blacks/next"})];
  std::vector<std::string> handled;
  opened.setHandler([&handled](std::string_view url) {
    handled.emplace_back(url);
    return platform::URLAnswer{.done = true, .text = "done"};
  });
  EXPECT_TRUE(handled.empty()) << "those that came with the launch wait for its end";
  [bridge application:NSApplication.sharedApplication openURLs:urls({@"lumora-virir://xdr/off"})];
  EXPECT_TRUE(runUntil([&handled] { return handled.size() == 3; }, 2s));
  EXPECT_EQ(handled,
            (std::vector<std::string>{"lumora-virir://xdr/up", "lumora-virir://deep-blacks/next",
                                      "lumora-virir://xdr/off"}));
  EXPECT_FALSE([NSApplication.sharedApplication isActive]) << "a URL does not activate the app";
}

TEST(MacHotKeysTest, KeyNamesHaveTheirANSICodesAndModifiersTheirMasks) {
  EXPECT_EQ(MacHotKeys::keyCode("up"), std::optional<UInt32>(kVK_UpArrow));
  EXPECT_EQ(MacHotKeys::keyCode("d"), std::optional<UInt32>(kVK_ANSI_D));
  EXPECT_EQ(MacHotKeys::keyCode("0"), std::optional<UInt32>(kVK_ANSI_0));
  EXPECT_EQ(MacHotKeys::keyCode("f12"), std::optional<UInt32>(kVK_F12));
  EXPECT_EQ(MacHotKeys::keyCode("f13"), std::nullopt);
  EXPECT_EQ(MacHotKeys::modifiers(
                platform::HotKey{.control = true, .option = true, .command = true, .key = "up"}),
            static_cast<UInt32>(controlKey | optionKey | cmdKey));
}

TEST(MacHotKeysTest, AHotKeyIsHeldUntilItsRegistrationGoes) {
  MacHotKeys hotKeys;
  // A combination hardly anything else holds.
  const platform::HotKey rare{
      .control = true, .option = true, .command = true, .shift = true, .key = "f12"};
  platform::HotKeyOutcome first = hotKeys.registerHotKey(rare, [] {});
  ASSERT_NE(first.registration, nullptr) << first.error;
  first.registration.reset();
  platform::HotKeyOutcome again = hotKeys.registerHotKey(rare, [] {});
  EXPECT_NE(again.registration, nullptr) << "given back, it can be held again: " << again.error;
}

}  // namespace
}  // namespace lumora::macos
