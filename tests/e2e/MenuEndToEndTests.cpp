// The built program's menu, used through the simulated Mac's command line.

#include <gtest/gtest.h>
#include <signal.h>

#include "e2e/RunningApp.h"
#include "support/TempDirectory.h"

namespace lumora::testing {
namespace {

class MenuEndToEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app_ = std::make_unique<RunningApp>(home_.path());
    // The start line: the launch is over.
    ASSERT_TRUE(app_->waitForLine("status:")) << app_->errorOutput();
  }
  void TearDown() override {
    if (app_) {
      EXPECT_EQ(app_->signalAndWait(SIGTERM), 0);
    }
  }
  std::string status() {
    app_->send("status");
    return app_->waitForLine("status:").value_or("");
  }
  std::string defaults() const { return readText(home_ / "config/lumora-virir/defaults.plist"); }
  std::string displayFile() const { return readText(home_ / "state/lumora-virir/display.plist"); }

  TempDirectory home_;
  std::unique_ptr<RunningApp> app_;
};

TEST_F(MenuEndToEndTest, DeepBlacksWarnsOnceAndLoadsItsTable) {
  app_->send("pick Deep Blacks > Medium");
  ASSERT_TRUE(app_->waitForLine("alert: Deep Blacks Enabled"));
  EXPECT_NE(displayFile().find("<key>TransferTable</key>"), std::string::npos)
      << "the table is loaded before the warning comes up";
  EXPECT_EQ(defaults().find("deepBlacksWarningShown"), std::string::npos);
  app_->send("answer");
  EXPECT_NE(status().find("moon.stars.fill"), std::string::npos);
  EXPECT_NE(defaults().find("<key>deepBlacksWarningShown</key>\n\t<true/>"), std::string::npos);
  EXPECT_NE(defaults().find("<key>deepBlacksLevel</key>\n\t<integer>2</integer>"),
            std::string::npos);

  app_->send("pick Deep Blacks > Deep");
  app_->send("alert");
  EXPECT_TRUE(app_->waitForLine("alert: none")) << "the warning comes only once";
  app_->send("pick Reset All Tweaks");
  EXPECT_NE(status().find("gamma: calibrated"), std::string::npos);
}

TEST_F(MenuEndToEndTest, LaunchAtLoginAddsAndRemovesTheAutostartEntry) {
  const auto entry = home_ / "config/autostart/lumora-virir.desktop";
  app_->send("pick Launch at Login");
  app_->send("status");
  ASSERT_TRUE(app_->waitForLine("status:"));
  ASSERT_TRUE(std::filesystem::exists(entry));
  EXPECT_NE(readText(entry).find("Exec=" + std::string(LUMORA_PROGRAM_PATH)), std::string::npos);
  EXPECT_NE(defaults().find("<key>launchAtLogin</key>\n\t<true/>"), std::string::npos);

  app_->send("pick Launch at Login");
  app_->send("status");
  ASSERT_TRUE(app_->waitForLine("status:"));
  EXPECT_FALSE(std::filesystem::exists(entry));
}

TEST_F(MenuEndToEndTest, CheckingForUpdatesSaysThisIsTheNewestVersion) {
  app_->send("pick Check for Updates...");
  ASSERT_TRUE(app_->waitForLine("alert: No Update Available"));
  app_->send("alert");
  EXPECT_TRUE(app_->waitForLine("Lumora Virir 1.5.0 is the newest version available."));
  app_->send("answer");
  app_->send("pick Check for Updates...");
  EXPECT_TRUE(app_->waitForLine("alert: No Update Available"));
  app_->send("answer");
}

}  // namespace
}  // namespace lumora::testing
