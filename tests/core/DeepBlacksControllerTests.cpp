#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "display/DeepBlacksController.h"
#include "fakes/FakePlatform.h"

namespace lumora {
namespace {

using Level = DeepBlacksController::Level;
using testing::FakePlatform;

class DeepBlacksTest : public ::testing::Test {
 protected:
  DeepBlacksController& controller() {
    if (!controller_) {
      controller_ = std::make_unique<DeepBlacksController>(fake_.userDefaults, fake_.displays,
                                                           tables_, fake_.mainQueue, fake_.alerts,
                                                           fake_.console, trail_);
    }
    return *controller_;
  }
  bool stored(const std::string& key) const { return fake_.userDefaults.values.contains(key); }
  template <typename T>
  T storedValue(const std::string& key) const {
    return std::get<T>(fake_.userDefaults.values.at(key));
  }

  FakePlatform fake_;
  TransferTables tables_{fake_.displays, fake_.displays.mainDisplay};
  EventTrail trail_{&std::chrono::steady_clock::now};
  std::unique_ptr<DeepBlacksController> controller_;
};

TEST(DeepBlacksTableTest, RunsFromBlackToWhiteThroughThePinnedValues) {
  for (const float exponent : DeepBlacksController::gammaExponents) {
    const DeepBlacksController::TransferTable table = DeepBlacksController::transferTable(exponent);
    EXPECT_EQ(table.front(), 0.0f);
    EXPECT_EQ(table.back(), 1.0f);
  }
  const auto at = [](float exponent, std::size_t i) {
    return DeepBlacksController::transferTable(exponent)[i];
  };
  EXPECT_NEAR(at(1.1f, 1), 0.002253, 5e-7);
  EXPECT_NEAR(at(1.1f, 128), 0.468529, 5e-7);
  EXPECT_NEAR(at(1.1f, 254), 0.995687, 5e-7);
  EXPECT_NEAR(at(1.2f, 128), 0.437324, 5e-7);
  EXPECT_NEAR(at(1.3f, 64), 0.165780, 5e-7);
  EXPECT_NEAR(at(1.3f, 128), 0.408198, 5e-7);
}

TEST(DeepBlacksTableTest, LevelsComeOnlyFromTheirRawValues) {
  EXPECT_EQ(DeepBlacksController::levelFromRawValue(0), Level::off);
  EXPECT_EQ(DeepBlacksController::levelFromRawValue(3), Level::deep);
  EXPECT_EQ(DeepBlacksController::levelFromRawValue(4), std::nullopt);
  EXPECT_EQ(DeepBlacksController::levelFromRawValue(-1), std::nullopt);
  EXPECT_EQ(DeepBlacksController::levelFromRawValue(std::numeric_limits<std::int64_t>::min()),
            std::nullopt);
}

TEST_F(DeepBlacksTest, SwitchingOnLoadsTheTableBehindTheMainScreenAndStoresTheLevel) {
  fake_.userDefaults.values["deepBlacksWarningShown"] = true;
  fake_.displays.screen = platform::Screen{std::int64_t{9}};  // not the main display (7)
  controller().setLevel(Level::medium, true);

  ASSERT_EQ(fake_.displays.tablesLoaded.size(), 1u);
  const auto& loaded = fake_.displays.tablesLoaded.front();
  EXPECT_EQ(loaded.display, 9u);
  const auto expected = DeepBlacksController::transferTable(1.2f);
  EXPECT_EQ(loaded.red, std::vector<float>(expected.begin(), expected.end()));
  EXPECT_EQ(loaded.green, loaded.red);
  EXPECT_EQ(loaded.blue, loaded.red);
  EXPECT_TRUE(controller().isEnabled());
  EXPECT_EQ(controller().currentLevel(), Level::medium);
  EXPECT_TRUE(storedValue<bool>("deepBlacksEnabled"));
  EXPECT_EQ(storedValue<std::int64_t>("deepBlacksLevel"), 2);
  EXPECT_TRUE(fake_.mainQueue.pending.empty()) << "the warning was dismissed before";
}

TEST_F(DeepBlacksTest, SwitchingOffRestoresTheCalibrationAndKeepsTheLastLevel) {
  fake_.userDefaults.values["deepBlacksWarningShown"] = true;
  controller().setLevel(Level::deep, true);
  controller().setLevel(Level::off, true);

  EXPECT_EQ(fake_.displays.restores, 1);
  EXPECT_FALSE(controller().isEnabled());
  EXPECT_EQ(controller().currentLevel(), Level::off);
  EXPECT_FALSE(storedValue<bool>("deepBlacksEnabled"));
  EXPECT_EQ(storedValue<std::int64_t>("deepBlacksLevel"), 3);

  fake_.log.clear();
  controller().setLevel(Level::off, true);
  controller().disable();
  EXPECT_EQ(fake_.log.count("displays.restoreColorSync"), 2) << "off while off runs again";
  EXPECT_EQ(fake_.log.count("defaults.set deepBlacksEnabled=false"), 2);
  EXPECT_TRUE(fake_.mainQueue.pending.empty());
}

TEST_F(DeepBlacksTest, WithoutAUsableMainScreenTheStateIsKeptButNoTableIsLoaded) {
  fake_.userDefaults.values["deepBlacksWarningShown"] = true;
  const double tooLarge = 4294967296.0;
  for (const std::optional<platform::Screen>& screen :
       {std::optional<platform::Screen>(), std::optional(platform::Screen{}),
        std::optional(platform::Screen{std::int64_t{-1}}),
        std::optional(platform::Screen{std::int64_t{4294967296}}),
        std::optional(platform::Screen{3.5}), std::optional(platform::Screen{tooLarge}),
        std::optional(platform::Screen{std::nan("")})}) {
    fake_.displays.screen = screen;
    controller().setLevel(Level::medium, true);
    EXPECT_TRUE(controller().isEnabled());
    EXPECT_EQ(storedValue<std::int64_t>("deepBlacksLevel"), 2);
  }
  EXPECT_TRUE(fake_.displays.tablesLoaded.empty());

  fake_.displays.screen = platform::Screen{7.0};
  controller().setLevel(Level::subtle, true);
  ASSERT_EQ(fake_.displays.tablesLoaded.size(), 1u) << "a real number that is a whole display ID";
  EXPECT_EQ(fake_.displays.tablesLoaded.front().display, 7u);
}

TEST_F(DeepBlacksTest, MakingTheControllerRestoresAStoredLevelThatWasOn) {
  fake_.userDefaults.values["deepBlacksEnabled"] = true;
  fake_.userDefaults.values["deepBlacksLevel"] = std::int64_t{3};
  fake_.userDefaults.values["deepBlacksWarningShown"] = true;

  EXPECT_TRUE(controller().isEnabled());
  EXPECT_EQ(controller().currentLevel(), Level::deep);
  EXPECT_EQ(fake_.displays.tablesLoaded.size(), 1u);
  EXPECT_EQ(fake_.log.count("defaults.set deepBlacksLevel=3"), 1) << "stored once more";
}

TEST_F(DeepBlacksTest, MakingTheControllerRestoresNothingFromOtherStoredValues) {
  struct Case {
    bool enabled;
    std::int64_t level;
  };
  for (const Case& c : {Case{true, 0}, Case{true, 4}, Case{true, -1}, Case{false, 2}}) {
    FakePlatform fake;
    fake.userDefaults.values["deepBlacksEnabled"] = c.enabled;
    fake.userDefaults.values["deepBlacksLevel"] = c.level;
    TransferTables tables(fake.displays, fake.displays.mainDisplay);
    EventTrail trail(&std::chrono::steady_clock::now);
    const DeepBlacksController restored(fake.userDefaults, fake.displays, tables, fake.mainQueue,
                                        fake.alerts, fake.console, trail);
    EXPECT_FALSE(restored.isEnabled()) << c.level;
    EXPECT_EQ(restored.currentLevel(), Level::off);
    EXPECT_EQ(fake.userDefaults.writeCount, 0);
    EXPECT_TRUE(fake.displays.tablesLoaded.empty());
    EXPECT_EQ(fake.displays.restores, 0);
  }
}

TEST_F(DeepBlacksTest, TheFirstSwitchOnWarnsOnlyAfterEverythingIsApplied) {
  controller().setLevel(Level::subtle, true);
  EXPECT_TRUE(fake_.alerts.shown.empty()) << "the warning waits for the main queue";

  bool shownKeyWhileUp = true;
  fake_.alerts.whileShown = [&](const platform::Alert&) {
    shownKeyWhileUp = stored("deepBlacksWarningShown");
  };
  EXPECT_EQ(fake_.mainQueue.drain(), 1);

  const long alert = fake_.log.indexOf("alerts.runModal Deep Blacks Enabled");
  ASSERT_GE(alert, 0);
  EXPECT_LT(fake_.log.indexOf("displays.setTransferTable 7"), alert);
  EXPECT_LT(fake_.log.indexOf("defaults.set deepBlacksEnabled=true"), alert);
  EXPECT_LT(fake_.log.indexOf("defaults.set deepBlacksLevel=1"), alert);
  EXPECT_FALSE(shownKeyWhileUp);
  EXPECT_GT(fake_.log.indexOf("defaults.set deepBlacksWarningShown=true"),
            fake_.log.indexOf("alerts.dismissed"));

  const platform::Alert& shown = fake_.alerts.shown.front();
  EXPECT_EQ(shown.messageText, "Deep Blacks Enabled");
  EXPECT_EQ(shown.informativeText.size(), 189u);
  EXPECT_TRUE(shown.informativeText.ends_with("Use at your own risk! \U0001F319\u2728"));
  EXPECT_EQ(shown.style, platform::AlertStyle::informational);
  EXPECT_EQ(shown.buttonTitles, std::vector<std::string>{"I Understand"});
  EXPECT_TRUE(shown.floatsAboveOtherApplications);

  controller().setLevel(Level::deep, true);
  EXPECT_TRUE(fake_.mainQueue.pending.empty()) << "dismissed once: never again";
}

TEST_F(DeepBlacksTest, OneWarningAtATimeHoweverOftenALevelIsSwitchedOn) {
  controller().setLevel(Level::subtle, true);
  controller().setLevel(Level::medium, true);
  controller().setLevel(Level::off, true);
  controller().setLevel(Level::deep, true);
  EXPECT_EQ(fake_.mainQueue.pending.size(), 1u);

  fake_.alerts.whileShown = [&](const platform::Alert&) {
    controller().setLevel(Level::subtle, true);  // chosen again while the warning is up
  };
  fake_.mainQueue.drain();
  EXPECT_EQ(fake_.alerts.shown.size(), 1u);
}

TEST_F(DeepBlacksTest, AWarningCutShortIsNotCountedAsSeen) {
  fake_.alerts.response = platform::alertAbortedResponse;
  controller().setLevel(Level::subtle, true);
  fake_.mainQueue.drain();
  EXPECT_FALSE(stored("deepBlacksWarningShown"));

  fake_.alerts.response = platform::alertFirstButtonReturn;
  controller().setLevel(Level::medium, true);
  EXPECT_EQ(fake_.mainQueue.drain(), 1) << "it comes again at the next switch-on";
  EXPECT_TRUE(storedValue<bool>("deepBlacksWarningShown"));
}

TEST_F(DeepBlacksTest, WithoutShowWarningOrOnDisableThereIsNoWarning) {
  controller().setLevel(Level::deep, false);
  controller().disable();
  EXPECT_TRUE(fake_.mainQueue.pending.empty());
  EXPECT_EQ(controller().currentLevel(), Level::off);
}

TEST_F(DeepBlacksTest, ATableTheDisplayRefusesIsSaidOnceAndNotStoredAsOn) {
  fake_.displays.setTableStatus = 1001;
  controller().setLevel(Level::medium, true);
  controller().setLevel(Level::deep, true);

  EXPECT_FALSE(controller().isEnabled());
  EXPECT_EQ(controller().currentLevel(), Level::off);
  EXPECT_FALSE(stored("deepBlacksEnabled"));
  EXPECT_FALSE(stored("deepBlacksLevel"));
  EXPECT_TRUE(fake_.mainQueue.pending.empty()) << "no warning for what did not happen";
  ASSERT_EQ(fake_.console.errors.size(), 1u);
  EXPECT_NE(fake_.console.errors[0].find("1001"), std::string::npos);

  fake_.displays.setTableStatus = 0;
  controller().setLevel(Level::subtle, true);
  EXPECT_TRUE(controller().isEnabled());
  EXPECT_EQ(storedValue<std::int64_t>("deepBlacksLevel"), 1);
}

}  // namespace
}  // namespace lumora
