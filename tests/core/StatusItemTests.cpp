#include <gtest/gtest.h>

#include "app/AppDelegate.h"
#include "fakes/FakePlatform.h"
#include "ui/StatusItemAppearance.h"

namespace lumora {
namespace {

using platform::NamedColor;
using platform::Palette;
using platform::SymbolScale;
using ui::StatusInputs;
using ui::StatusItemAppearance;
using ImageChange = StatusItemAppearance::ImageChange;

class StatusItemTest : public ::testing::Test {
 protected:
  StatusItemAppearance appearance(double nits, bool deepBlacks, bool simple) {
    return ui::statusItemAppearance(
        StatusInputs{.liveNits = nits, .deepBlacksOn = deepBlacks, .simpleIcon = simple}, symbols_);
  }

  testing::FakeSymbolImages symbols_;
};

TEST_F(StatusItemTest, TheSymbolFollowsXDRItsTopLevelAndDeepBlacks) {
  struct Case {
    double nits;
    bool deepBlacks;
    std::string_view symbol;
    Palette palette;
    std::optional<SymbolScale> scale;
  };
  for (const Case& c : {
           Case{500.0, false, "sun.max", {NamedColor::label}, std::nullopt},
           Case{800.0, false, "sun.max.fill", {NamedColor::cyan}, std::nullopt},
           Case{1549.9, false, "sun.max.fill", {NamedColor::cyan}, std::nullopt},
           Case{1550.0, false, "sun.max.fill", {NamedColor::cyan}, SymbolScale::large},
           Case{1600.0, false, "sun.max.fill", {NamedColor::cyan}, SymbolScale::large},
           Case{500.0,
                true,
                "moon.stars.fill",
                {NamedColor::systemIndigo, NamedColor::cyan},
                SymbolScale::large},
           Case{1600.0,
                true,
                "moon.stars.fill",
                {NamedColor::systemIndigo, NamedColor::cyan},
                SymbolScale::large},
       }) {
    const StatusItemAppearance result = appearance(c.nits, c.deepBlacks, false);
    EXPECT_EQ(result.title, "") << c.nits;
    ASSERT_EQ(result.imageChange, ImageChange::set);
    EXPECT_EQ(result.image->symbolName.view(), c.symbol) << c.nits;
    EXPECT_EQ(result.image->accessibilityDescription.view(), "Lumora Virir");
    ASSERT_TRUE(result.image->configuration);
    EXPECT_EQ(result.image->configuration->palette, c.palette) << c.nits;
    EXPECT_EQ(result.image->configuration->scale, c.scale) << c.nits;
    EXPECT_EQ(result.tint, std::nullopt);
  }
}

TEST_F(StatusItemTest, TheSimpleFormIsOneTintedCharacterWithoutImage) {
  struct Case {
    double nits;
    bool deepBlacks;
    std::string_view title;
    std::optional<NamedColor> tint;
  };
  for (const Case& c :
       {Case{500.0, false, "\u25CB", std::nullopt}, Case{1000.0, false, "\u25CF", NamedColor::cyan},
        Case{500.0, true, "\U0001F319", NamedColor::systemIndigo},
        Case{1600.0, true, "\U0001F319", NamedColor::systemIndigo}}) {
    const StatusItemAppearance result = appearance(c.nits, c.deepBlacks, true);
    EXPECT_EQ(result.title, c.title) << c.nits;
    EXPECT_EQ(result.imageChange, ImageChange::remove);
    EXPECT_EQ(result.tint, c.tint) << c.nits;
  }
}

TEST_F(StatusItemTest, AnUnknownSymbolKeepsTheImageAndAFailedConfigurationShowsThePlainOne) {
  symbols_.unknownSymbols.insert("sun.max.fill");
  EXPECT_EQ(appearance(1000.0, false, false).imageChange, ImageChange::keep);
  EXPECT_EQ(appearance(1000.0, false, false).title, "");

  symbols_.unknownSymbols.clear();
  symbols_.configurationFails = true;
  const StatusItemAppearance plain = appearance(1000.0, false, false);
  ASSERT_EQ(plain.imageChange, ImageChange::set);
  EXPECT_EQ(plain.image->symbolName.view(), "sun.max.fill");
  EXPECT_FALSE(plain.image->configuration);
}

TEST_F(StatusItemTest, TurningTheSimpleFormOffBringsTheSymbolBackUntinted) {
  testing::FakePlatform fake;
  SharedControllers controllers(fake.platform);
  auto delegate = AppDelegate::create(fake.platform, controllers);
  fake.setActiveCeiling(1000.0);
  fake.userDefaults.values["autoEnableXDR"] = true;  // keep the display as it is at launch
  fake.userDefaults.values["simpleIcon"] = true;
  delegate->applicationDidFinishLaunching();
  testing::FakeStatusButton& button = fake.statusBar.lastItem->fakeButton();
  EXPECT_EQ(button.title, "\u25CF");
  EXPECT_FALSE(button.image);

  fake.userDefaults.values["simpleIcon"] = false;
  fake.log.clear();
  fake.timers.fireAll();
  EXPECT_EQ(fake.log.matching("button."),
            (std::vector<std::string>{"button.setImage sun.max.fill", "button.setTitle ",
                                      "button.setTint"}));
  EXPECT_EQ(button.title, "");
  ASSERT_TRUE(button.image);
  EXPECT_EQ(button.image->symbolName.view(), "sun.max.fill");
  EXPECT_EQ(button.tint, std::nullopt);
}

TEST_F(StatusItemTest, WithoutAButtonTheRefreshStillMakesTheDeepBlacksController) {
  testing::FakePlatform fake;
  fake.statusBar.itemsHaveButtons = false;
  fake.userDefaults.values["deepBlacksEnabled"] = true;
  fake.userDefaults.values["deepBlacksLevel"] = std::int64_t{1};
  SharedControllers controllers(fake.platform);
  auto delegate = AppDelegate::create(fake.platform, controllers);
  delegate->applicationDidFinishLaunching();
  EXPECT_EQ(fake.displays.tablesLoaded.size(), 1u);
  EXPECT_TRUE(fake.log.matching("button.").empty());
}

}  // namespace
}  // namespace lumora
