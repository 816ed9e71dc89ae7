// The menu's brightness slider: the entry the menu builds, where a value lands, what moving it
// applies and stores by either method, and how a drag is followed.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/AppDelegate.h"
#include "fakes/FakeClock.h"
#include "fakes/FakePlatform.h"
#include "support/MenuEntries.h"
#include "ui/BrightnessSlider.h"

namespace lumora {
namespace {

using platform::SliderMotion;
using testing::entrySending;

class BrightnessSliderTest : public ::testing::Test {
 protected:
  void launch() {
    delegate_ = AppDelegate::create(fake_.platform, controllers_);
    delegate_->applicationDidFinishLaunching();
  }
  void slide(double value, SliderMotion motion = SliderMotion::released) {
    delegate_->performMenuAction("slideNits:",
                                 platform::MenuItemSender{.value = value, .motion = motion});
  }
  const platform::Menu& menu() const { return *fake_.statusBar.lastItem->menu; }
  const platform::MenuItem& sliderEntry() const { return entrySending(menu(), "slideNits:"); }
  std::vector<std::string> markedLevels() const {
    std::vector<std::string> marked;
    for (const platform::MenuItem& item : menu().items) {
      if (item.tag >= 500 && item.state == platform::ControlState::on) marked.push_back(item.title);
    }
    return marked;
  }
  std::optional<double> lastNits() const {
    const auto found = fake_.userDefaults.values.find("lastNitsValue");
    if (found == fake_.userDefaults.values.end()) return std::nullopt;
    return std::get<double>(found->second);
  }

