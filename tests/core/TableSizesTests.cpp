// Gamma tables of another size than the core's 256 entries: the one resampling that both the core
// (a calibration read at another size) and the macOS backend (the display's own table size) use.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "display/TransferTables.h"
#include "fakes/FakeDisplays.h"
#include "platform/TableResampling.h"

namespace lumora {
namespace {

std::vector<float> curve(std::size_t size, float exponent) {
  std::vector<float> table(size);
  for (std::size_t i = 0; i < size; ++i)
    table[i] = std::pow(static_cast<float>(i) / static_cast<float>(size - 1), exponent);
  return table;
}

std::vector<float> resampled(const std::vector<float>& from, std::size_t size) {
  std::vector<float> to(size, -1.0f);
  platform::resampleTable(from, to);
  return to;
}

TEST(TableResamplingTest, EndsCarryOverExactlyAndEntriesBetweenAreInterpolated) {
  // Down, as a display's 1024 entries to the core's 256: a straight line stays one, and the last
  // entry is the last one read, not the 256th.
  const std::vector<float> down = resampled(curve(1024, 1.0f), 256);
  EXPECT_EQ(down.front(), 0.0f);
  EXPECT_EQ(down.back(), 1.0f);
  for (std::size_t i = 0; i < down.size(); ++i)
    EXPECT_NEAR(down[i], static_cast<float>(i) / 255.0f, 1e-6f) << i;

  // Up, between entries: {0, 0.25, 1} at 0, 0.5, 1, 1.5 and 2 of its places.
  EXPECT_EQ(resampled({0.0f, 0.25f, 1.0f}, 5),
            (std::vector<float>{0.0f, 0.125f, 0.25f, 0.625f, 1.0f}));

  // A boosted curve up to a display's size and back, as a table loaded and read again: close
  // enough to pass for the one loaded.
  std::vector<float> boosted = curve(256, 2.2f);
  for (float& value : boosted)
    value *= 3.2f;
  const std::vector<float> back = resampled(resampled(boosted, 1024), 256);
  EXPECT_EQ(back.back(), 3.2f);
  for (std::size_t i = 0; i < back.size(); ++i)
    EXPECT_NEAR(back[i], boosted[i], 1e-4f) << i;
}

TEST(TableResamplingTest, EqualSizesCopyAndTablesTooSmallToInterpolateFromAreHandled) {
  const std::vector<float> table = curve(256, 0.7f);
  EXPECT_EQ(resampled(table, 256), table);
  EXPECT_EQ(resampled({0.4f}, 3), (std::vector<float>{0.4f, 0.4f, 0.4f}));
  EXPECT_EQ(resampled({0.2f, 0.9f}, 1), (std::vector<float>{0.2f}));
  EXPECT_EQ(resampled({}, 2), (std::vector<float>{-1.0f, -1.0f})) << "left as it was";
}

// A calibration that comes back at another size is resampled to the core's table before the boost
// multiplies it; one too short to be a curve stands for the identity.
TEST(TableResamplingTest, ACalibrationReadAtAnotherSizeIsTheBaseOfTheBoost) {
  testing::EventLog log;
  testing::FakeDisplays displays(log);
  constexpr platform::DisplayID panel = 3;
  const std::vector<float> calibration = {0.0f, 0.25f, 1.0f};
  displays.calibration[panel] = calibration;
  TransferTables tables(displays, panel);
  ASSERT_EQ(tables.setBoost(panel, 2.0f), 0);
  const std::vector<float>& loaded = displays.inForce.at(panel).red;
  ASSERT_EQ(loaded.size(), TransferTables::tableSize);
  const std::vector<float> expected = resampled(calibration, TransferTables::tableSize);
  for (std::size_t i = 0; i < loaded.size(); ++i)
    EXPECT_FLOAT_EQ(loaded[i], expected[i] * 2.0f) << i;
  EXPECT_EQ(loaded.back(), 2.0f);

  displays.calibration[panel + 1] = {0.5f};
  ASSERT_EQ(tables.setBoost(panel + 1, 2.0f), 0);
  const std::vector<float>& fromIdentity = displays.inForce.at(panel + 1).green;
  EXPECT_FLOAT_EQ(fromIdentity[51], 51.0f / 255.0f * 2.0f);
  EXPECT_EQ(fromIdentity.back(), 2.0f);
}

}  // namespace
}  // namespace lumora
