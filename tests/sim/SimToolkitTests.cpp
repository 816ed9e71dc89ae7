// The simulated Mac's run loop, alerts, application and menus.

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>

#include "platform/Application.h"
#include "platform/sim/EventLoop.h"
#include "platform/sim/MenuModel.h"
#include "platform/sim/SimAlerts.h"
#include "platform/sim/SimApplication.h"
#include "platform/sim/SimMainQueue.h"
#include "platform/sim/SimUpdaters.h"
#include "support/MenuEntries.h"

namespace lumora::sim {
namespace {

using namespace std::chrono_literals;

// Runs the loop until `done` or a deadline passes.
template <typename Done>
bool runUntil(EventLoop& loop, Done done, std::chrono::milliseconds limit = 2000ms) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!done() && std::chrono::steady_clock::now() < deadline)
    loop.runOnce(10ms);
  return done();
}

TEST(EventLoopTest, RepeatingTimersFireUntilInvalidatedAndOneShotsOnce) {
  EventLoop loop;
  int repeated = 0;
  int once = 0;
  auto repeating =
      loop.scheduledTimer(std::chrono::duration<double>(0.01), true, [&] { ++repeated; });
  loop.scheduledTimer(std::chrono::duration<double>(0.01), false, [&] { ++once; });
  ASSERT_TRUE(runUntil(loop, [&] { return repeated >= 3; }));
  repeating->invalidate();
  const int atInvalidation = repeated;
  runUntil(
      loop, [] { return false; }, 50ms);
  EXPECT_EQ(repeated, atInvalidation);
  EXPECT_EQ(once, 1);
  EXPECT_FALSE(repeating->isValid());
}

TEST(EventLoopTest, NonsenseIntervalsAreMadeSafe) {
  EventLoop loop;
  int fired = 0;
  loop.scheduledTimer(std::chrono::duration<double>(std::nan("")), false, [&] { ++fired; });
  loop.scheduledTimer(std::chrono::duration<double>(-5.0), false, [&] { ++fired; });
  auto never =
      loop.scheduledTimer(std::chrono::duration<double>(INFINITY), false, [&] { ++fired; });
  EXPECT_TRUE(runUntil(loop, [&] { return fired == 2; }));
  EXPECT_TRUE(never->isValid());
}

TEST(EventLoopTest, TheMainQueueRunsInOrderAndTakesWorkFromOtherThreads) {
  EventLoop loop;
  std::vector<int> order;
  loop.async([&] { order.push_back(1); });
  loop.async([&] {
    order.push_back(2);
    loop.async([&] { order.push_back(4); });
  });
  std::thread([&] { loop.async([&] { order.push_back(3); }); }).join();
  EXPECT_TRUE(runUntil(loop, [&] { return order.size() == 4; }));
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3, 4}));
}

TEST(EventLoopTest, APerformRunsInALaterPassAndWaitsWhileAMenuIsOpen) {
  EventLoop loop;
  int performed = 0;
  loop.async([&] { loop.performInLaterPass([&] { ++performed; }); });
  loop.runOnce(0ms);
  EXPECT_EQ(performed, 0) << "the pass that asked ends first";
  EXPECT_TRUE(loop.hasPerformsWaiting());
  loop.setTrackingMenu(true);
  loop.runOnce(10ms);
  EXPECT_EQ(performed, 0);
  EXPECT_TRUE(loop.hasPerformsWaiting()) << "the headless front end holds its commands meanwhile";
  loop.setTrackingMenu(false);
  loop.runOnce(10ms);
  EXPECT_EQ(performed, 1);
  EXPECT_FALSE(loop.hasPerformsWaiting());
  loop.runOnce(10ms);
  EXPECT_EQ(performed, 1) << "once";
}

