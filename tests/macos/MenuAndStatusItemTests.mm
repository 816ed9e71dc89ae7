// The status item on a real Mac: native menus built from the app's values, the bridge that carries
// their actions to the delegate, the status button, and the symbols the app draws.

#import <AppKit/AppKit.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "macos/RunLoop.h"
#include "platform/macos/MacApplication.h"
#include "platform/macos/MacMenuSlider.h"
#include "platform/macos/MacStatusBar.h"
#include "platform/macos/MacStrings.h"
#include "platform/macos/MacSymbolImages.h"
#include "support/MenuEntries.h"

namespace lumora::macos {
namespace {

using Performed = std::vector<std::pair<std::string, std::int64_t>>;

// Answers the actions it is given and writes down each one performed, with the sender's tag, and
// when asked the whole sender.
class AnsweringDelegate final : public platform::ApplicationDelegate {
 public:
  AnsweringDelegate(std::set<std::string, std::less<>> answered, Performed &performed,
                    std::vector<platform::MenuItemSender> *senders = nullptr)
      : answered_(std::move(answered)), performed_(performed), senders_(senders) {}

  void applicationDidFinishLaunching() override {}
  void applicationWillTerminate() override {}
  bool respondsToMenuAction(std::string_view selector) const override {
    return answered_.contains(selector);
  }
  void performMenuAction(std::string_view selector,
                         const platform::MenuItemSender &sender) override {
    performed_.emplace_back(std::string(selector), sender.tag);
    if (senders_ != nullptr) senders_->push_back(sender);
  }
  std::string diagnosticReport() override { return "report"; }

 private:
  std::set<std::string, std::less<>> answered_;
  Performed &performed_;
  std::vector<platform::MenuItemSender> *senders_;
};

platform::MenuItem entry(std::string title, std::optional<platform::StaticText> action,
                         std::int64_t tag = 0) {
  platform::MenuItem item;
  item.title = std::move(title);
  item.action = action;
  item.tag = tag;
  return item;
}

// The status menu's kinds of entries: a header, actions the delegate answers and one it does not,
// an answered action the value switches off, a line the value switches on, and a submenu.
platform::Menu statusMenu() {
  platform::Menu levels;
  levels.items.push_back(entry("Medium", platform::StaticText("setDeepBlacksLevel:"), 2));

  platform::Menu menu;
  platform::MenuItem header = entry("SDR Mode", std::nullopt);
  header.enabled = false;
  menu.items.push_back(header);
  menu.items.push_back(platform::MenuItem::separator());
  menu.items.push_back(entry("250% - 1250 nits", platform::StaticText("setNits:"), 1250));
  menu.items.push_back(entry("Disable XDR", platform::StaticText("toggleXDR")));
  menu.items.push_back(entry("Launch at Login", platform::StaticText("toggleLaunchAtLogin")));
  platform::MenuItem reset = entry("Reset All Tweaks", platform::StaticText("resetAllTweaks"));
  reset.enabled = false;
  menu.items.push_back(reset);
  platform::MenuItem note = entry("Version 1.5.0", std::nullopt);
  note.enabled = true;
  menu.items.push_back(note);
  platform::MenuItem deepBlacks = entry("Deep Blacks", std::nullopt);
  deepBlacks.submenu = std::make_shared<const platform::Menu>(levels);
  menu.items.push_back(deepBlacks);
  return menu;
}

std::vector<std::string> enabledTitles(NSMenu *menu) {
  std::vector<std::string> titles;
  for (NSMenuItem *item in menu.itemArray) {
    if (item.enabled && ![item isSeparatorItem]) titles.push_back(fromNSString(item.title));
  }
  return titles;
}

TEST(MacMenuBridgeTest, EntriesAreEnabledAsTheValueSaysOrForTheActionsTheDelegateAnswers) {
  Performed performed;
  const auto delegate = std::make_shared<AnsweringDelegate>(
      std::set<std::string, std::less<>>{"setNits:", "toggleXDR", "resetAllTweaks",
                                         "setDeepBlacksLevel:"},
      performed);
  LMVDelegateBridge *bridge = [[LMVDelegateBridge alloc] init];
  [bridge setDelegate:delegate];

  NSMenu *menu = makeMenu(statusMenu(), bridge);
  [menu update];
  EXPECT_EQ(enabledTitles(menu), (std::vector<std::string>{"250% - 1250 nits", "Disable XDR",
                                                           "Version 1.5.0", "Deep Blacks"}))
      << "the header and the entry switched off stay disabled although the delegate answers "
         "resetAllTweaks; an action it does not answer is disabled";
  EXPECT_EQ(enabledTitles([menu itemWithTitle:@"Deep Blacks"].submenu),
            (std::vector<std::string>{"Medium"}));
}

TEST(MacMenuBridgeTest, PickedEntriesReachTheDelegateWithTheirSelectorAndTag) {
  Performed performed;
  auto delegate = std::make_shared<AnsweringDelegate>(
      std::set<std::string, std::less<>>{"setNits:", "toggleXDR"}, performed);
  LMVDelegateBridge *bridge = [[LMVDelegateBridge alloc] init];
  [bridge setDelegate:delegate];
  NSMenu *menu = makeMenu(statusMenu(), bridge);

  [menu performActionForItemAtIndex:[menu indexOfItemWithTitle:@"250% - 1250 nits"]];
  [menu performActionForItemAtIndex:[menu indexOfItemWithTitle:@"Disable XDR"]];
  EXPECT_EQ(performed, (Performed{{"setNits:", 1250}, {"toggleXDR", 0}}));

  // The bridge does not keep the delegate: once it is gone, a pick does nothing.
  delegate.reset();
  [menu performActionForItemAtIndex:[menu indexOfItemWithTitle:@"Disable XDR"]];
  EXPECT_EQ(performed.size(), 2u);
}

TEST(MacStringsTest, TextThatIsNotUtf8BecomesTheEmptyStringNotNil) {
  NSString *invalid = toNSString("\xff\xfe broken");
  ASSERT_NE(invalid, nil);
  EXPECT_EQ(invalid.length, 0u);
  EXPECT_TRUE([toNSString("Deep Blacks \U0001F311") isEqualToString:@"Deep Blacks \U0001F311"]);

  // A nonnull parameter of AppKit gets it: the entry is made, with an empty title.
  platform::Menu menu;
  menu.items.push_back(entry("\xc3", platform::StaticText("toggleXDR")));
  NSMenu *native = makeMenu(menu, nil);
  ASSERT_EQ(native.numberOfItems, 1);
  EXPECT_EQ([native itemAtIndex:0].title.length, 0u);
}

class MacStatusItemTest : public ::testing::Test {
 protected:
  const platform::SymbolImage sun{
      "sun.max.fill", "Lumora Virir",
      platform::SymbolConfiguration{{platform::NamedColor::cyan}, platform::SymbolScale::large}};

