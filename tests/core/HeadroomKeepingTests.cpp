// The headroom method while the Mac moves under it: headroom that goes away and comes back, the
// lock screen, sleep, Spaces, a release that ignores boosted tables, and what redraws the EDR
// window.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/HeadroomMethodFixture.h"
#include "support/MenuEntries.h"

namespace lumora {
namespace {

using testing::HeadroomMethodTest;
using testing::panel;

class HeadroomKeepingTest : public HeadroomMethodTest {
 protected:
  void SetUp() override {
    launch();
    pick("setNits:", 1250);
    ASSERT_FLOAT_EQ(fake_.displays.peakInForce(panel), 2.5f);
  }
  void seconds(int count) {
    for (int i = 0; i < count; ++i)
      second();
  }
  void loseHeadroom() { fake_.extendedDynamicRange.givesHeadroom = false; }
  void regainHeadroom() { fake_.extendedDynamicRange.givesHeadroom = true; }
  // Nothing said or stored: no alert, no line on standard error, no preference written.
  void expectQuiet(const std::string& when) {
    fake_.mainQueue.drain();
    EXPECT_TRUE(fake_.alerts.shown.empty()) << when;
    EXPECT_TRUE(fake_.console.errors.empty()) << when;
    EXPECT_EQ(fake_.log.matching("defaults.set").size(), storedBefore_) << when;
  }
  std::string capLine() const {
    for (const platform::MenuItem& item : menu().items) {
      if (item.title.starts_with("Now ")) return item.title;
    }
    return "";
  }

