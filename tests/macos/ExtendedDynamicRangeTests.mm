// The EDR window on a real Mac: a window that asks for headroom, is never in the user's way or in
// a screenshot, and draws only when asked and able to.

#import <AppKit/AppKit.h>
#import <Metal/Metal.h>
#import <QuartzCore/QuartzCore.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "RunLoop.h"
#include "platform/macos/EDRWindowPlacement.h"
#include "platform/macos/MacDisplays.h"
#include "platform/macos/MacExtendedDynamicRange.h"

namespace lumora::macos {
namespace {

using namespace std::chrono_literals;
using runloop::runFor;
using runloop::runUntil;

// The display the app drives: the built-in panel where there is one.
platform::DisplayID drivenDisplay() {
  MacDisplays displays;
  return displays.builtInDisplayID().value_or(displays.mainDisplayID());
}

TEST(MacEDRWindowTest, IsATinyPanelThatIgnoresTheMouseAndNeverActivatesTheApp) {
  MacExtendedDynamicRange edr;
  const platform::DisplayID display = drivenDisplay();
  const BOOL wasActive = NSApp.isActive;
  std::unique_ptr<platform::EDRWindow> shown = edr.showEDRWindow(display);
  if (!shown) GTEST_SKIP() << "no Metal device for this display (a virtual machine?)";
  NSPanel *panel = static_cast<MacEDRWindow &>(*shown).panel();

  EXPECT_TRUE(panel.isVisible);
  EXPECT_EQ(panel.frame.size.width, 1.0);
  EXPECT_EQ(panel.frame.size.height, 1.0);
  EXPECT_TRUE(panel.ignoresMouseEvents);
  EXPECT_FALSE(panel.canBecomeKeyWindow);
  EXPECT_FALSE(panel.canBecomeMainWindow);
  EXPECT_FALSE(panel.hidesOnDeactivate) << "an accessory app is never active";
  EXPECT_TRUE([panel isExcludedFromWindowsMenu]);
  EXPECT_NE(panel.styleMask & NSWindowStyleMaskNonactivatingPanel, 0u);
  EXPECT_EQ(panel.level, NSStatusWindowLevel);
  const NSWindowCollectionBehavior behavior = panel.collectionBehavior;
  EXPECT_NE(behavior & NSWindowCollectionBehaviorCanJoinAllSpaces, 0u);
  EXPECT_NE(behavior & NSWindowCollectionBehaviorFullScreenAuxiliary, 0u);
  EXPECT_NE(behavior & NSWindowCollectionBehaviorIgnoresCycle, 0u);
  EXPECT_EQ(NSApp.isActive, wasActive);

  EXPECT_EQ(panel.sharingType, NSWindowSharingNone) << "never in a screenshot or recording";
  NSNumber *screenNumber = panel.screen.deviceDescription[@"NSScreenNumber"];
  EXPECT_EQ(screenNumber.unsignedIntValue, display) << "on the driven display's screen";
  // Its top-left corner, wherever that screen is among the displays.
  const NSRect screen = panel.screen.frame;
  EXPECT_EQ(panel.frame.origin.x, NSMinX(screen));
  EXPECT_EQ(panel.frame.origin.y, NSMaxY(screen) - 1);

  shown.reset();
  EXPECT_FALSE(panel.isVisible) << "taken down with its owner";
}

TEST(MacEDRWindowTest, ItsLayerWantsExtendedDynamicRangeInHalfFloats) {
  MacExtendedDynamicRange edr;
  std::unique_ptr<platform::EDRWindow> shown = edr.showEDRWindow(drivenDisplay());
  if (!shown) GTEST_SKIP() << "no Metal device for this display (a virtual machine?)";
  CALayer *layer = static_cast<MacEDRWindow &>(*shown).panel().contentView.layer;
  ASSERT_TRUE([layer isKindOfClass:[CAMetalLayer class]]);
  CAMetalLayer *metal = static_cast<CAMetalLayer *>(layer);
  EXPECT_TRUE(metal.wantsExtendedDynamicRangeContent);
  EXPECT_EQ(metal.pixelFormat, MTLPixelFormatRGBA16Float);
  EXPECT_NE(metal.colorspace, nullptr);
  EXPECT_GE(edr.currentHeadroom(drivenDisplay()), 1.0);
}

}  // namespace
}  // namespace lumora::macos

namespace lumora::macos {
namespace {

TEST(MacEDRWindowTest, ItsFrameIsRelativeToItsScreenWhereverThatScreenIs) {
  // An external display left of and below the menu-bar screen.
  const platform::Rect offset =
      edrWindowContentRect({.x = -1920, .y = -300, .width = 1920, .height = 1080});
  EXPECT_EQ(offset, (platform::Rect{.x = 0, .y = 1079, .width = 1, .height = 1}));
  const platform::Rect panel =
      edrWindowContentRect({.x = 1728, .y = 120, .width = 1512, .height = 982});
  EXPECT_EQ(panel, (platform::Rect{.x = 0, .y = 981, .width = 1, .height = 1}))
      << "not the screen's origin again: initWithContentRect:...screen: adds it";
}

TEST(MacEDRWindowTest, AFrameIsDrawnOnlyWhileTheWindowIsVisibleAndTheScreensAwake) {
  EXPECT_TRUE(edrWindowMayDraw(true, false));
  EXPECT_FALSE(edrWindowMayDraw(false, false)) << "occluded: nextDrawable could block";
  EXPECT_FALSE(edrWindowMayDraw(true, true)) << "the screens asleep";

  MacExtendedDynamicRange edr;
  std::unique_ptr<platform::EDRWindow> shown = edr.showEDRWindow(drivenDisplay());
  if (!shown) GTEST_SKIP() << "no Metal device for this display (a virtual machine?)";
  auto &window = static_cast<MacEDRWindow &>(*shown);
  LumoraEDRDrawer *drawer = window.drawer();
  ASSERT_TRUE(runUntil([drawer] { return drawer.framesDrawn == 1; }, 2s)) << "drawn once shown";
  runFor(1s);
  EXPECT_EQ(drawer.framesDrawn, 1u) << "and never again by itself";

  // Hidden, a redraw waits; shown again, it is drawn.
  [window.panel() orderOut:nil];
  runUntil(
      [&window] { return (window.panel().occlusionState & NSWindowOcclusionStateVisible) == 0; },
      2s);
  [window.drawer() drawWhenPossible];
  EXPECT_TRUE(drawer.framePending);
  EXPECT_EQ(drawer.framesDrawn, 1u);
  shown->redraw();
  EXPECT_TRUE(runUntil([drawer] { return drawer.framesDrawn == 2; }, 2s));
  EXPECT_FALSE(drawer.framePending);
}

}  // namespace
}  // namespace lumora::macos
