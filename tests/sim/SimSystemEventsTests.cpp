// The simulated Mac's sleep, wake and display changes, as macOS has them.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/FakeConsole.h"
#include "platform/sim/SimSystemEvents.h"
#include "platform/sim/machine/SimDisplayState.h"
#include "support/TempDirectory.h"

namespace lumora::sim {
namespace {

using testing::readText;
using testing::writeText;

class SimSystemEventsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    events_.observe(platform::SystemEventHandlers{
        .willSleep = [this] { heard_.push_back("willSleep"); },
        .didWake = [this] { heard_.push_back("didWake"); },
        .screensDidSleep = [this] { heard_.push_back("screensDidSleep"); },
        .screensDidWake = [this] { heard_.push_back("screensDidWake"); },
        .displaysReconfigured = [this] { heard_.push_back("displaysReconfigured"); },
        .activeSpaceChanged = [this] { heard_.push_back("activeSpaceChanged"); },
        .screenLocked = [this] { heard_.push_back("screenLocked"); },
        .screenUnlocked = [this] { heard_.push_back("screenUnlocked"); },
    });
    main_ = state_.mainDisplayID();
    table_ = {0.0f, 0.4f, 1.0f};
  }
  // The factory display's entry with `key` set to true.
  void flag(const std::string& key) {
    std::string text = readText(temp_ / "display.plist");
    const std::string anchor = "<key>DisplayID</key>";
    text.insert(text.find(anchor), "<key>" + key + "</key><true/>");
    writeText(temp_ / "display.plist", text);
  }
  void raise() {
    PlistPtr preset = state_.copyPreset(main_, 0);
    setDictItem(preset.get(), "PresetWritable", makeInteger(1));
    ASSERT_EQ(state_.setPreset(main_, 11, preset.get()), SimDisplayState::success);
    ASSERT_EQ(state_.setActivePresetIndex(main_, 11), SimDisplayState::success);
  }

  testing::TempDirectory temp_;
  testing::FakeConsole console_;
  SimDisplayState state_{temp_ / "display.plist", console_};
  SimSystemEvents events_{state_};
  std::vector<std::string> heard_;
  platform::DisplayID main_ = 0;
  std::vector<float> table_;
};

TEST_F(SimSystemEventsTest, SleepAndWakeDropTheTablesAndResetThePresetOfDisplaysThatDoSo) {
  raise();
  ASSERT_EQ(state_.setTransferTables(main_, table_, table_, table_), SimDisplayState::success);
  events_.sleep();
  EXPECT_EQ(heard_, (std::vector<std::string>{"willSleep", "screensDidSleep"}));
  EXPECT_FALSE(state_.transferTables(main_)) << "asleep, the calibration is restored";
  ASSERT_EQ(state_.setTransferTables(main_, table_, table_, table_), SimDisplayState::success);
  events_.wake();
  EXPECT_EQ(heard_, (std::vector<std::string>{"willSleep", "screensDidSleep", "didWake",
                                               "screensDidWake"}));
  EXPECT_FALSE(state_.transferTables(main_)) << "and again at wake";
  EXPECT_EQ(state_.activePresetIndex(main_), 11) << "this display keeps its preset";

  flag("ResetsPresetOnWake");
  events_.sleep();
  events_.wake();
  EXPECT_EQ(state_.activePresetIndex(main_), 0);
  events_.wake();
  EXPECT_EQ(heard_.size(), 8u) << "waking an awake Mac does nothing";
}

TEST_F(SimSystemEventsTest, AnOutsideChangeOfTheScreensIsAReconfiguration) {
  events_.checkDisplays();
  ASSERT_EQ(state_.setTransferTables(main_, table_, table_, table_), SimDisplayState::success);
  raise();
  events_.checkDisplays();
  EXPECT_TRUE(heard_.empty()) << "the app's own changes are not one";

  std::string text = readText(temp_ / "display.plist");
  const std::string screen = "<key>MainScreenDisplayID</key>\n\t<integer>" + std::to_string(main_);
  ASSERT_NE(text.find(screen), std::string::npos);
  text.replace(text.find(screen), screen.size(), "<key>MainScreenDisplayID</key>\n\t<integer>7");
  writeText(temp_ / "display.plist", text);
  events_.checkDisplays();
  EXPECT_EQ(heard_, std::vector<std::string>{"displaysReconfigured"});
  EXPECT_FALSE(state_.transferTables(main_)) << "the calibration is restored";
  events_.checkDisplays();
  EXPECT_EQ(heard_.size(), 1u);
}

TEST_F(SimSystemEventsTest, ADisplayThatRefusesPresetsKeepsTheStandardOne) {
  flag("RefusesPresets");
  PlistPtr preset = state_.copyPreset(main_, 0);
  setDictItem(preset.get(), "PresetWritable", makeInteger(1));
  EXPECT_NE(state_.setPreset(main_, 11, preset.get()), SimDisplayState::success);
  EXPECT_NE(state_.setActivePresetIndex(main_, 1), SimDisplayState::success);
  EXPECT_EQ(state_.setActivePresetIndex(main_, 0), SimDisplayState::success);
  EXPECT_EQ(state_.activePresetIndex(main_), 0);
  EXPECT_EQ(state_.copyPreset(main_, 11), nullptr);
}

}  // namespace
}  // namespace lumora::sim
