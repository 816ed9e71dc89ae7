// The window server's framework on a real Mac, and the Core Foundation work of its presets.

#import <CoreFoundation/CoreFoundation.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>

#include "display/XDRController.h"
#include "platform/macos/MacPresetDictionary.h"
#include "platform/macos/MacWindowServer.h"

namespace lumora::macos {
namespace {

// Only looks the functions up: none is called, so no display changes.
TEST(MacWindowServerTest, TheFrameworkTheControllerOpensExportsItsFourPresetFunctions) {
  MacWindowServer windowServer;
  const platform::OpenedPresetFunctions opened =
      windowServer.openPresetFunctions(XDRController::frameworkPath, XDRController::functionNames);
  ASSERT_EQ(opened.openError, "");
  const platform::PresetFunctionNames &names = XDRController::functionNames;
  EXPECT_TRUE(opened.functions.getActivePresetIndex) << names.getActivePresetIndex;
  EXPECT_TRUE(opened.functions.setActivePresetIndex) << names.setActivePresetIndex;
  EXPECT_TRUE(opened.functions.copyPresetData) << names.copyPresetData;
  EXPECT_TRUE(opened.functions.setPresetData) << names.setPresetData;
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
  EXPECT_FALSE(opened.functions.setActivePresetIndex);
  EXPECT_FALSE(opened.functions.copyPresetData);
  EXPECT_FALSE(opened.functions.setPresetData);
}

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

}  // namespace
}  // namespace lumora::macos
