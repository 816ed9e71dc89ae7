// The commands that come without the menu, as URLs, against the fakes: each does what its menu
// entry does, and anything else is refused whole.

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "app/AppDelegate.h"
#include "fakes/FakePlatform.h"
#include "ui/RemoteCommand.h"

namespace lumora {
namespace {

using testing::FakePlatform;

// An app launched on the fakes, driven through its menu's actions and through URLs.
struct LaunchedApp {
  LaunchedApp() {
    delegate = AppDelegate::create(fake.platform, controllers);
    delegate->applicationDidFinishLaunching();
  }
  void pick(std::string_view selector, std::int64_t tag = 0) {
    delegate->performMenuAction(selector, platform::MenuItemSender{tag});
  }
  platform::URLAnswer open(const std::string& url) { return fake.openedURLs.open(url); }

  // Everything a command may change: the stored defaults, the display's level and table, and
  // the alerts waiting to come up.
  std::string state() {
    std::ostringstream text;
    for (const auto& [key, value] : fake.userDefaults.values) {
      text << key << "=";
      std::visit([&text](const auto& each) { text << each; }, value);
      text << " ";
    }
    text << "| preset " << fake.activeIndex() << " at " << controllers.xdr().currentNits()
         << " | deep blacks " << controllers.deepBlacks().isEnabled() << " level "
         << DeepBlacksController::rawValue(controllers.deepBlacks().currentLevel()) << " peak "
         << fake.displays.peakInForce(fake.displays.mainDisplay) << " | queued "
         << fake.mainQueue.pending.size();
    return text.str();
  }

