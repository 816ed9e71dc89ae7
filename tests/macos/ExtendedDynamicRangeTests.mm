// The EDR window on a real Mac: a window that asks for headroom and is never in the user's way.

#import <AppKit/AppKit.h>
#import <Metal/Metal.h>
#import <QuartzCore/QuartzCore.h>

#include <gtest/gtest.h>

#include <memory>

#include "platform/macos/MacDisplays.h"
#include "platform/macos/MacExtendedDynamicRange.h"

namespace lumora::macos {
namespace {

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

  NSNumber *screenNumber = panel.screen.deviceDescription[@"NSScreenNumber"];
  EXPECT_EQ(screenNumber.unsignedIntValue, display) << "on the driven display's screen";

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
