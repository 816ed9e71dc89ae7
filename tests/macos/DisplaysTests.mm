// The displays on a real Mac: the built-in panel, and gamma tables loaded and read back at the
// display's own table size.

#import <CoreGraphics/CoreGraphics.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "platform/macos/MacDisplays.h"

namespace lumora::macos {
namespace {

using Table = std::array<float, 256>;

// Hands every display back to the user's calibration when a test that loaded a table ends, even
// one that failed.
struct CalibrationRestored {
  CalibrationRestored() = default;
  CalibrationRestored(const CalibrationRestored &) = delete;
  CalibrationRestored &operator=(const CalibrationRestored &) = delete;
  ~CalibrationRestored() { CGDisplayRestoreColorSyncSettings(); }
};

TEST(MacDisplaysTest, TheBuiltInPanelAndItsTableReadBack) {
  MacDisplays displays;
  if (const std::optional<platform::DisplayID> builtIn = displays.builtInDisplayID()) {
    EXPECT_TRUE(CGDisplayIsBuiltin(*builtIn));
  }
  Table red, green, blue;
  const std::size_t count = displays.readTransferTable(displays.mainDisplayID(), red, green, blue);
  ASSERT_GT(count, 1u);
  EXPECT_EQ(count, red.size()) << "at the size asked for, whatever the display's";
  EXPECT_LE(red[0], red[count - 1]) << "a calibration rises";
}

// Half a straight line: its last entry, 0.5, is far from both the calibration's end and the
// 256th entry of a larger table, so a table cut short on its way in or out cannot pass.
TEST(MacDisplaysTest, ATableIsLoadedAndReadBackWholeAtTheDisplaysOwnSize) {
  MacDisplays displays;
  const platform::DisplayID display = displays.mainDisplayID();
  const uint32_t capacity = CGDisplayGammaTableCapacity(display);
  if (capacity < 2) GTEST_SKIP() << "the display has no gamma table (a virtual machine?)";
  RecordProperty("gammaTableCapacity", static_cast<int>(capacity));
  Table written;
  for (std::size_t i = 0; i < written.size(); ++i)
    written[i] = 0.5f * static_cast<float>(i) / static_cast<float>(written.size() - 1);

  const CalibrationRestored restored;
  const std::int32_t status = displays.setTransferTable(display, written, written, written);
  if (status != kCGErrorSuccess)
    GTEST_SKIP() << "the display took no table (error " << status << ")";

  // What Core Graphics holds, at the display's own size: the whole line.
  std::vector<float> red(capacity), green(capacity), blue(capacity);
  uint32_t held = 0;
  ASSERT_EQ(
      CGGetDisplayTransferByTable(display, capacity, red.data(), green.data(), blue.data(), &held),
      kCGErrorSuccess);
  ASSERT_GE(held, 2u);
  EXPECT_NEAR(red[held - 1], 0.5f, 0.01f) << "the last of " << held << " entries";
  EXPECT_NEAR(blue[(held - 1) / 2], 0.25f, 0.01f);

  // Back through the backend, at the size the core works in.
  Table readRed, readGreen, readBlue;
  ASSERT_EQ(displays.readTransferTable(display, readRed, readGreen, readBlue), readRed.size());
  EXPECT_NEAR(readRed.back(), 0.5f, 0.01f) << "the last entry read is the last one written";
  EXPECT_NEAR(readGreen.back(), 0.5f, 0.01f);
  EXPECT_NEAR(readBlue[128], written[128], 0.01f);
}

}  // namespace
}  // namespace lumora::macos
