// The built program telling why the display will not go brighter, and the diagnosis a user copies
// or prints: from the alert's button, the headless command, and the display check of --diagnose.

#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <string>
#include <vector>

#include "e2e/SimulatedMacTest.h"

namespace lumora::testing {
namespace {

using namespace std::chrono_literals;

class DiagnosisEndToEndTest : public SimulatedMacTest {
 protected:
  // The factory panel on `release`, giving `headroom` at most.
  void storePanel(const std::string& release, const std::string& headroom = "3.2") const {
    storeDisplay("");
    changeValue("SystemVersion", "<string>" + release + "</string>");
    changeValue("MaximumEDRHeadroom", "<real>" + headroom + "</real>");
  }
  // The lines after `word: ` of each line that starts with it, from `from` on.
  static std::vector<std::string> linesOf(const std::vector<std::string>& lines,
                                          const std::string& word, std::size_t from = 0) {
    std::vector<std::string> found;
    for (std::size_t i = from; i < lines.size(); ++i) {
      if (lines[i] == word + ":") found.emplace_back();
      if (lines[i].starts_with(word + ": ")) found.push_back(lines[i].substr(word.size() + 2));
    }
    return found;
  }
  static std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
      text += line + "\n";
    return text;
  }
  // The report without the line that tells how long the app has run.
  static std::string steady(std::string report) {
    const std::size_t at = report.find("App: ");
    if (at != std::string::npos) report.erase(at, report.find('\n', at) - at);
    return report;
  }
  std::filesystem::path defaultsPath() const {
    return home_ / "config/lumora-virir/defaults.plist";
  }
  int diagnose(std::vector<std::string>& output) {
    RunningApp check(home_.path(), {"--diagnose"});
    output = check.linesUntilClosed(20s);
    const int status = check.waitForExit();
    errors_ = check.errorOutput();
    return status;
  }
  std::string errors_;
};

TEST_F(DiagnosisEndToEndTest, TheAlertSaysWhyAndItsButtonCopiesTheDiagnosis) {
  storeDefaults("<key>deepBlacksWarningShown</key><true/>");
  storePanel("26.4", "1");
  RunningApp app(home_.path());
  ASSERT_TRUE(statusSays(app, "preset 0")) << app.errorOutput();
  app.sendTogether({"pick 1250", "alert"});
  ASSERT_TRUE(app.waitForLine("alert: button 2: Copy Diagnostics")) << app.errorOutput();
  const std::string text = joined(linesOf(app.outputLines(), "alert"));
  EXPECT_NE(text.find("The display gave no EDR headroom"), std::string::npos) << text;

  app.sendTogether({"answer 2", "paste", "status"});
  ASSERT_TRUE(app.waitForLine("answered: Copy Diagnostics"));
  const std::size_t from = app.outputLines().size();
  ASSERT_TRUE(app.waitForLine("status: "));
  const std::string pasted = joined(linesOf(app.outputLines(), "paste", from));
  EXPECT_TRUE(pasted.starts_with("Lumora Virir diagnostics\n")) << pasted;
  for (const char* told :
       {"Method: EDR headroom, by the release (26.3 or later)", "Display 69733382: built in, main",
        "EDR headroom: 1 now, 1 potential", "Unavailable: the display gave no EDR headroom",
        "headroom asked for\n", "headroom given up: no headroom came within the wait",
        "alert: XDR Brightness Unavailable", "Mac: Mac15,7", "macOS: 26.4.0"}) {
    EXPECT_NE(pasted.find(told), std::string::npos) << told << " in\n" << pasted;
  }
  EXPECT_EQ(pasted.find(home_.path().string()), std::string::npos) << "no home path";
  EXPECT_EQ(readText(home_ / "state/lumora-virir/pasteboard.txt"), pasted);

  // The headless command tells the same.
  const std::size_t before = app.outputLines().size();
  app.sendTogether({"diagnostics", "status"});
  ASSERT_TRUE(app.waitForLine("status: "));
  EXPECT_EQ(steady(joined(linesOf(app.outputLines(), "diagnostics", before))), steady(pasted));
  EXPECT_EQ(app.signalAndWait(SIGTERM), 0);
}

TEST_F(DiagnosisEndToEndTest, TheCheckRaisesThePresetsAndPutsThemBackAsTheyWere) {
  // Slot 11 holds the preset of an earlier run.
  storePanel("26.2");
  RunningApp earlier(home_.path());
  ASSERT_TRUE(statusSays(earlier, "preset 0"));
  earlier.send("pick 1250");
  ASSERT_TRUE(statusSays(earlier, "slot 11 filled"));
  earlier.send("pick 100%");
  ASSERT_TRUE(statusSays(earlier, "preset 0 "));
  EXPECT_EQ(earlier.signalAndWait(SIGTERM), 0);
  std::filesystem::remove(defaultsPath());

  std::vector<std::string> output;
  EXPECT_EQ(diagnose(output), 0) << errors_;
  const std::string report = joined(output);
  EXPECT_TRUE(report.starts_with(
      "Lumora Virir diagnostics\n\nDisplay check: raised to 800 nits with a preset, read back, "
      "and put back as it was\n"))
      << report;
  EXPECT_NE(report.find("preset written: 800 nits"), std::string::npos) << report;
  EXPECT_NE(report.find("Slot 11: \"Lumora XDR (1250 nits)\""), std::string::npos) << report;
  const sim::PlistPtr root = sim::fromXml(readText(displayPath()));
  const plist_t display = plist_array_get_item(sim::dictItem(root.get(), "Displays"), 0);
  EXPECT_EQ(sim::integerValue(sim::dictItem(display, "ActivePresetIndex")), 0);
  const plist_t slot = sim::dictItem(sim::dictItem(display, "Presets"), "11");
  EXPECT_EQ(sim::stringValue(sim::dictItem(slot, "PresetName")), "Lumora XDR (1250 nits)");
  EXPECT_EQ(sim::numberValue(sim::dictItem(slot, "PresetMaxSDRLuminance")), 1250.0);
  EXPECT_FALSE(std::filesystem::exists(defaultsPath())) << "no preference written";
  EXPECT_EQ(errors_, "");
}

TEST_F(DiagnosisEndToEndTest, TheCheckOfAPanelWithoutHeadroomEndsWithTwoAndSaysWhy) {
  storePanel("26.4", "1");
  std::vector<std::string> output;
  EXPECT_EQ(diagnose(output), 2);
  const std::string report = joined(output);
  EXPECT_NE(report.find("Display check: could not raise the display through EDR headroom: the "
                        "display gave no EDR headroom\n"),
            std::string::npos)
      << report;
  EXPECT_NE(report.find("headroom given up: no headroom came within the wait"), std::string::npos);
  EXPECT_NE(report.find("Gamma table: none of the app's"), std::string::npos) << "put back";
  EXPECT_EQ(report.find("alert:"), std::string::npos) << "no alert, nobody to answer it";
  EXPECT_FALSE(std::filesystem::exists(defaultsPath()));
}

TEST_F(DiagnosisEndToEndTest, TheCheckDoesNotRunBesideTheApp) {
  storeDefaults("<key>autoEnableXDR</key><true/>");
  const std::string defaults = readText(defaultsPath());
  RunningApp app(home_.path());
  ASSERT_TRUE(statusSays(app, "preset 0"));
  std::vector<std::string> output;
  EXPECT_EQ(diagnose(output), 1);
  EXPECT_TRUE(output.empty());
  EXPECT_NE(errors_.find("already running"), std::string::npos) << errors_;
  EXPECT_EQ(app.signalAndWait(SIGTERM), 0);
  EXPECT_EQ(readText(defaultsPath()), defaults) << "nothing written";
}

}  // namespace
}  // namespace lumora::testing