  FakePlatform fake;
  SharedControllers controllers{fake.platform};
  std::shared_ptr<AppDelegate> delegate;
};

struct Twin {
  const char* what;
  std::function<void(LaunchedApp&)> before;
  std::string url;
  std::string selector;
  std::int64_t tag;
};

TEST(RemoteControlTest, EveryCommandLeavesWhatItsMenuEntryLeaves) {
  const auto at = [](std::int64_t nits) {
    return [nits](LaunchedApp& app) { app.pick("setNits:", nits); };
  };
  const auto deepBlacks = [](std::int64_t level) {
    return [level](LaunchedApp& app) {
      app.pick("setDeepBlacksLevel:", level);
      app.fake.mainQueue.drain();  // the warning, answered
    };
  };
  const auto nothing = [](LaunchedApp&) {};
  const auto remembered = [](LaunchedApp& app) {
    app.fake.userDefaults.values["lastNitsValue"] = 1250.0;
  };
  const std::vector<Twin> twins{
      {"on, from off", remembered, "lumora-virir://xdr/on", "toggleXDR", 0},
      {"on, nothing remembered", nothing, "lumora-virir://xdr/on", "toggleXDR", 0},
      {"off", at(1250), "lumora-virir://xdr/off", "setNits:", 500},
      {"off, when off", nothing, "lumora-virir://xdr/off", "setNits:", 500},
      {"toggle, from off", remembered, "lumora-virir://xdr/toggle", "toggleXDR", 0},
      {"toggle, from on", at(1000), "lumora-virir://xdr/toggle", "toggleXDR", 0},
      {"a level", nothing, "lumora-virir://xdr/1250", "setNits:", 1250},
      {"a level the menu lacks", at(1600), "lumora-virir://xdr/700", "setNits:", 700},
      {"SDR by number", at(1600), "lumora-virir://xdr/500", "setNits:", 500},
      {"up", at(1000), "lumora-virir://xdr/up", "setNits:", 1250},
      {"up, from SDR", nothing, "lumora-virir://xdr/up", "setNits:", 800},
      {"down", at(1000), "lumora-virir://xdr/down", "setNits:", 800},
      {"down, to SDR", at(800), "lumora-virir://xdr/down", "setNits:", 500},
      {"a Deep Blacks level, the first time", nothing, "lumora-virir://deep-blacks/medium",
       "setDeepBlacksLevel:", 2},
      {"the next Deep Blacks level", deepBlacks(1), "lumora-virir://deep-blacks/next",
       "setDeepBlacksLevel:", 2},
      {"Deep Blacks off", deepBlacks(3), "lumora-virir://deep-blacks/off",
       "setDeepBlacksLevel:", 0},
  };
  for (const Twin& twin : twins) {
    LaunchedApp byURL;
    LaunchedApp byMenu;
    twin.before(byURL);
    twin.before(byMenu);
    const platform::URLAnswer answer = byURL.open(twin.url);
    byMenu.pick(twin.selector, twin.tag);
    EXPECT_TRUE(answer.done) << twin.what << ": " << answer.text;
    EXPECT_EQ(byURL.state(), byMenu.state()) << twin.what;
    EXPECT_TRUE(byURL.fake.console.errors.empty()) << twin.what;
  }
}

TEST(RemoteControlTest, UpAtTheTopAndDownAtSDRSucceedAndChangeNothing) {
  for (const bool up : {true, false}) {
    LaunchedApp app;
    if (up) app.pick("setNits:", 1600);
    const std::string before = app.state();
    const int writes = app.fake.userDefaults.writeCount;
    const std::size_t presetWrites = app.fake.windowServer.writes.size();
    app.fake.log.clear();

    const platform::URLAnswer answer =
        app.open(up ? "lumora-virir://xdr/up" : "lumora-virir://xdr/down");
    EXPECT_TRUE(answer.done);
    EXPECT_EQ(answer.text,
              up ? "XDR on, 1600 nits, the highest level" : "XDR off, the lowest level");
    EXPECT_EQ(app.state(), before);
    EXPECT_EQ(app.fake.userDefaults.writeCount, writes);
    EXPECT_EQ(app.fake.windowServer.writes.size(), presetWrites);
    EXPECT_EQ(app.fake.log.count("statusItem.setMenu"), 0) << "not even a refresh";
  }
}

TEST(RemoteControlTest, StepsGoFromTheLevelChosenEvenOneTheMenuLacks) {
  LaunchedApp app;
  app.open("lumora-virir://xdr/700");
  EXPECT_DOUBLE_EQ(app.controllers.xdr().currentNits(), 700.0);
  EXPECT_EQ(app.open("lumora-virir://xdr/up").text, "XDR on, 800 nits");
  EXPECT_EQ(app.open("lumora-virir://xdr/up").text, "XDR on, 1000 nits");
  app.open("lumora-virir://xdr/700");
  EXPECT_EQ(app.open("lumora-virir://xdr/down").text, "XDR off");
  EXPECT_EQ(app.fake.activeIndex(), 0);

  // Within the menu's mark of a level, the display is at that level.
  EXPECT_EQ(ui::RemoteControl::steppedLevel(1230.0, true), 1600);
  EXPECT_EQ(ui::RemoteControl::steppedLevel(1230.0, false), 1000);
  EXPECT_EQ(ui::RemoteControl::steppedLevel(1580.0, true), std::nullopt);
}

TEST(RemoteControlTest, OnWhileOnDoesNothingAndSucceeds) {
  LaunchedApp app;
  app.pick("setNits:", 1000);
  const std::string before = app.state();
  const std::size_t presetWrites = app.fake.windowServer.writes.size();
  const platform::URLAnswer answer = app.open("lumora-virir://xdr/on");
  EXPECT_TRUE(answer.done);
  EXPECT_EQ(answer.text, "XDR on, 1000 nits already");
  EXPECT_EQ(app.state(), before);
  EXPECT_EQ(app.fake.windowServer.writes.size(), presetWrites);
}

TEST(RemoteControlTest, NextDeepBlacksGoesRoundAndWarnsOnlyAtTheFirstSwitchOn) {
  LaunchedApp app;
  std::vector<std::string> answers;
  for (int i = 0; i < 5; ++i) {
    answers.push_back(app.open("lumora-virir://deep-blacks/next").text);
    if (i == 0) {
      EXPECT_TRUE(app.fake.alerts.shown.empty()) << "the answer comes before the warning";
      EXPECT_EQ(app.fake.mainQueue.pending.size(), 1u);
    }
    app.fake.mainQueue.drain();
  }
  EXPECT_EQ(answers, (std::vector<std::string>{"Deep Blacks Subtle", "Deep Blacks Medium",
                                               "Deep Blacks Deep", "Deep Blacks Off",
                                               "Deep Blacks Subtle"}));
  ASSERT_EQ(app.fake.alerts.shown.size(), 1u);
  EXPECT_EQ(app.fake.alerts.shown[0].messageText, DeepBlacksController::warningMessageText);
}

struct Refusal {
  std::string url;
  std::string named;  // the part the reason must name
};

TEST(RemoteControlTest, AnythingElseIsRefusedWholeNamingThePartThatIsWrong) {
  const std::vector<Refusal> refusals{
      {"", "\"\" is not the lumora-virir: scheme"},
      {"https://xdr/up", "\"https\" is not the lumora-virir: scheme"},
      {" lumora-virir://xdr/up", "\" lumora-virir\""},
      {"lumora-virir://", "the command is empty"},
      {"lumora-virir://brightness/up", "unknown command \"brightness\""},
      {"lumora-virir://xdr", "\"xdr\" needs an action"},
      {"lumora-virir://xdr/", "\"xdr\" needs an action"},
      {"lumora-virir://xdr/sideways", "unknown XDR action \"sideways\""},
      {"lumora-virir://xdr/499", "\"499\" is out of range"},
      {"lumora-virir://xdr/1601", "\"1601\" is out of range"},
      {"lumora-virir://xdr/-800", "\"-800\" is out of range"},
      {"lumora-virir://xdr/99999999999999999999999", "\"99999999999999999999999\" is out of range"},
      {"lumora-virir://xdr/1250.5", "\"1250.5\" is not a whole number"},
      {"lumora-virir://xdr/1e3", "\"1e3\" is not a whole number"},
      {"lumora-virir://xdr/1250#top", "\"1250#top\" is not a whole number"},
      {"lumora-virir://xdr/up?now=1", "unknown XDR action \"up?now=1\""},
      {"lumora-virir://xdr/up/now", "nothing may follow \"xdr/up\", and \"/now\" does"},
      {"lumora-virir://xdr/up/", "nothing may follow \"xdr/up\", and \"/\" does"},
      {"lumora-virir://deep-blacks", "\"deep-blacks\" needs a level"},
      {"lumora-virir://deep-blacks/darkest", "unknown Deep Blacks level \"darkest\""},
      {"lumora-virir://deep-blacks/2", "unknown Deep Blacks level \"2\""},
      {"lumora-virir://xdr/on\n", "unknown XDR action \"on\\x0A\""},
      {"lumora-virir://xdr/" + std::string(240, '1'), "the command is 259 bytes long"},
  };
  for (const Refusal& refusal : refusals) {
    LaunchedApp app;
    const std::string before = app.state();
    const int writes = app.fake.userDefaults.writeCount;
    app.fake.windowServer.writes.clear();
    const platform::URLAnswer answer = app.open(refusal.url);
    EXPECT_FALSE(answer.done) << refusal.url;
    EXPECT_NE(answer.text.find(refusal.named), std::string::npos)
        << refusal.url << " was refused with: " << answer.text;
    EXPECT_EQ(app.state(), before) << refusal.url;
    EXPECT_EQ(app.fake.userDefaults.writeCount, writes) << refusal.url;
    EXPECT_TRUE(app.fake.windowServer.writes.empty()) << refusal.url;
    EXPECT_TRUE(app.fake.alerts.shown.empty() && app.fake.mainQueue.pending.empty()) << refusal.url;
    ASSERT_EQ(app.fake.console.errors.size(), 1u) << refusal.url;
    EXPECT_NE(app.fake.console.errors[0].find(answer.text), std::string::npos);
    EXPECT_EQ(app.fake.console.errors[0].find('\n'), std::string::npos) << "one line";
  }
}

TEST(RemoteControlTest, CommandsAreReadInAnyCaseAndWrittenBackTheSame) {
  for (const std::string text : {"xdr/on", "xdr/off", "xdr/toggle", "xdr/up", "xdr/down", "xdr/500",
                                 "xdr/1600", "deep-blacks/off", "deep-blacks/subtle",
                                 "deep-blacks/medium", "deep-blacks/deep", "deep-blacks/next"}) {
    const ui::ParsedCommand parsed = ui::parseCommandURL("lumora-virir://" + text);
    ASSERT_TRUE(parsed.command) << text << ": " << parsed.refusal;
    EXPECT_EQ(ui::commandText(*parsed.command), text);
    std::string upper = "LUMORA-VIRIR:" + text;
    for (char& c : upper)
      c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(ui::parseCommandURL(upper).command, parsed.command) << upper;
  }
}

}  // namespace
}  // namespace lumora
