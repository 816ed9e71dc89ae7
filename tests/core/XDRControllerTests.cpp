#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <limits>
#include <regex>
#include <set>
#include <string>
#include <thread>

#include "display/Nits.h"
#include "display/XDRController.h"
#include "fakes/FakeClock.h"
#include "fakes/FakePlatform.h"

namespace lumora {
namespace {

using testing::FakePlatform;
using testing::FakeValue;
using testing::FakeValues;

class XDRControllerTest : public ::testing::Test {
 protected:
  XDRController& controller() {
    if (!controller_) {
      controller_ =
          std::make_unique<XDRController>(fake_.platform, tables_, trail_, clock_.function());
    }
    return *controller_;
  }
  FakeValues& slot11() { return fake_.windowServer.presets[fake_.displays.mainDisplay][11]; }
  static std::string text(const FakeValues& values, const std::string& key) {
    return std::get<std::string>(values.at(key));
  }

  FakePlatform fake_;
  testing::FakeClock clock_;
  TransferTables tables_{fake_.displays, fake_.displays.mainDisplay};
  EventTrail trail_{clock_.function()};
  std::unique_ptr<XDRController> controller_;
};

TEST_F(XDRControllerTest, WritesTheNineKeysIntoSlotElevenAndMakesItActive) {
  controller().setXDRBrightness(1000.0);

  ASSERT_EQ(fake_.windowServer.writes.size(), 1u);
  const auto& write = fake_.windowServer.writes.front();
  EXPECT_EQ(write.index, 11);
  EXPECT_EQ(write.setOrder,
            (std::vector<std::string>{"PresetName", "PresetDescription", "PresetMaxSDRLuminance",
                                      "PresetMaxHDRLuminance", "PresetHostMaxSliderBrightness",
                                      "PresetHostDisableEDR", "PresetWritable", "PresetValid",
                                      "PresetUniqueID"}));
  const FakeValues& preset = write.values;
  EXPECT_EQ(preset.at("PresetName"), FakeValue(std::string("Lumora XDR (1000 nits)")));
  EXPECT_EQ(preset.at("PresetDescription"),
            FakeValue(std::string("XDR brightness by Lumora Virir")));
  EXPECT_EQ(preset.at("PresetMaxSDRLuminance"), FakeValue(1000.0));
  EXPECT_EQ(preset.at("PresetMaxHDRLuminance"), FakeValue(1600.0));
  EXPECT_EQ(preset.at("PresetHostMaxSliderBrightness"), FakeValue(1000.0));
  // Integers, not booleans, even where the standard preset holds booleans.
  EXPECT_EQ(preset.at("PresetHostDisableEDR"), FakeValue(std::int64_t{0}));
  EXPECT_EQ(preset.at("PresetWritable"), FakeValue(std::int64_t{1}));
  EXPECT_EQ(preset.at("PresetValid"), FakeValue(std::int64_t{1}));

  EXPECT_EQ(fake_.activeIndex(), 11);
  EXPECT_DOUBLE_EQ(controller().getPresetMaxNits(), 1000.0);
  EXPECT_TRUE(controller().isXDREnabled());
}

TEST_F(XDRControllerTest, KeepsEveryOtherKeyOfTheStandardPresetWithItsType) {
  controller().setXDRBrightness(1250.0);

  const FakeValues standard = testing::FakeWindowServer::standardPreset();
  const FakeValues& written = slot11();
  const std::set<std::string> replaced{"PresetName",
                                       "PresetDescription",
                                       "PresetMaxSDRLuminance",
                                       "PresetMaxHDRLuminance",
                                       "PresetHostMaxSliderBrightness",
                                       "PresetHostDisableEDR",
                                       "PresetWritable",
                                       "PresetValid",
                                       "PresetUniqueID"};
  for (const auto& [key, value] : standard) {
    if (replaced.contains(key)) continue;
    ASSERT_TRUE(written.contains(key)) << key;
    EXPECT_EQ(written.at(key), value) << key;
  }
  EXPECT_EQ(written.size(), standard.size() + 1);  // PresetHostDisableEDR is new
}

TEST_F(XDRControllerTest, ClampsRequestsToTheRangeAndNamesThePresetByTheWholeLevel) {
  struct Case {
    double requested;
    double written;
    const char* name;
  };
  const double infinity = std::numeric_limits<double>::infinity();
  for (const Case& c :
       {Case{2000.0, 1600.0, "Lumora XDR (1600 nits)"}, Case{300.0, 500.0, "Lumora XDR (500 nits)"},
        Case{std::nan(""), 500.0, "Lumora XDR (500 nits)"},
        Case{-infinity, 500.0, "Lumora XDR (500 nits)"},
        Case{infinity, 1600.0, "Lumora XDR (1600 nits)"},
        Case{1234.7, 1234.7, "Lumora XDR (1234 nits)"},
        Case{500.9, 500.9, "Lumora XDR (500 nits)"}}) {
    controller().setXDRBrightness(c.requested);
    const FakeValues& preset = slot11();
    EXPECT_EQ(text(preset, "PresetName"), c.name) << c.requested;
    EXPECT_EQ(preset.at("PresetMaxSDRLuminance"), FakeValue(c.written)) << c.requested;
    EXPECT_EQ(preset.at("PresetHostMaxSliderBrightness"), FakeValue(c.written)) << c.requested;
  }
}

TEST_F(XDRControllerTest, ALevelAtTheCeilingLeavesSlotElevenActiveButXDROff) {
  controller().setXDRBrightness(300.0);

  EXPECT_EQ(fake_.activeIndex(), 11);
  EXPECT_DOUBLE_EQ(controller().getPresetMaxNits(), 500.0);
  EXPECT_FALSE(controller().isXDREnabled());
}

TEST_F(XDRControllerTest, EachWriteCarriesAFreshCanonicalUUID) {
  const std::regex canonical("[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}");
  std::set<std::string> seen;
  for (int i = 0; i < 3; ++i) {
    controller().setXDRBrightness(1000.0);
    const auto& bytes = std::get<std::vector<std::uint8_t>>(slot11().at("PresetUniqueID"));
    const std::string uuid(bytes.begin(), bytes.end());
    EXPECT_EQ(uuid.size(), 36u);
    EXPECT_TRUE(std::regex_match(uuid, canonical)) << uuid;
    seen.insert(uuid);
  }
  EXPECT_EQ(seen.size(), 3u);
}

TEST_F(XDRControllerTest, WritesNothingWhenTheStandardPresetCannotBeCopied) {
  fake_.setActiveCeiling(900.0, 4);
  fake_.windowServer.presets[fake_.displays.mainDisplay].erase(0);
  controller().setXDRBrightness(1000.0);
  EXPECT_TRUE(fake_.windowServer.writes.empty());
  EXPECT_TRUE(fake_.windowServer.activations.empty());
  EXPECT_EQ(fake_.activeIndex(), 4);

  fake_.windowServer.presets[fake_.displays.mainDisplay][0] =
      testing::FakeWindowServer::standardPreset();
  fake_.windowServer.mutableCopyFails = true;
  controller().setXDRBrightness(1000.0);
  EXPECT_TRUE(fake_.windowServer.writes.empty());
  EXPECT_EQ(fake_.activeIndex(), 4);
}

TEST_F(XDRControllerTest, AlwaysCopiesTheStandardPresetNeverTheActiveOne) {
  fake_.setActiveCeiling(900.0);
  slot11()["Marker"] = std::string("from slot 11");
  controller().setXDRBrightness(1250.0);
  EXPECT_FALSE(slot11().contains("Marker"));
  EXPECT_EQ(fake_.windowServer.copies.front().second, 0);
}

TEST_F(XDRControllerTest, APresetTheSystemDoesNotTakeGoesThroughHeadroomAtTheSameLevel) {
  // The write refused, with an older slot 11 that activation would bring back, or with none, so
  // that activation fails too.
  for (const bool olderSlot : {true, false}) {
    FakePlatform fake;
    testing::FakeClock clock;
    TransferTables tables(fake.displays, fake.displays.mainDisplay);
    fake.extendedDynamicRange.headroom[fake.displays.mainDisplay] = 3.2;
    if (olderSlot) fake.setActiveCeiling(900.0);
    fake.windowServer.setPresetStatus = 1001;
    EventTrail trail(clock.function());
    XDRController xdr(fake.platform, tables, trail, clock.function());
    xdr.setXDRBrightness(1250.0);

    EXPECT_EQ(fake.activeIndex(), 0) << olderSlot;
    EXPECT_EQ(xdr.method(), XDRController::Method::headroom);
    EXPECT_DOUBLE_EQ(xdr.currentNits(), 1250.0);
    EXPECT_FLOAT_EQ(fake.displays.peakInForce(fake.displays.mainDisplay), 2.5f);
    ASSERT_EQ(fake.console.errors.size(), 1u);
    EXPECT_NE(fake.console.errors[0].find("did not take"), std::string::npos);
    EXPECT_EQ(fake.mainQueue.drain(), 0) << "no alert: the feature still works";

    // Presets are not tried again in this run.
    const std::size_t writes = fake.windowServer.writes.size();
    xdr.setXDRBrightness(1600.0);
    EXPECT_EQ(fake.windowServer.writes.size(), writes);
    EXPECT_FLOAT_EQ(fake.displays.peakInForce(fake.displays.mainDisplay), 3.2f);
    EXPECT_EQ(fake.console.errors.size(), 1u);
  }
  // A write the system takes says nothing.
  controller().setXDRBrightness(1250.0);
  EXPECT_EQ(fake_.activeIndex(), 11);
  EXPECT_TRUE(fake_.mainQueue.pending.empty());
  EXPECT_TRUE(fake_.console.errors.empty());
}

TEST_F(XDRControllerTest, ReadsTheCeilingOfTheActivePreset) {
  EXPECT_DOUBLE_EQ(controller().getPresetMaxNits(), 500.0);
  EXPECT_TRUE(fake_.windowServer.copies.empty()) << "preset 0 active: no preset is read";

  struct Case {
    FakeValue ceiling;
    double reading;
  };
  for (const Case& c :
       {Case{1800.0, 1800.0}, Case{std::int64_t{900}, 900.0}, Case{std::string("1000"), 500.0},
        Case{true, 500.0}, Case{0.0, 500.0}, Case{-20.0, 500.0}, Case{std::nan(""), 500.0}}) {
    fake_.setActiveCeiling(0.0, 6);
    fake_.windowServer.presets[fake_.displays.mainDisplay][6]["PresetMaxSDRLuminance"] = c.ceiling;
    EXPECT_DOUBLE_EQ(controller().getPresetMaxNits(), c.reading);
  }

  fake_.windowServer.presets[fake_.displays.mainDisplay][6].erase("PresetMaxSDRLuminance");
  EXPECT_DOUBLE_EQ(controller().getPresetMaxNits(), 500.0);
  fake_.windowServer.presets[fake_.displays.mainDisplay].erase(6);
  EXPECT_DOUBLE_EQ(controller().getPresetMaxNits(), 500.0);
}

TEST_F(XDRControllerTest, DisableActivatesTheStandardPresetEvenWhenItIsActive) {
  controller().disableXDR();
  controller().disableXDR();
  EXPECT_EQ(fake_.windowServer.activations,
            (std::vector<std::pair<platform::DisplayID, std::int32_t>>{{7, 0}, {7, 0}}));
}

TEST_F(XDRControllerTest, LooksUpTheMainDisplayAfreshForEveryCall) {
  controller().setXDRBrightness(1000.0);
  fake_.displays.mainDisplay = 9;
  fake_.windowServer.presets[9][0] = testing::FakeWindowServer::standardPreset();
  fake_.windowServer.activeIndex[9] = 0;
  controller().setXDRBrightness(1250.0);
  controller().disableXDR();

  EXPECT_EQ(fake_.windowServer.writes.back().display, 9u);
  EXPECT_EQ(fake_.windowServer.activations.back(),
            (std::pair<platform::DisplayID, std::int32_t>{9, 0}));
  EXPECT_EQ(fake_.activeIndex(), 0);
  EXPECT_EQ(fake_.windowServer.activeIndex[7], 11) << "the former main display keeps its preset";
}

TEST_F(XDRControllerTest, WithoutTheFrameworkItCallsNoPresetFunctionAndSaysWhy) {
  fake_.setActiveCeiling(1000.0);
  fake_.windowServer.openError = "image not found";

  controller().setXDRBrightness(1250.0);
  controller().disableXDR();
  controller().disableXDRForExit();

  EXPECT_DOUBLE_EQ(controller().getPresetMaxNits(), 500.0);
  EXPECT_TRUE(fake_.log.matching("windowServer.").empty());
  ASSERT_EQ(fake_.console.errors.size(), 1u);
  EXPECT_NE(fake_.console.errors.front().find("image not found"), std::string::npos);
}

TEST_F(XDRControllerTest, WithOneFunctionMissingItCallsNoneOfThem) {
  fake_.setActiveCeiling(1000.0);
  fake_.windowServer.missingNames = {"SLSDisplaySetPresetData"};

  controller().setXDRBrightness(1250.0);
  controller().disableXDR();

  EXPECT_DOUBLE_EQ(controller().getPresetMaxNits(), 500.0);
  EXPECT_TRUE(fake_.log.matching("windowServer.").empty());
  ASSERT_EQ(fake_.console.errors.size(), 1u);
  EXPECT_NE(fake_.console.errors.front().find("SLSDisplaySetPresetData"), std::string::npos);
}

TEST_F(XDRControllerTest, NothingChangesTheDisplayOnceTheExitPathHasRestoredIt) {
  controller().setXDRBrightness(1000.0);
  controller().disableXDRForExit();
  controller().setXDRBrightness(1600.0);
  controller().disableXDR();

  EXPECT_EQ(fake_.activeIndex(), 0);
  EXPECT_EQ(fake_.windowServer.writes.size(), 1u);
  EXPECT_EQ(fake_.windowServer.activations.size(), 2u);
}

TEST_F(XDRControllerTest, TheExitPathWinsAgainstWritesInProgressOnAnotherThread) {
  XDRController& xdr = controller();
  std::atomic<bool> exited{false};
  std::atomic<int> writesMade{0};
  std::thread writer([&] {
    while (!exited) {
      xdr.setXDRBrightness(1250.0);
      ++writesMade;
    }
    xdr.setXDRBrightness(1250.0);
  });
  while (writesMade < 3)
    std::this_thread::yield();
  xdr.disableXDRForExit();
  exited = true;
  writer.join();
  EXPECT_EQ(fake_.activeIndex(), 0);
}

TEST(NitsTest, TruncatesOnlyValuesThatFit) {
  EXPECT_EQ(truncatedToInteger(1234.7), 1234);
  EXPECT_EQ(truncatedToInteger(-0.9), 0);
  EXPECT_EQ(truncatedToInteger(-9223372036854775808.0), std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(truncatedToInteger(9223372036854775808.0), std::nullopt);
  EXPECT_EQ(truncatedToInteger(1e300), std::nullopt);
  EXPECT_EQ(truncatedToInteger(std::numeric_limits<double>::infinity()), std::nullopt);
  EXPECT_EQ(truncatedToInteger(std::nan("")), std::nullopt);
  EXPECT_EQ(truncatedToInteger(9223372036854774784.0), 9223372036854774784);
}

}  // namespace
}  // namespace lumora
