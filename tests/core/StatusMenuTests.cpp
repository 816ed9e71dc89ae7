#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/AppDelegate.h"
#include "fakes/FakePlatform.h"
#include "support/MenuEntries.h"
#include "ui/StatusMenu.h"

namespace lumora {
namespace {

using Level = DeepBlacksController::Level;
using platform::ControlState;
using platform::Menu;
using platform::MenuItem;
using platform::NamedColor;
using testing::entrySending;
using testing::entryTitled;
using ui::MenuInputs;

class StatusMenuTest : public ::testing::Test {
 protected:
  Menu build(const MenuInputs& inputs) { return ui::buildStatusMenu(inputs, symbols_); }
  Menu atNits(double nits) { return build(MenuInputs{.liveNits = nits}); }

  // The titles of the marked level entries.
  static std::vector<std::string> markedLevels(const Menu& menu) {
    std::vector<std::string> marked;
    for (const MenuItem& item : menu.items) {
      if (item.action && item.action->view() == "setNits:" && item.state == ControlState::on) {
        marked.push_back(item.title);
      }
    }
    return marked;
  }

  testing::FakeSymbolImages symbols_;
};

TEST_F(StatusMenuTest, HasEveryEntryInOrderWithItsActionTagAndKey) {
  const Menu menu = atNits(500.0);
  std::vector<std::string> shape;
  for (const MenuItem& item : menu.items) {
    if (item.isSeparator) {
      shape.push_back("---");
      continue;
    }
    std::string line = item.title;
    if (item.action) line += " -> " + std::string(item.action->view());
    if (item.tag != 0) line += " #" + std::to_string(item.tag);
    if (!item.keyEquivalent.empty()) line += " [" + item.keyEquivalent + "]";
    shape.push_back(line);
  }
  EXPECT_EQ(shape, (std::vector<std::string>{
                       "\U0001F4A1 SDR Mode",
                       "---",
                       "100% \u2013 500 nits (SDR) -> setNits: #500",
                       "160% \u2013 800 nits -> setNits: #800",
                       "200% \u2013 1000 nits -> setNits: #1000",
                       "250% \u2013 1250 nits -> setNits: #1250",
                       "320% \u2013 1600 nits (MAX) -> setNits: #1600",
                       "Brightness: 500 nits (SDR) -> slideNits:",
                       "---",
                       "\u25B6\uFE0F Enable XDR -> toggleXDR [x]",
                       "---",
                       "\U0001F311 Deep Blacks",
                       "Pause XDR",
                       "---",
                       "Auto-enable on Launch -> toggleAutoEnable",
                       "Launch at Login -> toggleLaunchAtLogin",
                       "Basicify Icon -> toggleSimpleIcon",
                       "Keyboard Shortcuts -> toggleShortcuts",
                       "---",
                       "Settings... -> openSettings [,]",
                       "Check for Updates... -> checkForUpdates",
                       "---",
                       "Reset All Tweaks -> resetAllTweaks",
                       "Quit Lumora Virir -> quit [q]",
                   }));
  EXPECT_EQ(menu.items.front().enabled, false) << "only the header is disabled explicitly";
  for (std::size_t i = 1; i < menu.items.size(); ++i)
    EXPECT_EQ(menu.items[i].enabled, std::nullopt);
}

TEST_F(StatusMenuTest, EntriesCarryTheirSymbolsInOneColour) {
  const Menu menu = atNits(500.0);
  struct Expected {
    std::string_view title;
    std::string_view symbol;
    std::string_view description;
    NamedColor color;
  };
  for (const Expected& e :
       {Expected{"\U0001F311 Deep Blacks", "moon.fill", "Deep Blacks", NamedColor::secondaryLabel},
        Expected{"Settings", "gearshape.fill", "Settings", NamedColor::cyan},
        Expected{"Check for Updates", "arrow.triangle.2.circlepath", "Check Updates",
                 NamedColor::secondaryLabel},
        Expected{"Reset All Tweaks", "arrow.counterclockwise", "Reset", NamedColor::systemRed}}) {
    const MenuItem& item = entryTitled(menu, e.title);
    ASSERT_TRUE(item.image) << item.title;
    EXPECT_EQ(item.image->symbolName.view(), e.symbol);
    EXPECT_EQ(item.image->accessibilityDescription.view(), e.description);
    EXPECT_EQ(item.image->configuration->palette, platform::Palette{e.color});
    EXPECT_EQ(item.image->configuration->scale, std::nullopt);
  }

  symbols_.unknownSymbols.insert("gearshape.fill");
  const Menu withoutGear = atNits(500.0);
  EXPECT_FALSE(entrySending(withoutGear, "openSettings").image);
  EXPECT_EQ(entrySending(withoutGear, "openSettings").title, "Settings...");
}

TEST_F(StatusMenuTest, TheHeaderSwitchAndMarksFollowTheLiveLevel) {
  struct Case {
    double nits;
    std::string header;
    std::string toggle;
    std::vector<std::string> marked;
  };
  for (const Case& c : {
           Case{500.0,
                "\U0001F4A1 SDR Mode",
                "\u25B6\uFE0F Enable XDR",
                {"100% \u2013 500 nits (SDR)"}},
           Case{501.0,
                "\u2600\uFE0F XDR Enabled (100%)",
                "\u23F9 Disable XDR",
                {"100% \u2013 500 nits (SDR)"}},
           Case{800.0,
                "\u2600\uFE0F XDR Enabled (160%)",
                "\u23F9 Disable XDR",
                {"160% \u2013 800 nits"}},
           Case{850.0, "\u2600\uFE0F XDR Enabled (170%)", "\u23F9 Disable XDR", {}},
           Case{1225.0,
                "\u2600\uFE0F XDR Enabled (245%)",
                "\u23F9 Disable XDR",
                {"250% \u2013 1250 nits"}},
           Case{1600.0,
                "\u2600\uFE0F XDR Enabled (320%)",
                "\u23F9 Disable XDR",
                {"320% \u2013 1600 nits (MAX)"}},
           Case{1800.0, "\u2600\uFE0F XDR Enabled (360%)", "\u23F9 Disable XDR", {}},
       }) {
    const Menu menu = atNits(c.nits);
    EXPECT_EQ(menu.items[0].title, c.header) << c.nits;
    EXPECT_EQ(entrySending(menu, "toggleXDR").title, c.toggle) << c.nits;
    EXPECT_EQ(markedLevels(menu), c.marked) << c.nits;
  }
}

TEST_F(StatusMenuTest, AReadingWithoutAPercentageStillSaysXDRIsOn) {
  const double infinity = std::numeric_limits<double>::infinity();
  for (const double nits : {infinity, 1e300, std::numeric_limits<double>::max()}) {
    const Menu menu = atNits(nits);
    EXPECT_EQ(menu.items[0].title, "\u2600\uFE0F XDR Enabled") << nits;
    EXPECT_EQ(entrySending(menu, "toggleXDR").title, "\u23F9 Disable XDR");
    EXPECT_TRUE(markedLevels(menu).empty());
  }
  EXPECT_EQ(atNits(1e10).items[0].title, "\u2600\uFE0F XDR Enabled (2000000000%)");
}

TEST_F(StatusMenuTest, DeepBlacksWinsTheHeaderAndMarksItsLevel) {
  for (const double nits : {1000.0, 500.0}) {
    const Menu menu =
        build(MenuInputs{.liveNits = nits, .deepBlacksOn = true, .deepBlacksLevel = Level::medium});
    EXPECT_EQ(menu.items[0].title, "\U0001F311 XDR + Deep Blacks (Medium)") << nits;
    const MenuItem& deepBlacks = entryTitled(menu, "\U0001F311 Deep Blacks");
    EXPECT_EQ(deepBlacks.title, "\U0001F311 Deep Blacks: Medium");
    EXPECT_EQ(deepBlacks.image->configuration->palette,
              platform::Palette{NamedColor::systemIndigo});
    ASSERT_TRUE(deepBlacks.submenu);
    std::vector<std::string> submenu;
    for (const MenuItem& item : deepBlacks.submenu->items) {
      submenu.push_back(item.title + (item.state == ControlState::on ? " *" : "") + " #" +
                        std::to_string(item.tag) + " " + std::string(item.action->view()));
    }
    EXPECT_EQ(submenu, (std::vector<std::string>{
                           "Off #0 setDeepBlacksLevel:", "Subtle #1 setDeepBlacksLevel:",
                           "Medium * #2 setDeepBlacksLevel:", "Deep #3 setDeepBlacksLevel:"}));
  }
  EXPECT_EQ(markedLevels(build(MenuInputs{
                .liveNits = 1000.0, .deepBlacksOn = true, .deepBlacksLevel = Level::medium})),
            std::vector<std::string>{"200% \u2013 1000 nits"});

  const Menu off = atNits(800.0);
  EXPECT_EQ(off.items[0].title, "\u2600\uFE0F XDR Enabled (160%)");
  EXPECT_EQ(entryTitled(off, "\U0001F311 Deep Blacks").submenu->items[0].state, ControlState::on);
}

TEST_F(StatusMenuTest, TogglesShowTheStoredPreferencesAndTheLoginItemsStatus) {
  const Menu none = atNits(500.0);
  const Menu all = build(MenuInputs{.liveNits = 500.0,
                                    .autoEnable = true,
                                    .loginItem = platform::LoginItemStatus::enabled,
                                    .simpleIcon = true});
  for (std::string_view toggle : {"toggleAutoEnable", "toggleLaunchAtLogin", "toggleSimpleIcon"}) {
    EXPECT_EQ(entrySending(none, toggle).state, ControlState::off) << toggle;
    EXPECT_EQ(entrySending(all, toggle).state, ControlState::on) << toggle;
  }
  const Menu waiting = build(
      MenuInputs{.liveNits = 500.0, .loginItem = platform::LoginItemStatus::requiresApproval});
  EXPECT_EQ(entrySending(waiting, "toggleLaunchAtLogin").state, ControlState::mixed);
  const Menu lost =
      build(MenuInputs{.liveNits = 500.0, .loginItem = platform::LoginItemStatus::notFound});
  EXPECT_EQ(entrySending(lost, "toggleLaunchAtLogin").state, ControlState::off);
}

TEST_F(StatusMenuTest, TheDelegateInstallsAFreshMenuBuiltFromOneReadingOfEachInput) {
  testing::FakePlatform fake;
  SharedControllers controllers(fake.platform);
  auto delegate = AppDelegate::create(fake.platform, controllers);
  fake.loginItems.setStatus(platform::LoginItemStatus::enabled);
  delegate->applicationDidFinishLaunching();
  const Menu first = *fake.statusBar.lastItem->menu;

  fake.log.clear();
  delegate->rebuildMenu();
  EXPECT_EQ(*fake.statusBar.lastItem->menu, first) << "unchanged inputs, equal menus";
  EXPECT_EQ(fake.log.count("windowServer.getActive"), 1) << "the level is read once";
  EXPECT_EQ(entrySending(first, "toggleLaunchAtLogin").state, ControlState::on);

  fake.setActiveCeiling(1250.0);
  delegate->rebuildMenu();
  EXPECT_NE(*fake.statusBar.lastItem->menu, first);
  EXPECT_EQ(fake.statusBar.lastItem->menuInstalls, 3);
}

}  // namespace
}  // namespace lumora
