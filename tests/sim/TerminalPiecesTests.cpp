// The terminal front end's pure parts: text widths, menu tracking and layout, what the panel
// keeps clear of, the display panel.

#include <gtest/gtest.h>

#include <clocale>

#include "platform/sim/frontends/terminal/Area.h"
#include "platform/sim/frontends/terminal/DisplayPanel.h"
#include "platform/sim/frontends/terminal/MenuLayout.h"
#include "platform/sim/frontends/terminal/MenuTracking.h"
#include "platform/sim/frontends/terminal/SliderRow.h"
#include "platform/sim/frontends/terminal/TextWidth.h"
#include "support/MenuEntries.h"

namespace lumora::sim::terminal {
namespace {

class TerminalPiecesTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(std::setlocale(LC_CTYPE, "C.UTF-8"), nullptr); }
};

TEST_F(TerminalPiecesTest, MeasuresEmojiAsTwoCellsAndSelectorsAsNone) {
  EXPECT_EQ(displayWidth("Quit Lumora Virir"), 17);
  EXPECT_EQ(displayWidth("\U0001F4A1 SDR Mode"), 11);
  EXPECT_EQ(displayWidth("\u2600\uFE0F XDR Enabled (250%)"), 20);
  EXPECT_EQ(displayWidth("100% \u2013 500 nits (SDR)"), 21);
  EXPECT_EQ(displayWidth("\U0001F319\u2728"), 4);
  EXPECT_EQ(displayWidth("\xff\xfe"), 2) << "undecodable bytes take a cell each";

  EXPECT_EQ(fitToWidth("\U0001F311 Deep", 1), "") << "half an emoji does not fit";
  EXPECT_EQ(fitToWidth("\u2600\uFE0F XDR", 1), "\u2600\uFE0F") << "the selector stays on";
  EXPECT_EQ(padToWidth("\U0001F4A1 a", 6), "\U0001F4A1 a  ");
  EXPECT_EQ(padToWidth("\U0001F319\u2728 x", 3), "\U0001F319 ") << "no half emoji, no overflow";
}

TEST_F(TerminalPiecesTest, WrapsAtLineFeedsAndBetweenWords) {
  EXPECT_EQ(wrapText("one two three\n\nfour", 7),
            (std::vector<std::string>{"one two", "three", "", "four"}));
  EXPECT_EQ(wrapText("abcdefghij", 4), (std::vector<std::string>{"abcd"}));
}

TEST_F(TerminalPiecesTest, WrapsEachLineUnderItsOwnIndentAndKeepsBlankLines) {
  const std::string report =
      "Lumora Virir diagnostics\n\nDisplay 1:\n  preset \"Apple XDR Display (P3-1600 nits)\", SDR "
      "500 nits, HDR 1600 nits\n" +
      std::string(30, ' ') + "deep\n";
  const std::vector<std::string> lines = wrapKeepingIndents(report, 40);
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "Lumora Virir diagnostics",
                       "",
                       "Display 1:",
                       "  preset \"Apple XDR Display (P3-1600",
                       "  nits)\", SDR 500 nits, HDR 1600 nits",
                       "deep",
                   }))
      << "the last newline ends the last line; an indent deeper than half the width goes";
  for (const std::string& line : lines)
    EXPECT_LE(displayWidth(line), 40) << line;
  EXPECT_TRUE(wrapKeepingIndents(report, 0).empty());
}

platform::MenuItem entry(std::string title, std::string key = "") {
  platform::MenuItem item;
  item.title = std::move(title);
  item.action = platform::StaticText("act");
  item.keyEquivalent = std::move(key);
  return item;
}

class MenuTrackingTest : public TerminalPiecesTest {
 protected:
  void SetUp() override {
    TerminalPiecesTest::SetUp();
    platform::MenuItem header = entry("Header");
    header.action.reset();  // disabled: no action, no submenu
    menu_.items = {header, platform::MenuItem::separator(), entry("One"), entry("Two", "x"),
                   platform::MenuItem::separator()};
    auto submenu = std::make_shared<platform::Menu>();
    submenu->items = {entry("Off"), entry("Subtle")};
    platform::MenuItem parent = entry("Deep Blacks");
    parent.action.reset();
    parent.submenu = submenu;
    menu_.items.push_back(parent);
    menu_.items.push_back(entry("Quit", "q"));
  }
  std::vector<int> selection() const { return tracking_.selection(); }

  platform::Menu menu_;
  MenuTracking tracking_{[](const platform::MenuItem& item) {
    return !item.isSeparator && (item.action.has_value() || item.submenu != nullptr);
  }};
};