  testing::FakePlatform fake_;
  testing::FakeClock clock_;
  SharedControllers controllers_{fake_.platform, clock_.function()};
  std::shared_ptr<AppDelegate> delegate_;
};

TEST_F(BrightnessSliderTest, TheEntryFollowsTheLiveLevelWithAStopAtEachLevel) {
  launch();
  const platform::MenuItem& sdr = sliderEntry();
  EXPECT_EQ(sdr.title, "Brightness: 500 nits (SDR)");
  ASSERT_TRUE(sdr.slider);
  EXPECT_EQ(sdr.slider->minimum, 500.0);
  EXPECT_EQ(sdr.slider->maximum, 1600.0);
  EXPECT_EQ(sdr.slider->value, 500.0);
  EXPECT_EQ(sdr.slider->stops, (std::vector<double>{500.0, 800.0, 1000.0, 1250.0, 1600.0}));
  EXPECT_EQ(sdr.slider->valueLabel, "500 nits");
  EXPECT_EQ(&sdr, &menu().items[7]) << "right after the five levels";

  // Set by someone else: the next menu reads it back, as every other entry does.
  fake_.setActiveCeiling(1370.0);
  fake_.windowServer.activeIndex[fake_.displays.mainDisplay] = 11;
  delegate_->rebuildMenu();
  EXPECT_EQ(sliderEntry().title, "Brightness: 1370 nits");
  EXPECT_EQ(sliderEntry().slider->value, 1370.0);
  EXPECT_EQ(sliderEntry().slider->valueLabel, "1370 nits");
}

TEST_F(BrightnessSliderTest, AValueWithinReachOfAStopLandsOnIt) {
  struct Case {
    double value;
    double level;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (const Case& c :
       {Case{520.0, 500.0}, Case{525.0, 500.0}, Case{526.0, 526.0}, Case{774.0, 774.0},
        Case{775.0, 800.0}, Case{825.0, 800.0}, Case{826.0, 826.0}, Case{1010.0, 1000.0},
        Case{1100.0, 1100.0}, Case{1224.9, 1224.9}, Case{1225.0, 1250.0}, Case{1275.0, 1250.0},
        Case{1275.1, 1275.1}, Case{1575.0, 1600.0}, Case{1574.0, 1574.0}, Case{400.0, 500.0},
        Case{1700.0, 1600.0}, Case{nan, 500.0}}) {
    EXPECT_EQ(ui::sliderLevel(c.value), c.level) << c.value;
  }
}

TEST_F(BrightnessSliderTest, ALevelBetweenTheEntriesIsAppliedAndStoredByPresets) {
  launch();
  slide(1100.0);
  EXPECT_EQ(fake_.activeIndex(), 11);
  ASSERT_FALSE(fake_.windowServer.writes.empty());
  const testing::FakeValues written = fake_.windowServer.writes.back().values;
  EXPECT_EQ(written.at("PresetMaxSDRLuminance"), testing::FakeValue(1100.0));
  EXPECT_EQ(written.at("PresetName"), testing::FakeValue(std::string("Lumora XDR (1100 nits)")));
  EXPECT_EQ(lastNits(), 1100.0);
  EXPECT_EQ(menu().items.front().title, "\u2600\uFE0F XDR Enabled (220%)");
  EXPECT_TRUE(markedLevels().empty());
  EXPECT_EQ(sliderEntry().slider->value, 1100.0);

  slide(1260.0);
  EXPECT_EQ(fake_.windowServer.writes.back().values.at("PresetMaxSDRLuminance"),
            testing::FakeValue(1250.0));
  EXPECT_EQ(lastNits(), 1250.0);
  EXPECT_EQ(markedLevels(), std::vector<std::string>{"250% \u2013 1250 nits"});

  // A key's step from a stop is not pulled back onto it.
  slide(1240.0, SliderMotion::stepped);
  EXPECT_EQ(lastNits(), 1240.0);
  EXPECT_EQ(sliderEntry().slider->value, 1240.0);
}

TEST_F(BrightnessSliderTest, ALevelBetweenTheEntriesScalesTheHeadroomTable) {
  fake_.operatingSystem.release = {26, 4, 0};
  fake_.extendedDynamicRange.headroom[fake_.displays.mainDisplay] = 3.2;
  launch();
  slide(1100.0);
  // The headroom comes after its wait; the table follows it.
  clock_.advance(std::chrono::seconds(1));
  fake_.timers.fireAll();
  EXPECT_EQ(controllers_.xdr().method(), XDRController::Method::headroom);
  EXPECT_FLOAT_EQ(fake_.displays.peakInForce(fake_.displays.mainDisplay), 2.2f);
  EXPECT_EQ(lastNits(), 1100.0);
  EXPECT_EQ(menu().items.front().title, "\u2600\uFE0F XDR Enabled (220%)");
}

TEST_F(BrightnessSliderTest, TheSDREndTurnsXDROffAndKeepsTheRememberedLevel) {
  launch();
  slide(1250.0);
  slide(515.0);
  EXPECT_EQ(fake_.activeIndex(), 0);
  EXPECT_EQ(lastNits(), 1250.0);
  EXPECT_EQ(sliderEntry().title, "Brightness: 500 nits (SDR)");
  EXPECT_EQ(menu().items.front().title, "\U0001F4A1 SDR Mode");
}

TEST_F(BrightnessSliderTest, ADragIsFollowedTenTimesASecondAndStoredOnceWhereItIsLetGo) {
  launch();
  fake_.log.clear();
  const int writesBefore = fake_.userDefaults.writeCount;
  // Thirty moves in a second, from 600 up by 30 nits each; the last is where it is let go.
  for (int move = 0; move < 30; ++move) {
    const bool last = move == 29;
    slide(600.0 + 30.0 * move, last ? SliderMotion::released : SliderMotion::dragged);
    if (!last) clock_.advance(std::chrono::duration<double>(1.0 / 30.0));
  }
  EXPECT_LE(fake_.log.count("windowServer.setActive 11"), 10);
  EXPECT_GE(fake_.log.count("windowServer.setActive 11"), 5) << "the display follows the drag";
  EXPECT_EQ(fake_.windowServer.writes.back().values.at("PresetMaxSDRLuminance"),
            testing::FakeValue(1470.0));
  EXPECT_EQ(fake_.userDefaults.writeCount - writesBefore, 1);
  EXPECT_EQ(lastNits(), 1470.0);

  // The next drag starts afresh: its first value waits a tenth of a second.
  fake_.log.clear();
  clock_.advance(std::chrono::seconds(5));
  slide(900.0, SliderMotion::dragged);
  EXPECT_EQ(fake_.log.count("windowServer.setActive 11"), 0);
  clock_.advance(std::chrono::milliseconds(100));
  slide(950.0, SliderMotion::dragged);
  EXPECT_EQ(fake_.log.count("windowServer.setActive 11"), 1);
  EXPECT_EQ(lastNits(), 1470.0) << "nothing stored while it is held";
}

TEST_F(BrightnessSliderTest, MovingItWhilePausedHoldsAsAnyLevelPicked) {
  fake_.power.change(platform::PowerState{.hasBattery = true,
                                          .onBattery = false,
                                          .batteryPercent = 100,
                                          .thermalState = platform::ThermalState::nominal});
  launch();
  slide(1250.0);
  fake_.power.change(platform::PowerState{.hasBattery = true,
                                          .onBattery = true,
                                          .batteryPercent = 10,
                                          .thermalState = platform::ThermalState::nominal});
  ASSERT_TRUE(controllers_.pause().isPaused());
  slide(1100.0);
  EXPECT_FALSE(controllers_.pause().isPaused());
  EXPECT_DOUBLE_EQ(controllers_.xdr().currentNits(), 1100.0);
}

}  // namespace
}  // namespace lumora