  MacApplication application;
  MacStatusBar statusBar{application};
  std::unique_ptr<platform::StatusItem> item =
      statusBar.statusItemWithLength(platform::variableStatusItemLength);
  NSStatusBarButton *native() { return static_cast<MacStatusItem &>(*item).statusItem().button; }
};

TEST_F(MacStatusItemTest, AnUnchangedValueIsNotSetAgainAndAChangedOneIs) {
  platform::StatusButton *button = item->button();
  ASSERT_NE(button, nullptr);
  button->setTitle("");
  button->setImage(sun);
  button->setContentTintColor(platform::NamedColor::cyan);
  NSImage *image = native().image;
  ASSERT_NE(image, nil);

  // Changed behind the backend's back, so that a value set again would show.
  native().title = @"elsewhere";
  native().contentTintColor = NSColor.systemRedColor;
  button->setTitle("");
  button->setImage(sun);
  button->setContentTintColor(platform::NamedColor::cyan);
  EXPECT_TRUE([native().title isEqualToString:@"elsewhere"]);
  EXPECT_EQ(native().image, image) << "no image is made for the same symbol";
  EXPECT_TRUE([native().contentTintColor isEqual:NSColor.systemRedColor]);

  button->setTitle("X");
  button->setImage(std::nullopt);
  button->setContentTintColor(std::nullopt);
  EXPECT_TRUE([native().title isEqualToString:@"X"]);
  EXPECT_EQ(native().image, nil);
  EXPECT_EQ(native().contentTintColor, nil);
  button->setImage(sun);
  EXPECT_NE(native().image, nil);
}

TEST_F(MacStatusItemTest, TheMenuIsBuiltAgainOnlyWhenItsValueChanges) {
  const platform::Menu menu = statusMenu();
  item->setMenu(menu);
  NSMenu *built = static_cast<MacStatusItem &>(*item).statusItem().menu;
  ASSERT_NE(built, nil);
  item->setMenu(menu);
  EXPECT_EQ(static_cast<MacStatusItem &>(*item).statusItem().menu, built);

  platform::Menu changed = menu;
  changed.items[3].state = platform::ControlState::on;
  item->setMenu(changed);
  NSMenu *rebuilt = static_cast<MacStatusItem &>(*item).statusItem().menu;
  EXPECT_NE(rebuilt, built);
  EXPECT_EQ([rebuilt itemAtIndex:3].state, NSControlStateValueOn);
}

TEST(MacMenusTest, TheNativeMenuFollowsTheValue) {
  LMVDelegateBridge *target = [[LMVDelegateBridge alloc] init];
  platform::Menu menu = statusMenu();
  menu.items[3].keyEquivalent = "x";
  menu.items[3].image = platform::SymbolImage{"sun.max", "Lumora Virir", std::nullopt};
  NSMenu *native = makeMenu(menu, target);
  ASSERT_EQ(native.numberOfItems, 8);
  EXPECT_TRUE([[native itemAtIndex:0].title isEqualToString:@"SDR Mode"]);
  EXPECT_EQ([native itemAtIndex:0].action, nullptr);
  EXPECT_TRUE([[native itemAtIndex:1] isSeparatorItem]);
  NSMenuItem *toggle = [native itemAtIndex:3];
  EXPECT_EQ(toggle.action, @selector(performMenuAction:));
  EXPECT_TRUE([toggle.representedObject isEqual:@"toggleXDR"]);
  EXPECT_EQ(toggle.target, target);
  EXPECT_TRUE([toggle.keyEquivalent isEqualToString:@"x"]);
  EXPECT_NE(toggle.image, nil);
  NSMenuItem *medium = [[native itemAtIndex:7].submenu itemAtIndex:0];
  EXPECT_EQ(medium.tag, 2);
  EXPECT_TRUE([medium.representedObject isEqual:@"setDeepBlacksLevel:"]);
  EXPECT_EQ(medium.target, target);
}

// The brightness slider's entry as the core makes it, at `nits`, after a header.
platform::Menu sliderMenu(double nits, const std::string &header = "SDR Mode") {
  platform::Menu menu;
  platform::MenuItem headerEntry = entry(header, std::nullopt);
  headerEntry.enabled = false;
  menu.items.push_back(headerEntry);
  platform::MenuItem slider =
      entry("Brightness: " + std::to_string(static_cast<int>(nits)) + " nits",
            platform::StaticText("slideNits:"));
  slider.slider = testing::brightnessSlider(nits);
  menu.items.push_back(slider);
  return menu;
}

LMVMenuSliderView *sliderView(NSMenu *menu) {
  id view = [menu itemAtIndex:1].view;
  return [view isKindOfClass:[LMVMenuSliderView class]] ? view : nil;
}

TEST(MacMenuSliderTest, TheSliderViewHasTheRangeATickMarkAtEachStopAndSendsItsValue) {
  Performed performed;
  std::vector<platform::MenuItemSender> senders;
  const auto delegate = std::make_shared<AnsweringDelegate>(
      std::set<std::string, std::less<>>{"slideNits:"}, performed, &senders);
  LMVDelegateBridge *bridge = [[LMVDelegateBridge alloc] init];
  [bridge setDelegate:delegate];
  NSMenu *menu = makeMenu(sliderMenu(1100.0), bridge);

  NSMenuItem *item = [menu itemAtIndex:1];
  EXPECT_TRUE([item.title isEqualToString:@"Brightness: 1100 nits"]);
  EXPECT_EQ(item.action, nullptr) << "the slider sends the action, not a pick of the entry";
  LMVMenuSliderView *view = sliderView(menu);
  ASSERT_NE(view, nil);
  EXPECT_EQ(view.frame.size.width, menuSliderViewWidth) << "a view needs a width of its own";
  NSSlider *slider = view.slider;
  EXPECT_EQ(slider.minValue, 500.0);
  EXPECT_EQ(slider.maxValue, 1600.0);
  EXPECT_EQ(slider.doubleValue, 1100.0);
  EXPECT_TRUE([slider isContinuous]);
  EXPECT_TRUE([slider isEnabled]);
  EXPECT_FALSE([slider allowsTickMarkValuesOnly]) << "any level between the stops";
  ASSERT_EQ(slider.numberOfTickMarks, 23) << "every 50 nits, so that each stop has one";
  EXPECT_EQ([slider tickMarkValueAtIndex:6], 800.0);
  EXPECT_EQ([slider tickMarkValueAtIndex:15], 1250.0);
  id cell = slider.cell;
  ASSERT_TRUE([cell isKindOfClass:[LMVStopSliderCell class]]);
  LMVStopSliderCell *stopCell = cell;
  EXPECT_EQ(stopCell.stops.count, 5u);
  EXPECT_TRUE([view.valueLabel.stringValue isEqualToString:@"1100 nits"]);
  EXPECT_TRUE([slider.accessibilityLabel isEqualToString:@"Brightness: 1100 nits"]);

  // Outside a mouse drag, a value is sent as let go; snapping it is the app's.
  slider.doubleValue = 1320.0;
  [slider sendAction:slider.action to:slider.target];
  EXPECT_EQ(performed, (Performed{{"slideNits:", 0}}));
  ASSERT_EQ(senders.size(), 1u);
  EXPECT_EQ(senders[0].value, 1320.0);
  EXPECT_EQ(senders[0].motion, platform::SliderMotion::released);
}

TEST(MacMenuSliderTest, TickMarksFallOnEveryStopOrAreLeftOut) {
  platform::MenuSlider slider{.minimum = 500.0,
                              .maximum = 1600.0,
                              .value = 500.0,
                              .stops = {500.0, 800.0},
                              .valueLabel = "500 nits"};
  EXPECT_EQ(tickMarkCount(slider), 12) << "every 100 nits, the widest grid the stop and both ends "
                                          "fall on";
  slider.stops = {800.0, 1250.0};
  EXPECT_EQ(tickMarkCount(slider), 23);
  slider.stops = {800.5};
  EXPECT_EQ(tickMarkCount(slider), 0) << "not on whole nits";
  slider.stops = {501.0};
  EXPECT_EQ(tickMarkCount(slider), 0) << "a mark every nit is no mark at all";
  slider.maximum = slider.minimum;
  EXPECT_EQ(tickMarkCount(slider), 0);
}

TEST_F(MacStatusItemTest, AnOpenMenuIsUpdatedInPlaceOrReplacedOnceItCloses) {
  item->setMenu(sliderMenu(500.0));
  NSMenu *shown = static_cast<MacStatusItem &>(*item).statusItem().menu;
  LMVMenuWatcher *watcher = static_cast<MacStatusItem &>(*item).menuWatcher();
  ASSERT_EQ(shown.delegate, watcher);
  [watcher menuWillOpen:shown];

  item->setMenu(sliderMenu(1100.0, "XDR Enabled (220%)"));
  EXPECT_EQ(static_cast<MacStatusItem &>(*item).statusItem().menu, shown);
  EXPECT_TRUE([[shown itemAtIndex:0].title isEqualToString:@"XDR Enabled (220%)"]);
  EXPECT_EQ(sliderView(shown).slider.doubleValue, 1100.0);
  EXPECT_TRUE([sliderView(shown).valueLabel.stringValue isEqualToString:@"1100 nits"]);

  // Another entry: the open menu stays as it is until it has closed.
  platform::Menu longer = sliderMenu(1100.0, "XDR Enabled (220%)");
  longer.items.push_back(entry("Quit", platform::StaticText("quit")));
  item->setMenu(longer);
  EXPECT_EQ(static_cast<MacStatusItem &>(*item).statusItem().menu, shown);
  EXPECT_EQ(shown.numberOfItems, 2);
  [watcher menuDidClose:shown];
  ASSERT_TRUE(runloop::runUntil(
      [&] { return static_cast<MacStatusItem &>(*item).statusItem().menu != shown; },
      std::chrono::seconds(2)));
  EXPECT_EQ(static_cast<MacStatusItem &>(*item).statusItem().menu.numberOfItems, 3);
}

TEST(MacSymbolImagesTest, TheAppsSymbolsExistAndArePaintedInTheirPalette) {
  MacSymbolImages symbols;
  for (const platform::StaticText name :
       {platform::StaticText("sun.max"), platform::StaticText("sun.max.fill"),
        platform::StaticText("moon.stars.fill"), platform::StaticText("moon.fill"),
        platform::StaticText("gearshape.fill"), platform::StaticText("arrow.triangle.2.circlepath"),
        platform::StaticText("arrow.counterclockwise")}) {
    EXPECT_TRUE(symbols.systemSymbolImage(name, "Lumora Virir")) << name.view();
  }
  EXPECT_FALSE(symbols.systemSymbolImage("no.such.symbol.anywhere", "x"));

  const platform::SymbolImage moon{
      "moon.stars.fill", "Lumora Virir",
      platform::SymbolConfiguration{
          {platform::NamedColor::systemIndigo, platform::NamedColor::cyan},
          platform::SymbolScale::large}};
  NSImage *image = makeSymbolImage(moon);
  ASSERT_NE(image, nil);
  EXPECT_FALSE([image isTemplate]) << "a template would lose the palette in the menu bar";
  EXPECT_TRUE([image.accessibilityDescription isEqualToString:@"Lumora Virir"]);
}

}  // namespace
}  // namespace lumora::macos