TEST_F(MenuTrackingTest, TheKeyboardMovesOverEnabledEntriesOnlyAndWrapsAround) {
  tracking_.open(menu_, true);
  EXPECT_EQ(selection(), std::vector<int>{2});
  tracking_.moveDown(menu_);
  tracking_.moveDown(menu_);
  EXPECT_EQ(selection(), std::vector<int>{5}) << "the separator is skipped";
  tracking_.moveDown(menu_);
  tracking_.moveDown(menu_);
  EXPECT_EQ(selection(), std::vector<int>{2}) << "past the end, round to the first";
  tracking_.moveUp(menu_);
  EXPECT_EQ(selection(), std::vector<int>{6});
}

TEST_F(MenuTrackingTest, SubmenusOpenWithRightOrEnterAndPickingReturnsACopy) {
  tracking_.open(menu_, true);
  tracking_.moveUp(menu_);
  tracking_.moveUp(menu_);  // Deep Blacks
  EXPECT_EQ(tracking_.activate(menu_).kind, MenuTracking::Outcome::Kind::none);
  EXPECT_EQ(selection(), (std::vector<int>{5, 0}));
  EXPECT_EQ(tracking_.levels(menu_).size(), 2u);
  tracking_.moveDown(menu_);
  tracking_.leaveSubmenu();
  EXPECT_EQ(selection(), std::vector<int>{5});
  tracking_.enterSubmenu(menu_);
  tracking_.moveDown(menu_);
  const MenuTracking::Outcome outcome = tracking_.activate(menu_);
  ASSERT_EQ(outcome.kind, MenuTracking::Outcome::Kind::pick);
  EXPECT_EQ(outcome.picked->title, "Subtle");
  EXPECT_FALSE(tracking_.isOpen());
}

TEST_F(MenuTrackingTest, KeyEquivalentsPickFromAnywhereAndTheMouseFollowsThePointer) {
  tracking_.open(menu_, false);
  EXPECT_EQ(selection(), std::vector<int>{-1}) << "a click opens with nothing selected";
  EXPECT_EQ(tracking_.keyEquivalent(menu_, 'z').kind, MenuTracking::Outcome::Kind::none);
  const MenuTracking::Outcome quit = tracking_.keyEquivalent(menu_, 'Q');
  ASSERT_EQ(quit.kind, MenuTracking::Outcome::Kind::pick);
  EXPECT_EQ(quit.picked->title, "Quit");

  tracking_.open(menu_, false);
  EXPECT_EQ(tracking_.point(menu_, 0, 0, true).kind, MenuTracking::Outcome::Kind::none)
      << "a disabled entry does nothing";
  EXPECT_TRUE(tracking_.isOpen());
  tracking_.point(menu_, 0, 5, false);
  EXPECT_EQ(tracking_.levels(menu_).size(), 2u) << "pointing at Deep Blacks opens its submenu";
  const MenuTracking::Outcome off = tracking_.point(menu_, 1, 0, true);
  ASSERT_EQ(off.kind, MenuTracking::Outcome::Kind::pick);
  EXPECT_EQ(off.picked->title, "Off");
}

TEST_F(MenuTrackingTest, ASliderIsSelectedNotPickedAndEnterClosesTheMenu) {
  platform::MenuItem slider = entry("Brightness: 800 nits");
  slider.slider = testing::brightnessSlider(800.0);
  menu_.items.insert(menu_.items.begin() + 4, slider);
  tracking_.open(menu_, true);
  tracking_.moveDown(menu_);
  tracking_.moveDown(menu_);
  ASSERT_NE(tracking_.selectedEntry(menu_), nullptr);
  EXPECT_TRUE(tracking_.selectedEntry(menu_)->slider);
  const MenuTracking::Outcome outcome = tracking_.activate(menu_);
  EXPECT_EQ(outcome.kind, MenuTracking::Outcome::Kind::close);
  EXPECT_FALSE(outcome.picked);
  EXPECT_FALSE(tracking_.isOpen());

  tracking_.open(menu_, false);
  EXPECT_EQ(tracking_.point(menu_, 0, 4, true).kind, MenuTracking::Outcome::Kind::none);
  EXPECT_TRUE(tracking_.isOpen()) << "a click selects the slider";
  EXPECT_EQ(selection(), std::vector<int>{4});
}

