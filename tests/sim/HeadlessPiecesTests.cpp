// The headless front end's search of the menu, against the app's own menu.

#include <gtest/gtest.h>

#include "fakes/FakeSymbolImages.h"
#include "platform/sim/frontends/headless/MenuSearch.h"
#include "ui/StatusMenu.h"

namespace lumora::sim {
namespace {

using Level = DeepBlacksController::Level;

class MenuSearchTest : public ::testing::Test {
 protected:
  testing::FakeSymbolImages symbols_;
  // Deep Blacks on at Medium, so the disabled header also says "Deep Blacks".
  platform::Menu menu_ = ui::buildStatusMenu(
      {.liveNits = 1250.0, .deepBlacksOn = true, .deepBlacksLevel = Level::medium}, symbols_);

  std::vector<std::string> paths(std::string_view query) {
    std::vector<std::string> found;
    for (const FoundEntry& entry : findEntries(menu_, query, [](const platform::MenuItem& item) {
           return !item.isSeparator && (item.action.has_value() || item.submenu != nullptr);
         })) {
      found.push_back(entry.path);
    }
    return found;
  }
};

TEST_F(MenuSearchTest, TitlesCompareWithoutSymbolCaseOrTheKindOfDash) {
  EXPECT_EQ(normalizedTitle("\u23F9 Disable XDR"), "disable xdr");
  EXPECT_EQ(normalizedTitle("160% \u2013 800 nits"), "160%-800 nits");
  EXPECT_EQ(normalizedTitle("  160%-800   NITS "), "160%-800 nits");
  EXPECT_EQ(normalizedTitle("320%\u2014 1600"), "320%-1600");
  EXPECT_EQ(normalizedTitle("Auto-enable on Launch"), "auto-enable on launch");
}

TEST_F(MenuSearchTest, AnExactTitleWinsOverTitlesThatHoldIt) {
  EXPECT_EQ(paths("deep"), std::vector<std::string>{"\U0001F311 Deep Blacks: Medium > Deep"});
  EXPECT_EQ(paths("medium"), std::vector<std::string>{"\U0001F311 Deep Blacks: Medium > Medium"})
      << "not the entry or the header that mention it";
}

TEST_F(MenuSearchTest, EnabledEntriesWinAndAnAmbiguousPartListsEveryCandidate) {
  EXPECT_EQ(paths("xdr"), std::vector<std::string>{"\u23F9 Disable XDR"})
      << "the header mentions XDR too, but cannot be picked";
  EXPECT_EQ(paths("nits").size(), 5u);
  EXPECT_EQ(paths("deep blacks > dee"),
            std::vector<std::string>{"\U0001F311 Deep Blacks: Medium > Deep"});
  EXPECT_EQ(paths("launch > x"),
            (std::vector<std::string>{"Auto-enable on Launch", "Launch at Login"}))
      << "an ambiguous step lists its candidates";
  EXPECT_TRUE(paths("nothing like it").empty());
  EXPECT_TRUE(paths("").empty());
}

}  // namespace
}  // namespace lumora::sim
