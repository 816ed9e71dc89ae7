// Windows on a real Mac: what they are built from, and their life around -close.

#import <AppKit/AppKit.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "RunLoop.h"
#include "platform/macos/MacApplication.h"
#include "platform/macos/MacNotifications.h"
#include "platform/macos/MacWindows.h"
#include "support/ActionRecorder.h"

namespace lumora::macos {
namespace {

using namespace std::chrono_literals;

// The settings window's owner lets go of it from the will-close observer, while -[NSWindow close]
// is still running. Sent as the close button sends it, with no other reference on the stack, the
// close must find its window alive, and the window must be released only after the current event.
TEST(MacWindowLifecycleTest, AnObserverMayDropTheLastOwnerWhileTheWindowCloses) {
  MacWindows windows{nil};
  MacNotificationCenter notifications;
  std::shared_ptr<platform::Window> owner =
      windows.makeWindow({0, 0, 420, 280}, 3, platform::BackingStore::buffered, false);
  __weak NSWindow *weakWindow = nil;
  __unsafe_unretained NSWindow *unretained = nil;
  @autoreleasepool {
    NSWindow *window = static_cast<MacWindow &>(*owner).window();
    weakWindow = window;
    unretained = window;
    owner->makeKeyAndOrderFront();
  }
  int observed = 0;
  notifications.addWindowWillCloseObserver(*owner, [&] {
    ++observed;
    owner.reset();
  });

  @autoreleasepool {
    [unretained close];
  }
  EXPECT_EQ(observed, 1);
  EXPECT_EQ(owner, nullptr);
  EXPECT_NE(weakWindow, nil) << "kept until the current event has been handled";

  @autoreleasepool {
    NSWindow *again = weakWindow;
    [again close];
  }
  EXPECT_EQ(observed, 1) << "the observer went with its owner";

  EXPECT_TRUE(runloop::runUntil([&weakWindow] { return weakWindow == nil; }, 2s))
      << "released once the main queue has run";
}

TEST(MacWindowLifecycleTest, AWindowWhoseOwnerStaysClosesAndIsObservedEachTime) {
  MacWindows windows{nil};
  MacNotificationCenter notifications;
  const std::shared_ptr<platform::Window> owner =
      windows.makeWindow({0, 0, 420, 280}, 3, platform::BackingStore::buffered, false);
  int observed = 0;
  notifications.addWindowWillCloseObserver(*owner, [&observed] { ++observed; });
  NSWindow *window = static_cast<MacWindow &>(*owner).window();
  owner->makeKeyAndOrderFront();
  EXPECT_TRUE(owner->isVisible());
  [window close];
  EXPECT_EQ(observed, 1);
  EXPECT_FALSE(owner->isVisible());
  owner->makeKeyAndOrderFront();
  [window close];
  EXPECT_EQ(observed, 2);
}

TEST(MacWindowsTest, AWindowIsNeverReleasedWhenClosedAndItsViewsFollowTheValue) {
  MacWindows windows{nil};
  const auto window =
      windows.makeWindow({0, 0, 420, 280}, 3, platform::BackingStore::buffered, false);
  NSWindow *native = static_cast<MacWindow &>(*window).window();
  EXPECT_FALSE(native.releasedWhenClosed);
  EXPECT_EQ(native.styleMask, NSWindowStyleMaskTitled | NSWindowStyleMaskClosable);
  EXPECT_EQ(window->contentViewBounds(), (platform::Rect{0, 0, 420, 280}));

  platform::View content;
  content.frame = {0, 0, 420, 280};
  content.wantsLayer = true;
  platform::View separator;
  separator.kind = platform::View::Kind::separator;
  separator.frame = {20, 100, 380, 1};
  content.subviews.push_back(separator);
  platform::View label;
  label.kind = platform::View::Kind::label;
  label.frame = {20, 55, 380, 20};
  label.text = "About";
  label.font = platform::Font{.bold = true, .size = 13};
  label.textColor = platform::NamedColor::secondaryLabel;
  content.subviews.push_back(label);
  window->setContentView(content);

  NSView *view = native.contentView;
  EXPECT_TRUE(view.wantsLayer);
  ASSERT_EQ(view.subviews.count, 2u);
  NSBox *box = view.subviews[0];
  ASSERT_TRUE([box isKindOfClass:[NSBox class]]);
  EXPECT_EQ(box.boxType, NSBoxSeparator);
  NSTextField *field = view.subviews[1];
  ASSERT_TRUE([field isKindOfClass:[NSTextField class]]);
  EXPECT_TRUE([field.stringValue isEqualToString:@"About"]);
  EXPECT_FALSE([field isEditable]);
  EXPECT_EQ(field.font.pointSize, 13.0);
  EXPECT_TRUE([field.textColor isEqual:NSColor.secondaryLabelColor]);
  EXPECT_EQ(field.frame.origin.y, 55.0);
}

// A button of the window's value is a push button with its title and frame; pressed, its action
// reaches the delegate as a menu entry's does, with a tag of 0.
TEST(MacWindowsTest, AButtonSendsItsActionToTheDelegateThroughTheBridge) {
  const auto delegate = std::make_shared<testing::ActionRecorder>();
  LMVDelegateBridge *bridge = [[LMVDelegateBridge alloc] init];
  [bridge setDelegate:delegate];
  MacWindows windows{bridge};
  const auto window =
      windows.makeWindow({0, 0, 420, 280}, 3, platform::BackingStore::buffered, false);

  platform::View content;
  content.frame = {0, 0, 420, 280};
  platform::View copy;
  copy.kind = platform::View::Kind::button;
  copy.frame = {14, 13, 150, 32};
  copy.text = "Copy Diagnostics";
  copy.action = platform::StaticText("copyDiagnostics");
  content.subviews.push_back(copy);
  window->setContentView(content);

  NSView *view = static_cast<MacWindow &>(*window).window().contentView;
  ASSERT_EQ(view.subviews.count, 1u);
  NSButton *button = view.subviews[0];
  ASSERT_TRUE([button isKindOfClass:[NSButton class]]);
  EXPECT_TRUE([button.title isEqualToString:@"Copy Diagnostics"]);
  EXPECT_TRUE(NSEqualRects(button.frame, NSMakeRect(14, 13, 150, 32)));
  EXPECT_EQ(button.target, bridge);
  EXPECT_TRUE([button isEnabled]);

  [button performClick:nil];
  EXPECT_EQ(delegate->sent, std::vector<std::string>{"copyDiagnostics 0"});

  // Without a delegate, a press does nothing.
  [bridge setDelegate:std::weak_ptr<platform::ApplicationDelegate>()];
  [button performClick:nil];
  EXPECT_EQ(delegate->sent.size(), 1u);
}

}  // namespace
}  // namespace lumora::macos