TEST_F(TerminalPiecesTest, ASliderRowShowsItsKnobItsStopsAndItsLabelInItsWidth) {
  const platform::MenuSlider slider = testing::brightnessSlider(1100.0);
  // 23 cells of track, one for each 50 nits.
  const std::string row = sliderRow(slider, 33);
  EXPECT_EQ(displayWidth(row), 33);
  EXPECT_EQ(row,
            "\u253F\u2501\u2501\u2501\u2501\u2501\u253F\u2501\u2501\u2501\u253F\u2501"
            "\u25CF\u2500\u2500\u253C\u2500\u2500\u2500\u2500\u2500\u2500\u253C 1100 nits");
  EXPECT_EQ(trackCell(slider, 500.0, 23), 0);
  EXPECT_EQ(trackCell(slider, 1600.0, 23), 22);
  EXPECT_EQ(trackCell(slider, 1250.0, 23), 15);
  EXPECT_EQ(trackCell(slider, 9000.0, 23), 22) << "beyond the range, at its end";
  EXPECT_LE(sliderRowWidth(slider), displayWidth("320% \u2013 1600 nits (MAX)"))
      << "it does not widen the menu";

  EXPECT_EQ(sliderRow(slider, 11), "1100 nits  ") << "too narrow for a track: the label";
  EXPECT_EQ(sliderRow(slider, 4), "1100");
}

class MenuLayoutTest : public MenuTrackingTest {
 protected:
  std::vector<MenuBox> layout(int anchorRight, const Area& room,
                              const std::vector<int>& firstRows = {}) {
    return layoutMenus(tracking_.levels(menu_), tracking_.selection(), firstRows, anchorRight, room,
                       [](const platform::MenuItem& item) {
                         return !item.isSeparator && (item.action || item.submenu);
                       });
  }
  void openDeepBlacks() {
    tracking_.open(menu_, true);
    tracking_.moveUp(menu_);
    tracking_.moveUp(menu_);
    tracking_.enterSubmenu(menu_);
  }
};

TEST_F(MenuLayoutTest, SubmenusOpenToTheRightBesideTheirEntryWithoutTouchingTheParent) {
  openDeepBlacks();
  const std::vector<MenuBox> boxes = layout(78, Area{1, 0, 22, 80});
  ASSERT_EQ(boxes.size(), 2u);
  const Area& menu = boxes[0].area;
  const Area& submenu = boxes[1].area;
  EXPECT_EQ(menu.top, 1);
  EXPECT_EQ(menu.height, 9) << "seven entries and the border";
  EXPECT_EQ(submenu.left, menu.right() + 1) << "right of the parent, a cell clear of its border";
  EXPECT_EQ(submenu.right(), 80) << "the menu moved left to leave its submenu room";
  EXPECT_EQ(submenu.top + 1, menu.top + 1 + 5) << "its first entry beside Deep Blacks";

  const auto onQuit = hitTest(boxes, menu.top + 1 + 6, menu.left + 3);
  ASSERT_TRUE(onQuit);
  EXPECT_EQ(onQuit->level, 0u);
  EXPECT_EQ(onQuit->row, 6);
  const auto onSubtle = hitTest(boxes, submenu.top + 2, submenu.left + 2);
  ASSERT_TRUE(onSubtle);
  EXPECT_EQ(onSubtle->level, 1u);
  EXPECT_EQ(onSubtle->row, 1);
  EXPECT_FALSE(hitTest(boxes, menu.top, menu.left + 3)) << "the border is no entry";
  EXPECT_FALSE(hitTest(boxes, 20, 2));

  const std::vector<MenuBox> wide = layout(40, Area{1, 0, 22, 80});
  EXPECT_EQ(wide[0].area.right(), 40) << "with room to spare it hangs from the status item";
}

TEST_F(MenuLayoutTest, AMenuTallerThanTheScreenScrollsToKeepTheSelectionInView) {
  tracking_.open(menu_, true);
  const Area room{1, 0, 6, 80};  // four entries at a time
  std::vector<MenuBox> boxes = layout(70, room);
  EXPECT_EQ(boxes[0].firstRow, 0);
  EXPECT_TRUE(boxes[0].moreBelow());

  tracking_.moveUp(menu_);  // round to Quit, the last entry
  boxes = layout(70, room, {boxes[0].firstRow});
  EXPECT_EQ(boxes[0].firstRow, 3);
  EXPECT_TRUE(boxes[0].moreAbove());
  EXPECT_FALSE(boxes[0].moreBelow());
  const Area& area = boxes[0].area;
  const auto onQuit = hitTest(boxes, area.bottom() - 2, area.left + 3);
  ASSERT_TRUE(onQuit);
  EXPECT_EQ(onQuit->row, 6) << "rows count from the top of the menu, not of the box";
  const auto arrow = hitTest(boxes, area.top, area.left + 3);
  ASSERT_TRUE(arrow);
  EXPECT_EQ(arrow->part, MenuHit::Part::scrollUp);
  EXPECT_FALSE(hitTest(boxes, area.bottom() - 1, area.left + 3)) << "nothing more below";

  tracking_.moveDown(menu_);  // round to One, the first enabled entry
  boxes = layout(70, room, {boxes[0].firstRow});
  EXPECT_EQ(boxes[0].firstRow, 0) << "back to the top, so the header shows";
}

