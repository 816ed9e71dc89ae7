// The built program on the simulated Mac: what its launch and its ends leave in the files.

#include <gtest/gtest.h>
#include <signal.h>

#include "e2e/RunningApp.h"
#include "platform/sim/machine/Plist.h"
#include "support/TempDirectory.h"

namespace lumora::testing {
namespace {

using sim::PlistPtr;

// The simulated display's file as another program sees it.
class DisplayFile {
 public:
  explicit DisplayFile(std::filesystem::path path) : path_(std::move(path)) {}

  PlistPtr read() const { return sim::fromXml(readText(path_)); }
  plist_t mainDisplay(plist_t root) const {
    const plist_t displays = sim::dictItem(root, "Displays");
    return plist_array_get_item(displays, 0);
  }
  std::int64_t activeIndex() const {
    const PlistPtr root = read();
    return sim::integerValue(sim::dictItem(mainDisplay(root.get()), "ActivePresetIndex"))
        .value_or(-1);
  }
  // The preset's XML, or empty for an empty slot.
  std::string presetXml(int index) const {
    const PlistPtr root = read();
    const plist_t preset =
        sim::dictItem(sim::dictItem(mainDisplay(root.get()), "Presets"), std::to_string(index));
    return preset == nullptr ? "" : sim::toXml(preset);
  }
  std::optional<double> ceiling(int index) const {
    const PlistPtr root = read();
    const plist_t preset =
        sim::dictItem(sim::dictItem(mainDisplay(root.get()), "Presets"), std::to_string(index));
    return sim::realValue(sim::dictItem(preset, "PresetMaxSDRLuminance"));
  }
  bool hasTransferTable() const {
    const PlistPtr root = read();
    return sim::dictItem(mainDisplay(root.get()), "TransferTable") != nullptr;
  }

 private:
  std::filesystem::path path_;
};

class LaunchAndExitTest : public ::testing::Test {
 protected:
  std::filesystem::path defaultsPath() const {
    return home_ / "config/lumora-virir/defaults.plist";
  }
  void storeDefaults(const std::string& entries) const {
    writeText(defaultsPath(),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">"
              "<dict>" +
                  entries + "</dict></plist>\n");
  }
  // Waits until launching has finished: the start line comes then.
  void waitForLaunch(RunningApp& app) {
    ASSERT_TRUE(app.waitForLine("status:")) << app.errorOutput();
  }

  TempDirectory home_;
  DisplayFile display_{home_ / "state/lumora-virir/display.plist"};
};

TEST_F(LaunchAndExitTest, WithoutADisplayFileTheFactoryStateIsWrittenOutAndNothingElse) {
  RunningApp app(home_.path());
  waitForLaunch(app);
  EXPECT_EQ(display_.activeIndex(), 0);
  EXPECT_EQ(display_.presetXml(11), "");
  EXPECT_EQ(app.signalAndWait(SIGINT), 0);
  EXPECT_FALSE(std::filesystem::exists(defaultsPath())) << "a first launch stores no preference";
  EXPECT_EQ(app.errorOutput(), "");
}

TEST_F(LaunchAndExitTest, AutoEnableRaisesTheDisplayAndEachSignalRestoresIt) {
  for (const int signal : {SIGTERM, SIGINT, SIGHUP, SIGQUIT}) {
    storeDefaults("<key>autoEnableXDR</key><true/><key>lastNitsValue</key><real>1250</real>");
    RunningApp app(home_.path());
    app.send("status");
    ASSERT_TRUE(app.waitForLine("preset 11 \"Lumora XDR (1250 nits)\"")) << app.errorOutput();
    EXPECT_EQ(display_.activeIndex(), 11);
    EXPECT_EQ(display_.ceiling(11), 1250.0);

    EXPECT_EQ(app.signalAndWait(signal), 0) << signal;
    EXPECT_EQ(display_.activeIndex(), 0) << signal;
    EXPECT_EQ(display_.ceiling(11), 1250.0) << "slot 11 stays as written";
  }
}

TEST_F(LaunchAndExitTest, QuittingFromTheMenuRestoresTheStandardPreset) {
  storeDefaults("<key>autoEnableXDR</key><true/><key>lastNitsValue</key><real>1600</real>");
  RunningApp app(home_.path());
  waitForLaunch(app);
  EXPECT_EQ(display_.activeIndex(), 11);

  app.send("pick Quit Lumora Virir");
  EXPECT_EQ(app.waitForExit(), 0);
  EXPECT_EQ(display_.activeIndex(), 0);
}

TEST_F(LaunchAndExitTest, ASignalEndsTheAppWhileTheDeepBlacksWarningIsOpen) {
  storeDefaults(
      "<key>autoEnableXDR</key><true/><key>lastNitsValue</key><real>1000</real>"
      "<key>deepBlacksEnabled</key><true/><key>deepBlacksLevel</key><integer>2</integer>");
  RunningApp app(home_.path());
  ASSERT_TRUE(app.waitForLine("alert: Deep Blacks Enabled")) << app.errorOutput();
  EXPECT_EQ(display_.activeIndex(), 11);
  EXPECT_TRUE(display_.hasTransferTable());

  EXPECT_EQ(app.signalAndWait(SIGTERM), 0);
  EXPECT_EQ(display_.activeIndex(), 0);
  EXPECT_EQ(readText(defaultsPath()).find("deepBlacksWarningShown"), std::string::npos)
      << "the warning was not dismissed";
}

TEST_F(LaunchAndExitTest, AnUnreadableDefaultsFileIsKeptAsideAndTheAppStarts) {
  writeText(defaultsPath(), "<plist><dict><key>autoEnableXDR</key>");
  RunningApp app(home_.path());
  waitForLaunch(app);
  EXPECT_EQ(app.signalAndWait(SIGTERM), 0);

  const std::string errors = app.errorOutput();
  EXPECT_NE(errors.find("kept as"), std::string::npos) << errors;
  int keptAside = 0;
  for (const auto& entry : std::filesystem::directory_iterator(defaultsPath().parent_path())) {
    if (entry.path().filename().string().starts_with("defaults.plist.unreadable-")) ++keptAside;
  }
  EXPECT_EQ(keptAside, 1);
}

}  // namespace
}  // namespace lumora::testing