TEST(SimAlertsTest, AModalAlertHoldsTimersAndTheQueueUntilAnswered) {
  EventLoop loop;
  SimAlerts alerts(loop);
  int ticks = 0;
  bool laterTaskRan = false;
  int response = 0;
  loop.scheduledTimer(std::chrono::duration<double>(0.005), true, [&] { ++ticks; });
  std::thread answerer;
  loop.async([&] {
    loop.async([&] { laterTaskRan = true; });
    platform::Alert alert;
    alert.messageText = "Question";
    alert.buttonTitles = {"Yes", "No"};
    const int ticksBefore = ticks;
    answerer = std::thread([&] {
      std::this_thread::sleep_for(50ms);
      // Answers arrive through the loop, as the front end's input does.
      loop.async([] {});
    });
    alerts.setObserver([&] {
      if (alerts.currentAlert() != nullptr) {
        EXPECT_FALSE(alerts.answer(1002)) << "no third button";
      }
    });
    // The session ends once answered; here the answer comes from a watched pipe.
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    loop.watchReadable(fds[0], [&] {
      char byte;
      [[maybe_unused]] const auto got = ::read(fds[0], &byte, 1);
      EXPECT_EQ(ticks, ticksBefore) << "timers wait during the modal session";
      EXPECT_FALSE(laterTaskRan) << "the serial main queue waits for the task that runs the alert";
      alerts.answer(1001);
    });
    std::thread([fd = fds[1]] {
      std::this_thread::sleep_for(30ms);
      [[maybe_unused]] const auto put = ::write(fd, "x", 1);
    }).detach();
    response = alerts.runModal(alert);
    loop.unwatch(fds[0]);
    ::close(fds[0]);
    ::close(fds[1]);
  });
  ASSERT_TRUE(runUntil(loop, [&] { return response != 0 && laterTaskRan; }));
  answerer.join();
  EXPECT_EQ(response, 1001);
  EXPECT_EQ(alerts.currentAlert(), nullptr);
  EXPECT_EQ(alerts.shown().size(), 1u);
}

// The app's own alerts: presented on a later turn, not from a task of the queue, so the queue's
// work (the wake and display-change handling) goes on while they wait for the user.
TEST(SimAlertsTest, AnAlertPresentedOnTheNextTurnLetsTheQueueRunMeanwhile) {
  EventLoop loop;
  SimAlerts alerts(loop);
  SimMainQueue mainQueue(loop);
  bool queuedWorkRan = false;
  int response = 0;
  // Should the queue wait behind the alert, the second button answers it, a while later.
  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  loop.watchReadable(fds[0], [&] { alerts.answer(1001); });
  std::atomic<bool> over{false};
  std::thread fallback([fd = fds[1], &over] {
    for (int waited = 0; waited < 300 && !over; ++waited)
      std::this_thread::sleep_for(10ms);
    [[maybe_unused]] const auto put = ::write(fd, "x", 1);
  });
  mainQueue.performOnNextTurn([&] {
    mainQueue.async([&] { queuedWorkRan = true; });
    alerts.setObserver([&] {
      if (alerts.currentAlert() != nullptr) mainQueue.async([&] { alerts.answer(1000); });
    });
    platform::Alert alert;
    alert.buttonTitles = {"OK", "Later"};
    response = alerts.runModal(alert);
    EXPECT_TRUE(queuedWorkRan) << "ran while the alert was up";
  });
  EXPECT_EQ(response, 0) << "not before the next turn";
  EXPECT_TRUE(runUntil(
      loop, [&] { return response != 0; }, 10s));
  EXPECT_EQ(response, 1000) << "answered by work from the queue";
  over = true;
  fallback.join();
  loop.unwatch(fds[0]);
  ::close(fds[0]);
  ::close(fds[1]);
}

TEST(SimAlertsTest, StoppingTheLoopEndsTheSessionWithoutAnAnswer) {
  EventLoop loop;
  SimAlerts alerts(loop);
  alerts.setObserver([&] {
    if (alerts.currentAlert() != nullptr) loop.stop();
  });
  EXPECT_EQ(alerts.runModal(platform::Alert{}), platform::alertAbortedResponse);
}

