// The AppKit backend on a real Mac: what it builds from the app's values, and the Core
// Foundation work of the window server's presets.

#import <AppKit/AppKit.h>
#import <CoreFoundation/CoreFoundation.h>

#include <gtest/gtest.h>

#include "platform/macos/MacStatusBar.h"
#include "platform/macos/MacSymbolImages.h"
#include "platform/macos/MacPresetDictionary.h"
#include "platform/macos/MacUserDefaults.h"
#include "platform/macos/MacWindowServer.h"
#include "platform/macos/MacWindows.h"

namespace lumora::macos {
namespace {

CFRef<CFDictionaryRef> standardPreset() {
  CFMutableDictionaryRef preset = CFDictionaryCreateMutable(
      kCFAllocatorDefault, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
  const int32_t reference = 100;
  const float gain = 0.75f;
  const double ceiling = 500.0;
  const UInt8 bytes[] = {0, 255, 128};
  CFRef<CFNumberRef> referenceNumber(
      CFNumberCreate(kCFAllocatorDefault, kCFNumberSInt32Type, &reference));
  CFRef<CFNumberRef> gainNumber(CFNumberCreate(kCFAllocatorDefault, kCFNumberFloat32Type, &gain));
  CFRef<CFNumberRef> ceilingNumber(
      CFNumberCreate(kCFAllocatorDefault, kCFNumberFloat64Type, &ceiling));
  CFRef<CFDataRef> data(CFDataCreate(kCFAllocatorDefault, bytes, 3));
  CFDictionarySetValue(preset, CFSTR("PresetReferenceBrightness"), referenceNumber.get());
  CFDictionarySetValue(preset, CFSTR("PresetGain"), gainNumber.get());
  CFDictionarySetValue(preset, CFSTR("PresetMaxSDRLuminance"), ceilingNumber.get());
  CFDictionarySetValue(preset, CFSTR("PresetWritable"), kCFBooleanFalse);
  CFDictionarySetValue(preset, CFSTR("PresetCalibration"), data.get());
  CFDictionarySetValue(preset, CFSTR("PresetName"), CFSTR("Standard"));
  return CFRef<CFDictionaryRef>(preset);
}

TEST(MacPresetDictionaryTest, ACopyKeepsEveryValueWithItsExactTypeAndTakesTheNewKeys) {
  const MacPresetDictionary original(standardPreset());
  const std::unique_ptr<platform::MutablePresetDictionary> copy = original.mutableCopy();
  ASSERT_NE(copy, nullptr);
  copy->setString("PresetName", "Lumora XDR (1250 nits)");
  copy->setDouble("PresetMaxSDRLuminance", 1250.0);
  copy->setInteger("PresetWritable", 1);
  const std::uint8_t uuid[] = {'A', 'B'};
  copy->setData("PresetUniqueID", uuid);

  const CFDictionaryRef written = static_cast<MacPresetDictionary &>(*copy).dictionary();
  const auto number = [&](CFStringRef key) {
    return static_cast<CFNumberRef>(CFDictionaryGetValue(written, key));
  };
  EXPECT_EQ(CFNumberGetType(number(CFSTR("PresetReferenceBrightness"))), kCFNumberSInt32Type);
  EXPECT_EQ(CFNumberGetType(number(CFSTR("PresetGain"))), kCFNumberFloat32Type);
  EXPECT_EQ(CFGetTypeID(CFDictionaryGetValue(written, CFSTR("PresetCalibration"))),
            CFDataGetTypeID());
  EXPECT_EQ(CFNumberGetType(number(CFSTR("PresetWritable"))), kCFNumberSInt64Type)
      << "an integer now, not a boolean";
  EXPECT_EQ(CFNumberGetType(number(CFSTR("PresetMaxSDRLuminance"))), kCFNumberFloat64Type);
  EXPECT_EQ(CFDictionaryGetCount(written), 7);

  EXPECT_EQ(copy->numberValue("PresetMaxSDRLuminance"), 1250.0);
  EXPECT_EQ(original.numberValue("PresetMaxSDRLuminance"), 500.0) << "the original is untouched";
  EXPECT_EQ(original.numberValue("PresetReferenceBrightness"), 100.0);
  EXPECT_EQ(original.numberValue("PresetWritable"), std::nullopt) << "a boolean is no number";
  EXPECT_EQ(original.numberValue("PresetName"), std::nullopt);
  EXPECT_EQ(original.numberValue("Missing"), std::nullopt);
}

TEST(MacWindowServerTest, AMissingLibraryIsAnErrorAndMissingNamesAreEmptyEntries) {
  MacWindowServer windowServer;
  const platform::PresetFunctionNames names{"NoSuchFunctionA", "NoSuchFunctionB", "NoSuchFunctionC",
                                            "NoSuchFunctionD"};
  EXPECT_FALSE(
      windowServer.openPresetFunctions("/nonexistent/Library.dylib", names).openError.empty());
  const auto opened = windowServer.openPresetFunctions("/usr/lib/libSystem.B.dylib", names);
  EXPECT_TRUE(opened.openError.empty());
  EXPECT_FALSE(opened.functions.getActivePresetIndex);
  EXPECT_FALSE(opened.functions.setPresetData);
}

TEST(MacSymbolImagesTest, TheAppsSymbolsExistAndArePaintedInTheirPalette) {
  MacSymbolImages symbols;
  for (const platform::StaticText name :
       {platform::StaticText("sun.max"), platform::StaticText("sun.max.fill"),
        platform::StaticText("moon.stars.fill"), platform::StaticText("moon.fill"),
        platform::StaticText("gearshape.fill"), platform::StaticText("arrow.triangle.2.circlepath"),
        platform::StaticText("arrow.counterclockwise")}) {
    EXPECT_TRUE(symbols.systemSymbolImage(name, "Lumora Virir")) << name.view();
  }
  EXPECT_FALSE(symbols.systemSymbolImage("no.such.symbol.anywhere", "x"));

  const platform::SymbolImage moon{
      "moon.stars.fill", "Lumora Virir",
      platform::SymbolConfiguration{
          {platform::NamedColor::systemIndigo, platform::NamedColor::cyan},
          platform::SymbolScale::large}};
  NSImage *image = makeSymbolImage(moon);
  ASSERT_NE(image, nil);
  EXPECT_FALSE([image isTemplate]) << "a template would lose the palette in the menu bar";
  EXPECT_TRUE([image.accessibilityDescription isEqualToString:@"Lumora Virir"]);
}

TEST(MacMenusTest, TheNativeMenuFollowsTheValue) {
  platform::Menu submenu;
  platform::MenuItem medium;
  medium.title = "Medium";
  medium.action = platform::StaticText("setDeepBlacksLevel:");
  medium.tag = 2;
  medium.state = platform::ControlState::on;
  submenu.items.push_back(medium);

  platform::Menu menu;
  platform::MenuItem header;
  header.title = "\U0001F4A1 SDR Mode";
  header.enabled = false;
  menu.items.push_back(header);
  menu.items.push_back(platform::MenuItem::separator());
  platform::MenuItem toggle;
  toggle.title = "\u25B6\uFE0F Enable XDR";
  toggle.action = platform::StaticText("toggleXDR");
  toggle.keyEquivalent = "x";
  menu.items.push_back(toggle);
  platform::MenuItem deepBlacks;
  deepBlacks.title = "\U0001F311 Deep Blacks";
  deepBlacks.submenu = std::make_shared<const platform::Menu>(submenu);
  menu.items.push_back(deepBlacks);

  LMVDelegateBridge *target = [[LMVDelegateBridge alloc] init];
  NSMenu *native = makeMenu(menu, target);
  ASSERT_EQ(native.numberOfItems, 4);
  EXPECT_TRUE([[native itemAtIndex:0].title isEqualToString:@"\U0001F4A1 SDR Mode"]);
  EXPECT_EQ([native itemAtIndex:0].action, nullptr);
  EXPECT_TRUE([[native itemAtIndex:1] isSeparatorItem]);
  NSMenuItem *toggleItem = [native itemAtIndex:2];
  EXPECT_EQ(toggleItem.action, @selector(performMenuAction:));
  EXPECT_TRUE([toggleItem.representedObject isEqual:@"toggleXDR"]);
  EXPECT_EQ(toggleItem.target, target);
  EXPECT_TRUE([toggleItem.keyEquivalent isEqualToString:@"x"]);
  EXPECT_TRUE([target respondsToSelector:toggleItem.action]);
  NSMenuItem *mediumItem = [[native itemAtIndex:3].submenu itemAtIndex:0];
  EXPECT_EQ(mediumItem.tag, 2);
  EXPECT_EQ(mediumItem.state, NSControlStateValueOn);
  EXPECT_TRUE([mediumItem.representedObject isEqual:@"setDeepBlacksLevel:"]);
}

TEST(MacWindowsTest, AWindowIsNeverReleasedWhenClosedAndItsViewsFollowTheValue) {
  MacWindows windows;
  const auto window =
      windows.makeWindow({0, 0, 420, 280}, 3, platform::BackingStore::buffered, false);
  NSWindow *native = static_cast<MacWindow &>(*window).window();
  EXPECT_FALSE(native.releasedWhenClosed);
  EXPECT_EQ(native.styleMask, NSWindowStyleMaskTitled | NSWindowStyleMaskClosable);
  EXPECT_EQ(window->contentViewBounds(), (platform::Rect{0, 0, 420, 280}));

  platform::View content;
  content.frame = {0, 0, 420, 280};
  content.wantsLayer = true;
  platform::View label;
  label.kind = platform::View::Kind::label;
  label.frame = {20, 55, 380, 20};
  label.text = "About";
  label.font = platform::Font{.bold = true, .size = 13};
  content.subviews.push_back(label);
  window->setContentView(content);
  NSView *view = native.contentView;
  EXPECT_TRUE(view.wantsLayer);
  ASSERT_EQ(view.subviews.count, 1u);
  NSTextField *field = view.subviews.firstObject;
  EXPECT_TRUE([field.stringValue isEqualToString:@"About"]);
  EXPECT_FALSE([field isEditable]);
  EXPECT_EQ(field.font.pointSize, 13.0);
}

TEST(MacUserDefaultsTest, ValuesComeBackWithTheirTypes) {
  MacUserDefaults defaults;
  defaults.setBool("lumoraTestFlag", true);
  defaults.setInteger("lumoraTestLevel", -1);
  defaults.setDouble("lumoraTestNits", 1234.7);
  EXPECT_TRUE(defaults.boolForKey("lumoraTestFlag"));
  EXPECT_EQ(defaults.integerForKey("lumoraTestLevel"), -1);
  EXPECT_EQ(defaults.doubleForKey("lumoraTestNits"), 1234.7);
  EXPECT_FALSE(defaults.boolForKey("lumoraTestNeverWritten"));
  for (NSString *key in @[ @"lumoraTestFlag", @"lumoraTestLevel", @"lumoraTestNits" ]) {
    [NSUserDefaults.standardUserDefaults removeObjectForKey:key];
  }
}

}  // namespace
}  // namespace lumora::macos