  std::size_t storedBefore_ = 0;
};

TEST_F(HeadroomKeepingTest, TheTableFollowsLostHeadroomDownAtOnceAndComesBackWithIt) {
  storedBefore_ = fake_.log.matching("defaults.set").size();
  const int draws = fake_.extendedDynamicRange.draws;
  fake_.extendedDynamicRange.headroom[panel] = 1.0;
  second();
  EXPECT_FLOAT_EQ(fake_.displays.peakInForce(panel), 1.0f) << "the base, at that same refresh";
  EXPECT_EQ(fake_.extendedDynamicRange.draws, draws + 1) << "asked again: the window redrawn";
  EXPECT_DOUBLE_EQ(xdr().currentNits(), 1250.0) << "the level stays chosen";
  EXPECT_EQ(markedLevels(), std::vector<std::string>{"250% \u2013 1250 nits"});
  EXPECT_EQ(capLine(), "Now 500 nits: waiting for the display's headroom");

  // Headroom that comes back a little short caps the boost; then all of it.
  fake_.extendedDynamicRange.headroom[panel] = 2.0;
  second();
  EXPECT_FLOAT_EQ(fake_.displays.peakInForce(panel), 2.0f);
  EXPECT_EQ(capLine(), "Now 1000 nits: the display allows no more");
  fake_.extendedDynamicRange.headroom[panel] = 3.2;
  second();
  EXPECT_FLOAT_EQ(fake_.displays.peakInForce(panel), 2.5f);
  EXPECT_EQ(capLine(), "");
  expectQuiet("headroom lost and found");
}

TEST_F(HeadroomKeepingTest, LostHeadroomIsAskedForAgainLessAndLessOftenAndAtMostOnceAMinute) {
  storedBefore_ = fake_.log.matching("defaults.set").size();
  loseHeadroom();
  std::vector<int> askedAt;
  int draws = fake_.extendedDynamicRange.draws;
  for (int t = 1; t <= 600; ++t) {
    second();
    if (fake_.extendedDynamicRange.draws != draws) askedAt.push_back(t);
    draws = fake_.extendedDynamicRange.draws;
  }
  ASSERT_GE(askedAt.size(), 8u);
  EXPECT_EQ(askedAt.front(), 1) << "at once";
  std::vector<int> gaps;
  for (std::size_t i = 1; i < askedAt.size(); ++i)
    gaps.push_back(askedAt[i] - askedAt[i - 1]);
  for (std::size_t i = 1; i < gaps.size(); ++i)
    EXPECT_GE(gaps[i], gaps[i - 1]) << "the interval widens, never narrows";
  EXPECT_LE(gaps.front(), 6) << "the first pause is a short one";
  EXPECT_GE(gaps.back(), 60) << "at most once a minute";
  EXPECT_LE(gaps.back(), 65);
  EXPECT_DOUBLE_EQ(xdr().currentNits(), 1250.0) << "still chosen, ten minutes on";
  expectQuiet("ten minutes without headroom");

  // It comes back by itself with the headroom, and the next loss is asked for at once again.
  regainHeadroom();
  second();
  EXPECT_FLOAT_EQ(fake_.displays.peakInForce(panel), 2.5f);
  loseHeadroom();
  draws = fake_.extendedDynamicRange.draws;
  second();
  EXPECT_EQ(fake_.extendedDynamicRange.draws, draws + 1);
}

TEST_F(HeadroomKeepingTest, TheLockScreenTakesTheBoostDownQuietlyAndUnlockingBringsItBack) {
  storedBefore_ = fake_.log.matching("defaults.set").size();
  fake_.systemEvents.screenLocked();
  EXPECT_FLOAT_EQ(fake_.displays.peakInForce(panel), 1.0f) << "down at once";
  loseHeadroom();  // as macOS does while locked
  const int draws = fake_.extendedDynamicRange.draws;
  seconds(300);
  EXPECT_EQ(fake_.extendedDynamicRange.draws, draws) << "nothing asked while locked";
  expectQuiet("locked for five minutes");

  regainHeadroom();
  fake_.systemEvents.screenUnlocked();
  second();
  EXPECT_FLOAT_EQ(fake_.displays.peakInForce(panel), 1.0f) << "the displays settle first";
  EXPECT_EQ(fake_.extendedDynamicRange.draws, draws);
  seconds(2);
  EXPECT_EQ(fake_.extendedDynamicRange.draws, draws + 1) << "then asked once";
  EXPECT_FLOAT_EQ(fake_.displays.peakInForce(panel), 2.5f);
  EXPECT_DOUBLE_EQ(xdr().currentNits(), 1250.0);
  expectQuiet("after unlocking");
}

TEST_F(HeadroomKeepingTest, SleepTakesTheBoostDownAndAWakeThatGivesNoHeadroomAtFirstIsNoFailure) {
  storedBefore_ = fake_.log.matching("defaults.set").size();
  fake_.systemEvents.willSleep();
  fake_.systemEvents.screensDidSleep();
  EXPECT_FLOAT_EQ(fake_.displays.peakInForce(panel), 1.0f);
  loseHeadroom();
  fake_.displays.restoreColorSyncSettings();
  fake_.systemEvents.didWake();
  fake_.systemEvents.screensDidWake();
  // macOS refuses headroom for a while after wake: the asking goes on quietly.
  for (int t = 0; t < 20; ++t) {
    second();
    EXPECT_LE(fake_.displays.peakInForce(panel), 1.0f) << t;
  }
  regainHeadroom();
  seconds(12);
  EXPECT_FLOAT_EQ(fake_.displays.peakInForce(panel), 2.5f);
  expectQuiet("a slow wake");
}

TEST_F(HeadroomKeepingTest, EachEventRedrawsTheWindowOnceAndNothingElseDoes) {
  const std::vector<std::pair<std::string, std::function<void()>>> events = {
      {"wake", [this] { fake_.systemEvents.didWake(); }},
      {"screens wake", [this] { fake_.systemEvents.screensDidWake(); }},
      {"Space change", [this] { fake_.systemEvents.activeSpaceChanged(); }},
      {"unlock",
       [this] {
         fake_.systemEvents.screenLocked();
         fake_.systemEvents.screenUnlocked();
       }},
      {"display change", [this] { fake_.systemEvents.displaysReconfigured(); }},
      {"new request",
       [this] {
         pick("setNits:", 500);
         pick("setNits:", 1000);
       }},
  };
  for (const auto& [name, post] : events) {
    seconds(5);
    const int draws = fake_.extendedDynamicRange.draws;
    post();
    seconds(10);
    EXPECT_EQ(fake_.extendedDynamicRange.draws, draws + 1) << name;
    EXPECT_GT(fake_.displays.peakInForce(panel), 1.0f) << name;
  }
  // Idle seconds and a level changed while the headroom holds draw nothing.
  const int draws = fake_.extendedDynamicRange.draws;
  seconds(30);
  pick("setNits:", 1600);
  seconds(5);
  EXPECT_EQ(fake_.extendedDynamicRange.draws, draws);
  EXPECT_FLOAT_EQ(fake_.displays.peakInForce(panel), 3.2f);
}

TEST_F(HeadroomKeepingTest, AReleaseThatIgnoresBoostedTablesIsUnavailableNeverStopped) {
  pick("setNits:", 500);
  fake_.displays.clampsBoostedTables = true;
  pick("setNits:", 1250);
  EXPECT_FALSE(xdr().isXDREnabled());
  EXPECT_FLOAT_EQ(fake_.displays.peakInForce(panel), 1.0f);
  EXPECT_TRUE(fake_.extendedDynamicRange.windowsShown().empty());
  seconds(5);
  fake_.mainQueue.drain();
  ASSERT_EQ(fake_.alerts.shown.size(), 1u);
  EXPECT_EQ(fake_.alerts.shown[0].messageText, "XDR Brightness Unavailable");
  ASSERT_EQ(fake_.console.errors.size(), 1u);
  EXPECT_NE(fake_.console.errors[0].find("did not apply it"), std::string::npos)
      << fake_.console.errors[0];
  EXPECT_EQ(fake_.console.errors[0].find("another app"), std::string::npos);
}

TEST_F(HeadroomKeepingTest, ALevelPickedWhileLockedWaitsForTheUnlock) {
  fake_.systemEvents.screenLocked();
  pick("setNits:", 1600);
  loseHeadroom();
  seconds(10);
  fake_.mainQueue.drain();
  EXPECT_TRUE(fake_.alerts.shown.empty()) << "no Unavailable while locked";
  EXPECT_DOUBLE_EQ(xdr().currentNits(), 1600.0);
  regainHeadroom();
  fake_.systemEvents.screenUnlocked();
  seconds(3);
  EXPECT_FLOAT_EQ(fake_.displays.peakInForce(panel), 3.2f);
}

}  // namespace
}  // namespace lumora