class RecordingDelegate final : public platform::ApplicationDelegate {
 public:
  void applicationDidFinishLaunching() override { events.push_back("launched"); }
  void applicationWillTerminate() override { events.push_back("terminating"); }
  bool respondsToMenuAction(std::string_view selector) const override {
    return selector == "setNits:" || selector == "slideNits:";
  }
  void performMenuAction(std::string_view selector,
                         const platform::MenuItemSender& sender) override {
    events.push_back(std::string(selector) + std::to_string(sender.tag));
    senders.push_back(sender);
  }
  std::string diagnosticReport() override { return "report"; }
  std::vector<std::string> events;
  std::vector<platform::MenuItemSender> senders;
};

TEST(SimApplicationTest, LaunchesRunsAndTerminatesOnce) {
  EventLoop loop;
  SimApplication application(loop);
  auto delegate = std::make_shared<RecordingDelegate>();
  application.setDelegate(delegate);
  EXPECT_TRUE(application.showsInDock());
  application.setActivationPolicy(platform::ActivationPolicy::accessory);
  application.activateIgnoringOtherApps(true);
  EXPECT_FALSE(application.isActive()) << "an accessory cannot come to the front";
  loop.async([&] {
    application.terminate();
    application.terminate();
  });
  application.run();
  EXPECT_EQ(delegate->events, (std::vector<std::string>{"launched", "terminating"}));
  EXPECT_TRUE(application.hasTerminated());
}

platform::MenuItem entry(std::string title, std::optional<platform::StaticText> action,
                         std::int64_t tag) {
  platform::MenuItem item;
  item.title = std::move(title);
  item.action = action;
  item.tag = tag;
  return item;
}

TEST(MenuModelTest, FindsEntriesByTitleAndPicksOnlyEnabledOnes) {
  EventLoop loop;
  SimApplication application(loop);
  auto delegate = std::make_shared<RecordingDelegate>();
  application.setDelegate(delegate);

  platform::Menu submenu;
  submenu.items.push_back(entry("Medium", platform::StaticText("setNits:"), 2));
  platform::Menu menu;
  platform::MenuItem header = entry("\U0001F4A1 SDR Mode", std::nullopt, 0);
  header.enabled = false;
  menu.items.push_back(header);
  menu.items.push_back(platform::MenuItem::separator());
  menu.items.push_back(entry("250% \u2013 1250 nits", platform::StaticText("setNits:"), 1250));
  menu.items.push_back(entry("Quit", platform::StaticText("quit"), 0));
  platform::MenuItem deepBlacks = entry("\U0001F311 Deep Blacks", std::nullopt, 0);
  deepBlacks.submenu = std::make_shared<const platform::Menu>(submenu);
  menu.items.push_back(deepBlacks);

  const platform::MenuItem* level = menus::findByTitle(menu, "250% \u2013 1250 nits");
  ASSERT_NE(level, nullptr);
  EXPECT_EQ(menus::pick(*level, application), menus::PickResult::picked);
  EXPECT_EQ(menus::pick(*menus::findByTitle(menu, "SDR Mode"), application),
            menus::PickResult::disabled);
  EXPECT_EQ(menus::pick(*menus::findByTitle(menu, "Quit"), application),
            menus::PickResult::disabled)
      << "the delegate does not answer quit";
  const platform::MenuItem* medium = menus::findByPath(menu, "Deep Blacks > Medium");
  ASSERT_NE(medium, nullptr);
  EXPECT_EQ(menus::pick(*medium, application), menus::PickResult::picked);
  EXPECT_EQ(menus::pick(*menus::findByTitle(menu, "Deep Blacks"), application),
            menus::PickResult::hasSubmenu);
  EXPECT_EQ(delegate->events, (std::vector<std::string>{"setNits:1250", "setNits:2"}));
  EXPECT_EQ(menus::keyEquivalentLabel("q"), "\u2318Q");
}

