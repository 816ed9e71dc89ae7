// What the app tells a user whose display will not go brighter: why, in the alert, and the
// diagnosis to paste into a bug report, with its trail of events.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/DiagnosticReport.h"
#include "core/HeadroomMethodFixture.h"
#include "support/AllocationCount.h"

namespace lumora {
namespace {

using testing::FakePlatform;
using testing::HeadroomMethodTest;
using testing::panel;

// Where each text is found in the report, in order; npos for a text missing or out of order.
std::size_t inOrder(const std::string& report, const std::vector<std::string>& texts) {
  std::size_t at = 0;
  for (const std::string& text : texts) {
    at = report.find(text, at);
    if (at == std::string::npos) {
      ADD_FAILURE() << "\"" << text << "\" missing or out of order in:\n" << report;
      return at;
    }
    at += text.size();
  }
  return at;
}

TEST(DiagnosisTest, EachCauseOfUnavailableSaysItsOwnWhyWithACopyButton) {
  struct Case {
    std::string name;
    std::function<void(FakePlatform&)> arrange;
    std::string says;
  };
  const std::vector<Case> cases = {
      {"no headroom", [](FakePlatform&) {}, "This can pass: pick a level again in a moment."},
      {"no XDR panel", [](FakePlatform& fake) { fake.displays.builtIn.reset(); },
       "This Mac has no built-in XDR display"},
      {"tables not applied",
       [](FakePlatform& fake) {
         fake.extendedDynamicRange.givesHeadroom = true;
         fake.displays.clampsBoostedTables = true;
       },
       "this version of macOS ignores values above SDR white"},
      {"a preset that fixes the brightness",
       [](FakePlatform& fake) {
         testing::FakeValues photography = testing::FakeWindowServer::standardPreset();
         photography["PresetName"] = std::string("Photography (P3-D65)");
         photography["PresetMaxSDRLuminance"] = 160.0;
         photography["PresetMaxHDRLuminance"] = 1000.0;
         fake.windowServer.presets[panel][4] = photography;
         fake.windowServer.activeIndex[panel] = 4;
       },
       "The display's preset, \"Photography (P3-D65)\", holds its brightness at a fixed level "
       "that cannot go above 500 nits. Choose the XDR preset (the one whose name ends in \"1600 "
       "nits)\") in System Settings \u203A Displays \u203A Preset"},
      {"presets refused and no headroom",
       [](FakePlatform& fake) {
         fake.operatingSystem.release = {26, 2, 0};
         fake.windowServer.setPresetStatus = 1001;
       },
       "macOS took neither the brightness preset nor the request for EDR headroom"},
  };
  std::vector<std::string> texts;
  for (const Case& c : cases) {
    FakePlatform fake;
    testing::FakeClock clock;
    fake.operatingSystem.release = {26, 4, 0};
    fake.displays.builtIn = panel;
    fake.extendedDynamicRange.headroom[panel] = 3.2;
    fake.extendedDynamicRange.givesHeadroom = false;
    c.arrange(fake);
    SharedControllers controllers(fake.platform, clock.function());
    const auto delegate = AppDelegate::create(fake.platform, controllers);
    delegate->applicationDidFinishLaunching();
    delegate->performMenuAction("setNits:", platform::MenuItemSender{.tag = 1250});
    for (int i = 0; i < 4; ++i) {
      clock.advance(std::chrono::seconds(1));
      fake.timers.fireAll();
    }
    fake.mainQueue.drain();
    ASSERT_EQ(fake.alerts.shown.size(), 1u) << c.name;
    const platform::Alert& alert = fake.alerts.shown[0];
    EXPECT_EQ(alert.messageText, "XDR Brightness Unavailable") << c.name;
    EXPECT_EQ(alert.buttonTitles, (std::vector<std::string>{"OK", "Copy Diagnostics"})) << c.name;
    EXPECT_NE(alert.informativeText.find(c.says), std::string::npos)
        << c.name << ": " << alert.informativeText;
    EXPECT_FALSE(controllers.xdr().isXDREnabled()) << c.name;
    texts.push_back(alert.informativeText);
  }
  for (std::size_t i = 0; i < texts.size(); ++i) {
    for (std::size_t j = i + 1; j < texts.size(); ++j)
      EXPECT_NE(texts[i], texts[j]) << cases[i].name << " and " << cases[j].name;
  }
}

TEST_F(HeadroomMethodTest, CopyDiagnosticsPutsTheReportOnThePasteboard) {
  fake_.extendedDynamicRange.givesHeadroom = false;
  fake_.alerts.response = platform::alertFirstButtonReturn + 1;
  launch();
  pick("setNits:", 1250);
  for (int i = 0; i < 4; ++i)
    second();
  fake_.mainQueue.drain();
  ASSERT_TRUE(fake_.pasteboard.contents.has_value());
  const std::string& report = *fake_.pasteboard.contents;
  EXPECT_TRUE(report.starts_with("Lumora Virir diagnostics\n")) << report;
  inOrder(report, {"Unavailable: the display gave no EDR headroom", "headroom asked for",
                   "headroom given up: no headroom came within the wait",
                   "alert: XDR Brightness Unavailable"});

  // A pasteboard that does not take it is said once, and the next copy that works is quiet.
  fake_.pasteboard.takes = false;
  pick("copyDiagnostics");
  pick("copyDiagnostics");
  ASSERT_EQ(fake_.console.errors.size(), 2u) << "the unavailability, then the copy";
  EXPECT_NE(fake_.console.errors[1].find("could not be copied"), std::string::npos);
  fake_.pasteboard.takes = true;
  pick("copyDiagnostics");
  EXPECT_EQ(fake_.pasteboard.copies, 2);
  EXPECT_EQ(fake_.console.errors.size(), 2u);
}

TEST_F(HeadroomMethodTest, TheReportTellsTheRunInItsSectionsAndItsEventsInOrder) {
  // Presets refused on a release before 26.3: the same level goes on through headroom.
  fake_.operatingSystem.release = {26, 2, 0};
  fake_.windowServer.setPresetStatus = 1001;
  fake_.displays.builtIn = panel;
  fake_.displays.otherDisplays = {5};
  fake_.userDefaults.values["pauseWhenHot"] = false;
  launch();
  clock_.advance(std::chrono::seconds(2));
  pick("setNits:", 1250);
  second();
  fake_.systemEvents.willSleep();
  clock_.advance(std::chrono::minutes(10));
  fake_.systemEvents.didWake();
  for (int i = 0; i < 3; ++i)
    second();

  const std::string report = delegate_->diagnosticReport();
  inOrder(report, {
                      "Lumora Virir diagnostics\n",
                      "App: Lumora Virir ",
                      "From: ~/Applications/Lumora Virir.app\n",
                      "macOS: 26.2.0\n",
                      "Mac: Mac15,7\n",
                      "  Method: EDR headroom, macOS did not take the XDR brightness preset "
                      "(switched at 2.0 s)\n",
                      "  Level: 1250 nits\n",
                      "  Display 7: built in, main, the one XDR drives\n",
                      "    Active preset: 0 \"Standard\", SDR 500 nits, HDR 1600 nits\n",
                      "    Slot 11: empty\n",
                      "    EDR headroom: 3.2 now, 3.2 potential; EDR window shown\n",
                      "    Gamma table: the app's, peak 2.5\n",
                      "  Display 5: external\n",
                      "    Active preset: none\n",
                      "    Gamma table: none of the app's (the calibration)\n",
                      "  On battery power: off, below 20% battery: on, when the Mac is hot: off\n",
                      "  Now: not paused\n",
                      "  Power: on AC, battery 100%; thermal state nominal\n",
                      "  lastNitsValue: 1250\n",
                      "  pauseWhenHot: false\n",
                      "  shortcutBrighter: (not set)\n",
                      "Last events",
                      "     0.0 s  method: presets, by the release (before 26.3)\n",
                      "     2.0 s  preset refused: 1250 nits\n",
                      "     2.0 s  switched to EDR headroom: macOS did not take the XDR brightness "
                      "preset\n",
                      "     2.0 s  headroom asked for\n",
                      "     2.0 s  headroom arrived: 3.2, after 0.0 s\n",
                      "     2.0 s  table loaded: boost 2.5\n",
                      "     3.0 s  sleep\n",
                      "   603.0 s  wake\n",
                      "headroom asked for again\n",
                      "headroom arrived: 3.2",
                  });
  EXPECT_EQ(report.find("/Users/ada"), std::string::npos) << "no home path";
  EXPECT_EQ(report.find("ada"), std::string::npos) << "no user name";
}

TEST(DiagnosisTest, TheHomeFolderIsATildeOnlyWhereItIsTheWholeFolder) {
  EXPECT_EQ(withHomeAsTilde("From: /Users/ada/Apps/X.app\n", "/Users/ada"), "From: ~/Apps/X.app\n");
  EXPECT_EQ(withHomeAsTilde("/Users/adam/X and /Users/ada", "/Users/ada/"), "/Users/adam/X and ~");
  EXPECT_EQ(withHomeAsTilde("/Users/ada/a \"/Users/ada\"", "/Users/ada"), "~/a \"~\"");
  EXPECT_EQ(withHomeAsTilde("/x", "/"), "/x") << "a root home hides nothing";
}

TEST(DiagnosisTest, TheTrailKeepsTheLastFiftyInOrderWithoutAllocating) {
  testing::FakeClock clock;
  EventTrail trail(clock.function());
  const std::size_t before = testing::allocationCount();
  for (int i = 0; i < 200; ++i) {
    clock.advance(std::chrono::milliseconds(100));
    trail.record(EventTrail::Event::headroomLost, i);
  }
  EXPECT_EQ(testing::allocationCount(), before) << "no allocation per event";
  ASSERT_EQ(trail.size(), EventTrail::capacity);
  std::vector<double> kept;
  trail.forEach([&kept](const EventTrail::Record& record) { kept.push_back(record.value); });
  ASSERT_EQ(kept.size(), 50u);
  for (std::size_t i = 0; i < kept.size(); ++i)
    EXPECT_EQ(kept[i], 150.0 + static_cast<double>(i));

  // What follows the headroom once a second replaces itself rather than the rest.
  trail.update(EventTrail::Event::tableLoaded, 2.0);
  trail.update(EventTrail::Event::tableLoaded, 2.2);
  std::vector<std::string> lines;
  trail.forEach([&lines](const EventTrail::Record& record) {
    lines.push_back(EventTrail::describe(record));
  });
  EXPECT_EQ(lines.front(), "    15.2 s  headroom lost: 151");
  EXPECT_EQ(lines.back(), "    20.0 s  table loaded: boost 2.2");
  EXPECT_EQ(lines[lines.size() - 2], "    20.0 s  headroom lost: 199");
}

}  // namespace
}  // namespace lumora