TEST_F(TerminalPiecesTest, PanelTextEndsAtAWholeWordACellShortOfABox) {
  EXPECT_EQ(wholeWordsWithin("on display 69733382", 12), "on display");
  EXPECT_EQ(wholeWordsWithin("on display 69733382", 10), "on display");
  EXPECT_EQ(wholeWordsWithin("on display 69733382", 9), "on");
  EXPECT_EQ(wholeWordsWithin("Simulated", 4), "");
  EXPECT_EQ(dropCells("\U0001F311 Deep", 1), "  Deep") << "half an emoji becomes a space";
  EXPECT_EQ(dropCells("\u2600\uFE0F XDR", 1), " XDR") << "its selector goes with it";

  const std::vector<Area> covers{Area{1, 30, 10, 20}};
  EXPECT_EQ(uncoveredText(covers, 3, 2, "Main screen on display 69733382", 80),
            "Main screen on display")
      << "ends before column 29, left blank";
  EXPECT_EQ(uncoveredText(covers, 3, 29, "x", 80), "") << "it would touch the border";
  EXPECT_EQ(uncoveredText(covers, 3, 40, "Gamma of 69733382", 80), "") << "no tail past the box";
  EXPECT_EQ(uncoveredText(covers, 3, 51, "Gamma of 69733382", 80), "Gamma of 69733382");
  EXPECT_EQ(uncoveredText(covers, 12, 2, "below the box", 12), "below the") << "and the screen";
}

TEST_F(TerminalPiecesTest, ThePanelTellsTheDisplaysStateAndTheDock) {
  SimDisplayState::Snapshot snapshot;
  snapshot.mainDisplay = 5;
  SimDisplayState::DisplaySnapshot display;
  display.id = 5;
  display.activeIndex = 11;
  display.activePresetName = "Lumora XDR (1250 nits)";
  display.sdrNits = 1250.0;
  display.slot11Name = "Lumora XDR (1250 nits)";
  display.transferTables = SimDisplayState::TransferTables{{0.0f, 1.0f}, {}, {}, {42, 0}};
  display.edrWindowShown = true;
  display.edrWindowDraws = 1;
  display.edrWindowExcludedFromCapture = true;
  display.currentHeadroom = 2.5;
  display.maximumHeadroom = 3.2;
  display.givenNits = 1250.0;
  snapshot.displays.push_back(display);
  snapshot.power = {.hasBattery = true,
                    .onBattery = true,
                    .batteryPercent = 19,
                    .thermalState = platform::ThermalState::serious};

  std::vector<std::string> text;
  for (const PanelLine& line : displayPanelLines(snapshot, true)) {
    text.push_back(line.label + ": " + line.value);
  }
  EXPECT_EQ(text, (std::vector<std::string>{
                      "Main display: 5",
                      "Main screen: none",
                      "Display 5: ",
                      "  Active preset: 11  \"Lumora XDR (1250 nits)\"",
                      "  SDR ceiling: 1250 nits  (XDR)",
                      "  Slot 11: \"Lumora XDR (1250 nits)\"",
                      "  Gamma: table loaded by process 42",
                      "  EDR window: shown (1x1, asks for headroom), drawn 1 time, out of screenshots",
                      "  Headroom: 2.5 of 3.2, gives 1250 nits",
                      "Power: on battery, 19%",
                      "Thermal state: serious",
                      "Dock: Lumora Virir is in the Dock (regular app)",
                  }));
}

TEST_F(TerminalPiecesTest, TheCurvePlotsTheTableOverTheIdentity) {
  std::vector<float> identity(256);
  for (std::size_t i = 0; i < identity.size(); ++i)
    identity[i] = static_cast<float>(i) / 255.0f;
  const std::vector<std::string> straight = transferCurve(identity, 5, 5);
  EXPECT_EQ(straight, (std::vector<std::string>{"    \u2022", "   \u2022 ", "  \u2022  ",
                                                " \u2022   ", "\u2022    "}));

  std::vector<float> dark(256, 0.0f);
  dark.back() = 1.0f;
  const std::vector<std::string> deep = transferCurve(dark, 5, 5);
  EXPECT_EQ(deep.back(), "\u2022\u2022\u2022\u2022 ");
  EXPECT_EQ(deep[2], "  \u00B7  ") << "the identity shows where the table is not";
  EXPECT_TRUE(transferCurve(identity, 1, 5).empty());
}

}  // namespace
}  // namespace lumora::sim::terminal
