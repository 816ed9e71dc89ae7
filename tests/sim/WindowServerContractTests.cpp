// The window server's preset rules, held against both of its stand-ins: the in-memory fake that
// the core's tests use and the simulated Mac's file-backed one. Each must reject what a real
// window server rejects, or a core test could pass against behaviour no Mac has.

#include <gtest/gtest.h>

#include <memory>

#include "display/XDRController.h"
#include "fakes/FakeConsole.h"
#include "fakes/FakeWindowServer.h"
#include "platform/sim/SimWindowServer.h"
#include "platform/sim/machine/SimDisplayState.h"
#include "support/TempDirectory.h"

namespace lumora {
namespace {

constexpr std::string_view ceilingKey = "PresetMaxSDRLuminance";

struct FakeWindowServerStandIn {
  FakeWindowServerStandIn() {
    server.presets[mainDisplay][0] = testing::FakeWindowServer::standardPreset();
    server.activeIndex[mainDisplay] = 0;
  }
  testing::EventLog log;
  testing::FakeWindowServer server{log};
  platform::DisplayID mainDisplay = 7;
};

struct SimWindowServerStandIn {
  testing::TempDirectory temp;
  testing::FakeConsole console;
  sim::SimDisplayState state{temp / "display.plist", console};
  sim::SimWindowServer server{state};
  platform::DisplayID mainDisplay = state.mainDisplayID();
};

template <typename Stand>
class WindowServerContractTest : public ::testing::Test {
 protected:
  void SetUp() override {
    functions_ =
        stand_.server
            .openPresetFunctions(XDRController::frameworkPath, XDRController::functionNames)
            .functions;
  }
  std::int32_t active() { return functions_.getActivePresetIndex(display()); }
  std::shared_ptr<const platform::PresetDictionary> copy(std::int32_t index) {
    return functions_.copyPresetData(display(), index);
  }
  // The standard preset with its ceiling raised.
  std::unique_ptr<platform::MutablePresetDictionary> raised(double nits) {
    auto preset = copy(0)->mutableCopy();
    preset->setDouble(ceilingKey, nits);
    return preset;
  }
  platform::DisplayID display() const { return stand_.mainDisplay; }

  Stand stand_;
  platform::PresetFunctions functions_;
};

using StandIns = ::testing::Types<FakeWindowServerStandIn, SimWindowServerStandIn>;
TYPED_TEST_SUITE(WindowServerContractTest, StandIns);

TYPED_TEST(WindowServerContractTest, AWrittenSlotReadsBackAndCanBeMadeActive) {
  EXPECT_EQ(this->active(), 0);
  EXPECT_EQ(this->copy(0)->numberValue(ceilingKey), 500.0);

  EXPECT_EQ(this->functions_.setPresetData(this->display(), 11, *this->raised(1250.0)), 0);
  EXPECT_EQ(this->copy(11)->numberValue(ceilingKey), 1250.0);
  EXPECT_EQ(this->functions_.setActivePresetIndex(this->display(), 11), 0);
  EXPECT_EQ(this->active(), 11);
}

TYPED_TEST(WindowServerContractTest, OnlyAFilledSlotInRangeCanBeMadeActive) {
  for (const std::int32_t index : {12, 16, -1}) {
    EXPECT_NE(this->functions_.setActivePresetIndex(this->display(), index), 0) << index;
    EXPECT_EQ(this->active(), 0) << index;
    EXPECT_EQ(this->copy(index), nullptr) << index;
  }
}

TYPED_TEST(WindowServerContractTest, AReadOnlyPresetOrASlotOutOfRangeIsNeverWritten) {
  EXPECT_NE(this->functions_.setPresetData(this->display(), 0, *this->raised(1600.0)), 0);
  EXPECT_EQ(this->copy(0)->numberValue(ceilingKey), 500.0);
  EXPECT_NE(this->functions_.setPresetData(this->display(), 16, *this->raised(1600.0)), 0);
  EXPECT_EQ(this->copy(16), nullptr);
}

TYPED_TEST(WindowServerContractTest, ADisplayThatDoesNotExistHasNoPresets) {
  const platform::DisplayID absent = this->display() + 1;
  EXPECT_EQ(this->functions_.getActivePresetIndex(absent), -1);
  EXPECT_EQ(this->functions_.copyPresetData(absent, 0), nullptr);
  EXPECT_NE(this->functions_.setActivePresetIndex(absent, 0), 0);
  EXPECT_NE(this->functions_.setPresetData(absent, 11, *this->raised(1250.0)), 0);
}

}  // namespace
}  // namespace lumora
