// Of two copies of the app, which one stays: the second-instance check on a Mac decides by this.

#include <gtest/gtest.h>

#include <vector>

#include "platform/RunningCopies.h"

namespace lumora::platform {
namespace {

TEST(RunningCopiesTest, OfTwoCopiesExactlyOneStaysAndItIsTheOlder) {
  const std::vector<RunningCopy> copies{
      {.processID = 500, .launchTime = 100.0, .terminated = false},
      {.processID = 400, .launchTime = 100.5, .terminated = false},  // later, lower number
      {.processID = 600, .launchTime = 100.0, .terminated = false},  // the same moment
      {.processID = 300, .launchTime = std::nullopt, .terminated = false},
      {.processID = 700, .launchTime = std::nullopt, .terminated = false},
  };
  for (const RunningCopy& a : copies) {
    for (const RunningCopy& b : copies) {
      if (a.processID == b.processID) {
        EXPECT_FALSE(givesWayTo(a, b)) << "never to itself";
        continue;
      }
      EXPECT_NE(givesWayTo(a, b), givesWayTo(b, a)) << a.processID << " and " << b.processID;
    }
  }
  EXPECT_TRUE(givesWayTo(copies[1], copies[0])) << "the older stays, whatever its number";
  EXPECT_TRUE(givesWayTo(copies[2], copies[0])) << "at the same moment, the lower number stays";
  EXPECT_TRUE(givesWayTo(copies[0], copies[3])) << "of unknown age: by number";
}

TEST(RunningCopiesTest, ACopyThatHasEndedDoesNotCount) {
  const RunningCopy self{.processID = 500, .launchTime = 200.0, .terminated = false};
  const RunningCopy ended{.processID = 400, .launchTime = 100.0, .terminated = true};
  EXPECT_FALSE(givesWayTo(self, ended));
}

}  // namespace
}  // namespace lumora::platform
