// The simulated Mac's compositor: when a display gives EDR headroom for the app's window, and
// where it lets go of it as macOS does.

#include <gtest/gtest.h>

#include "platform/sim/machine/EDRCompositor.h"

namespace lumora::sim {
namespace {

using namespace std::chrono_literals;
using Clock = EDRCompositor::Clock;

constexpr platform::DisplayID panel = 1;
constexpr platform::DisplayID external = 2;

class EDRCompositorTest : public ::testing::Test {
 protected:
  EDRCompositorTest() {
    traits_.maximumHeadroom = 3.2;
    traits_.headroomDelay = 500ms;
  }
  // Whether the display gives its headroom at `at`.
  bool gives(Clock::time_point at, platform::DisplayID display = panel) const {
    const auto from = compositor_.headroomFrom(display, traits_);
    return from && at >= *from;
  }

  EDRCompositor compositor_;
  EDRCompositor::Traits traits_;
  const Clock::time_point start_{Clock::duration(1h)};
};

TEST_F(EDRCompositorTest, HeadroomComesADelayAfterADrawAndOnlyToTheWindowsDisplay) {
  EXPECT_FALSE(gives(start_)) << "no window, no headroom";
  const std::uint64_t window = compositor_.show(panel, true, traits_, start_);
  EXPECT_FALSE(gives(start_ + 400ms));
  EXPECT_TRUE(gives(start_ + 500ms));
  EXPECT_FALSE(gives(start_ + 1s, external));
  ASSERT_NE(compositor_.windowOn(panel), nullptr);
  EXPECT_EQ(compositor_.windowOn(panel)->draws, 1u);
  EXPECT_TRUE(compositor_.windowOn(panel)->excludedFromCapture);

  EDRCompositor::Traits none = traits_;
  none.maximumHeadroom = 1.0;
  EXPECT_FALSE(compositor_.headroomFrom(panel, none)) << "a display without any gives none";

  EXPECT_TRUE(compositor_.hide(window));
  EXPECT_FALSE(gives(start_ + 2s));
  EXPECT_FALSE(compositor_.hide(window));
}

TEST_F(EDRCompositorTest, ASpaceChangeDropsItOnlyWhereTheDisplaySaysSoUntilTheNextDraw) {
  const std::uint64_t window = compositor_.show(panel, true, traits_, start_);
  compositor_.changeSpace([this](platform::DisplayID) { return traits_; });
  EXPECT_TRUE(gives(start_ + 10s)) << "a display that keeps it";
  compositor_.draw(window, traits_, start_ + 10s);
  EXPECT_TRUE(gives(start_ + 10s)) << "and a frame drawn again takes nothing away";

  traits_.dropsOnSpaceChange = true;
  compositor_.changeSpace([this](platform::DisplayID) { return traits_; });
  EXPECT_FALSE(gives(start_ + 1h)) << "gone until drawn again, however long";
  compositor_.draw(window, traits_, start_ + 20s);
  EXPECT_FALSE(gives(start_ + 20s + 400ms));
  EXPECT_TRUE(gives(start_ + 20s + 500ms));
  EXPECT_EQ(compositor_.windowOn(panel)->draws, 3u);
}

TEST_F(EDRCompositorTest, LockedNothingAndAfterUnlockingOnlyADrawSinceBringsIt) {
  const std::uint64_t window = compositor_.show(panel, true, traits_, start_);
  compositor_.setLocked(true);
  EXPECT_FALSE(gives(start_ + 5s));
  compositor_.draw(window, traits_, start_ + 6s);
  compositor_.setLocked(false);
  EXPECT_FALSE(gives(start_ + 1h)) << "a frame drawn while locked counts for nothing";
  compositor_.draw(window, traits_, start_ + 10s);
  EXPECT_TRUE(gives(start_ + 10s + 500ms));
}

TEST_F(EDRCompositorTest, AfterWakeItComesBackByItselfUnlessTheDisplayRefusesItForAWhile) {
  const std::uint64_t window = compositor_.show(panel, true, traits_, start_);
  compositor_.setAsleep(true, start_ + 10s);
  EXPECT_FALSE(gives(start_ + 11s));
  compositor_.setAsleep(false, start_ + 20s);
  EXPECT_FALSE(gives(start_ + 20s + 400ms));
  EXPECT_TRUE(gives(start_ + 20s + 500ms)) << "by itself, after its delay";

  traits_.refusedAfterWake = 2s;
  compositor_.setAsleep(true, start_ + 30s);
  compositor_.setAsleep(false, start_ + 40s);
  EXPECT_FALSE(gives(start_ + 1h)) << "not by itself";
  compositor_.draw(window, traits_, start_ + 41s);
  EXPECT_FALSE(gives(start_ + 1h)) << "nor for a frame drawn within the refusal";
  compositor_.draw(window, traits_, start_ + 42s);
  EXPECT_TRUE(gives(start_ + 42s + 500ms)) << "a frame drawn after it";
}

}  // namespace
}  // namespace lumora::sim