TEST(MenuModelTest, ASliderIsDescribedWithItsRangeAndMovedWithinIt) {
  EventLoop loop;
  SimApplication application(loop);
  auto delegate = std::make_shared<RecordingDelegate>();
  application.setDelegate(delegate);

  platform::MenuItem slider = entry("Brightness: 1100 nits", platform::StaticText("slideNits:"), 0);
  slider.slider = testing::brightnessSlider(1100.0);
  platform::Menu submenu;
  submenu.items.push_back(slider);
  platform::Menu menu;
  menu.items.push_back(entry("250% \u2013 1250 nits", platform::StaticText("setNits:"), 1250));
  platform::MenuItem holder = entry("More", std::nullopt, 0);
  holder.submenu = std::make_shared<const platform::Menu>(submenu);
  menu.items.push_back(holder);

  EXPECT_EQ(menus::describe(menu, application).back(),
            "      Brightness: 1100 nits  [500\u20131600]");
  const platform::MenuItem* found = menus::findSlider(menu);
  ASSERT_NE(found, nullptr) << "inside a submenu too";
  EXPECT_EQ(menus::pick(*found, application), menus::PickResult::isSlider);
  EXPECT_EQ(menus::slide(*found, 499.0, platform::SliderMotion::released, application),
            menus::SlideResult::outOfRange);
  EXPECT_EQ(menus::slide(*found, std::nan(""), platform::SliderMotion::released, application),
            menus::SlideResult::outOfRange);
  EXPECT_EQ(menus::slide(menu.items[0], 900.0, platform::SliderMotion::released, application),
            menus::SlideResult::notASlider);
  EXPECT_TRUE(delegate->senders.empty());
  EXPECT_EQ(menus::slide(*found, 1600.0, platform::SliderMotion::stepped, application),
            menus::SlideResult::moved);
  ASSERT_EQ(delegate->senders.size(), 1u);
  EXPECT_EQ(delegate->events.back(), "slideNits:0");
  EXPECT_EQ(delegate->senders.back().value, 1600.0);
  EXPECT_EQ(delegate->senders.back().motion, platform::SliderMotion::stepped);

  platform::MenuItem unanswered = *found;
  unanswered.action = platform::StaticText("elsewhere:");
  EXPECT_EQ(menus::slide(unanswered, 900.0, platform::SliderMotion::released, application),
            menus::SlideResult::disabled);
}

TEST(MenuModelTest, AKeysStepStopsAtTheFirstStopOnItsWayButNeverHoldsWhereItStarts) {
  platform::MenuSlider slider = testing::brightnessSlider(500.0);
  struct Case {
    double from;
    double by;
    double to;
  };
  for (const Case& c :
       {Case{1000.0, 50.0, 1050.0}, Case{1200.0, 50.0, 1250.0}, Case{1230.0, 50.0, 1250.0},
        Case{1250.0, -10.0, 1240.0}, Case{1240.0, 10.0, 1250.0}, Case{1250.0, 10.0, 1260.0},
        Case{1020.0, -50.0, 1000.0}, Case{1000.0, -50.0, 950.0}, Case{1590.0, 50.0, 1600.0},
        Case{520.0, -50.0, 500.0}, Case{500.0, -50.0, 500.0}, Case{780.0, 300.0, 800.0}}) {
    slider.value = c.from;
    EXPECT_EQ(menus::steppedValue(slider, c.by), c.to) << c.from << " by " << c.by;
  }
  // Five steps of 50 from 1000, each from where the last one left it.
  slider.value = 1000.0;
  for (int step = 0; step < 5; ++step)
    slider.value = menus::steppedValue(slider, 50.0);
  EXPECT_EQ(slider.value, 1250.0);
}

TEST(SimUpdatersTest, TheStandInTellsThatThisIsTheNewestVersion) {
  EventLoop loop;
  SimAlerts alerts(loop);
  SimUpdaters updaters(alerts);
  alerts.setObserver([&] {
    if (alerts.currentAlert() != nullptr) alerts.answer(platform::alertFirstButtonReturn);
  });
  auto controller = updaters.makeStandardUpdaterController(true);
  controller->updater().checkForUpdates();
  ASSERT_EQ(alerts.shown().size(), 1u);
  EXPECT_EQ(alerts.shown().front().informativeText,
            "Lumora Virir 1.5.0 is the newest version available.");

  auto unstarted = updaters.makeStandardUpdaterController(false);
  unstarted->updater().checkForUpdates();
  EXPECT_EQ(alerts.shown().size(), 1u) << "an updater that was not started does not check";
}

}  // namespace
}  // namespace lumora::sim
