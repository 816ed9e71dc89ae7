// The app's XDR controller against the simulated window server and its file.

#include <gtest/gtest.h>

#include "display/SharedControllers.h"
#include "fakes/FakeConsole.h"
#include "platform/sim/SimDisplays.h"
#include "platform/sim/SimMac.h"
#include "platform/sim/SimWindowServer.h"
#include "platform/sim/machine/SimDisplayState.h"
#include "support/TempDirectory.h"

namespace lumora::sim {
namespace {

class SimWindowServerTest : public ::testing::Test {
 protected:
  testing::TempDirectory temp_;
  testing::FakeConsole console_;
  SimDisplayState state_{temp_ / "display.plist", console_};
  SimDisplays displays_{state_};
  SimWindowServer windowServer_{state_};
};

TEST_F(SimWindowServerTest, FindsTheFourFunctionsOnlyAtTheRealPathAndNames) {
  const auto opened =
      windowServer_.openPresetFunctions(XDRController::frameworkPath, XDRController::functionNames);
  EXPECT_TRUE(opened.openError.empty());
  EXPECT_TRUE(opened.functions.getActivePresetIndex && opened.functions.setActivePresetIndex &&
              opened.functions.copyPresetData && opened.functions.setPresetData);

  const auto elsewhere =
      windowServer_.openPresetFunctions("/System/Library/SkyLight", XDRController::functionNames);
  EXPECT_FALSE(elsewhere.openError.empty());

  platform::PresetFunctionNames misspelt = XDRController::functionNames;
  misspelt.copyPresetData = "SLSDisplayCopyPresetDictionary";
  const auto partial = windowServer_.openPresetFunctions(XDRController::frameworkPath, misspelt);
  EXPECT_FALSE(partial.functions.copyPresetData);
  EXPECT_TRUE(partial.functions.setPresetData);
}

TEST(SimulatedMacXDRTest, TheControllerWritesSlotElevenWithTheStandardPresetsOtherKeys) {
  testing::TempDirectory temp;
  SimMac mac(SimPaths{.displayStateFile = temp / "display.plist",
                      .defaultsFile = temp / "defaults.plist",
                      .autostartDirectory = temp / "autostart",
                      .program = "lumora-virir"});
  SimDisplayState& state = mac.displayState;
  SharedControllers controllers(mac.platform);
  XDRController& xdr = controllers.xdr();
  xdr.setXDRBrightness(1250.0);
  mac.loop.finishPass();

  const platform::DisplayID display = state.mainDisplayID();
  EXPECT_EQ(state.activePresetIndex(display), 11);
  EXPECT_DOUBLE_EQ(xdr.getPresetMaxNits(), 1250.0);
  const PlistPtr slot = state.copyPreset(display, 11);
  const PlistPtr standard = state.copyPreset(display, 0);
  EXPECT_EQ(stringValue(dictItem(slot.get(), "PresetName")), "Lumora XDR (1250 nits)");
  EXPECT_EQ(integerValue(dictItem(slot.get(), "PresetWritable")), 1);
  EXPECT_EQ(dataValue(dictItem(slot.get(), "PresetUniqueID"))->size(), 36u);
  for (const char* key :
       {"PresetColorGamut", "PresetWhitePoint", "PresetBrightnessSteps", "PresetCalibrationData",
        "PresetAmbientAdaptation", "PresetReferenceBrightness", "PresetIndex"}) {
    const plist_t original = dictItem(standard.get(), key);
    const plist_t carried = dictItem(slot.get(), key);
    ASSERT_NE(carried, nullptr) << key;
    EXPECT_EQ(plist_get_node_type(carried), plist_get_node_type(original)) << key;
    EXPECT_EQ(toXml(carried), toXml(original)) << key;
  }

  xdr.disableXDR();
  EXPECT_EQ(state.activePresetIndex(display), 0);
  EXPECT_NE(state.copyPreset(display, 11), nullptr) << "slot 11 is left as it is";
}

}  // namespace
}  // namespace lumora::sim
