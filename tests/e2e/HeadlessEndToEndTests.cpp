// The built program headless, as pipes and logs see it, and its command line.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <algorithm>
#include <thread>

#include "e2e/RunningApp.h"
#include "platform/sim/machine/Plist.h"
#include "support/TempDirectory.h"

namespace lumora::testing {
namespace {

using namespace std::chrono_literals;

class HeadlessEndToEndTest : public ::testing::Test {
 protected:
  std::filesystem::path displayPath() const { return home_ / "state/lumora-virir/display.plist"; }
  std::int64_t activeIndex() const {
    const sim::PlistPtr root = sim::fromXml(readText(displayPath()));
    const plist_t display = plist_array_get_item(sim::dictItem(root.get(), "Displays"), 0);
    return sim::integerValue(sim::dictItem(display, "ActivePresetIndex")).value_or(-1);
  }
  static long statusLines(const std::vector<std::string>& lines) {
    return std::count_if(lines.begin(), lines.end(),
                         [](const std::string& line) { return line.starts_with("status: "); });
  }

  TempDirectory home_;
};

TEST_F(HeadlessEndToEndTest, TheStatusLineComesOnceAtTheStartAndThenOnlyWhenItChanges) {
  RunningApp app(home_.path());
  ASSERT_TRUE(app.waitForLine("status: ")) << "at the start, unasked" << app.errorOutput();
  EXPECT_EQ(statusLines(app.linesAfter(2500ms)), 1) << "nothing changed over two ticks";

  app.send("pick 1250");
  ASSERT_TRUE(app.waitForLine("picked: "));
  const std::optional<std::string> changed = app.waitForLine("status: ");
  ASSERT_TRUE(changed) << "the change is printed unasked";
  EXPECT_NE(changed->find("SDR 1250 nits"), std::string::npos) << *changed;
  EXPECT_EQ(statusLines(app.linesAfter(1500ms)), 2);

  app.send("status");
  EXPECT_EQ(app.waitForLine("status: "), changed) << "asked for, it comes again";
  EXPECT_EQ(app.signalAndWait(SIGTERM), 0);
}

TEST_F(HeadlessEndToEndTest, PickFindsATitleByAnyUniquePartInAnyCaseWithAnyDash) {
  RunningApp app(home_.path());
  ASSERT_TRUE(app.waitForLine("status: "));
  for (const auto& [query, picked] : std::vector<std::pair<std::string, std::string>>{
           {"1250", "250% \u2013 1250 nits"},
           {"160% - 800 nits", "160% \u2013 800 nits"},
           {"320%\u20141600", "320% \u2013 1600 nits (MAX)"},
           {"SETTINGS", "Settings..."},
           {"deep blacks > sub", "Subtle"},
       }) {
    app.send("pick " + query);
    const std::optional<std::string> line = app.waitForLine("pick");
    ASSERT_TRUE(line) << query;
    EXPECT_EQ(*line, "picked: " + picked) << query;
    if (picked == "Subtle") {
      ASSERT_TRUE(app.waitForLine("alert: Deep Blacks Enabled"));
      app.send("answer");
    }
  }
  app.send("windows");
  EXPECT_TRUE(app.waitForLine("Lumora Virir Settings")) << "Settings... opened its window";

  app.send("pick nits");
  const std::optional<std::string> ambiguous = app.waitForLine("pick");
  ASSERT_TRUE(ambiguous);
  EXPECT_NE(ambiguous->find("could be"), std::string::npos) << *ambiguous;
  for (const char* level : {"500 nits", "800 nits", "1000 nits", "1250 nits", "1600 nits"}) {
    EXPECT_NE(ambiguous->find(level), std::string::npos) << *ambiguous;
  }
  app.send("status");
  EXPECT_NE(app.waitForLine("status: ").value_or("").find("SDR 1600 nits"), std::string::npos)
      << "nothing was picked";
  app.send("pick no such entry");
  EXPECT_EQ(app.waitForLine("pick"), "error: pick: no entry \"no such entry\"");
  EXPECT_EQ(app.signalAndWait(SIGTERM), 0);
}

// The settings window's button, found as menu entries are, copies the diagnosis to the simulated
// pasteboard, a file that `paste` prints and that is written before the reply.
TEST_F(HeadlessEndToEndTest, PressCopyDiagnosticsAndThePasteboardHoldsTheReport) {
  RunningApp app(home_.path());
  ASSERT_TRUE(app.waitForLine("status: ")) << app.errorOutput();
  app.send("press copy");
  EXPECT_EQ(app.waitForLine("press"), "error: press: no window is open");

  app.send("pick Settings");
  ASSERT_TRUE(app.waitForLine("picked: Settings..."));
  app.send("windows");
  EXPECT_TRUE(app.waitForLine("Made with care"));
  EXPECT_EQ(app.waitForLine("window 1:"), "window 1:   [Copy Diagnostics]") << "after the labels";
  app.send("press nothing like it");
  EXPECT_EQ(app.waitForLine("press"), "error: press: window 1 has no button \"nothing like it\"");
  const std::filesystem::path pasteboard = home_ / "state/lumora-virir/pasteboard.txt";
  EXPECT_FALSE(std::filesystem::exists(pasteboard));

  app.send("press COPY diag");
  EXPECT_EQ(app.waitForLine("press"), "pressed: Copy Diagnostics");
  EXPECT_TRUE(readText(pasteboard).starts_with("Lumora Virir diagnostics\n")) << "on disk already";
  app.send("paste");
  EXPECT_EQ(app.waitForLine("paste"), "paste: Lumora Virir diagnostics");
  app.send("windows");
  EXPECT_TRUE(app.waitForLine("Lumora Virir Settings")) << "the window stays open";
  EXPECT_EQ(app.signalAndWait(SIGTERM), 0);
}

TEST_F(HeadlessEndToEndTest, HelpAndVersionTouchNothingAndAnUnknownOptionFails) {
  writeText(displayPath(), "<plist>left as it was</plist>\n");
  struct stat before {};
  ASSERT_EQ(::stat(displayPath().c_str(), &before), 0);

  RunningApp help(home_.path(), {"--help"});
  EXPECT_EQ(help.waitForExit(), 0);
  EXPECT_TRUE(help.waitForLine("Usage: lumora-virir")) << help.errorOutput();
  RunningApp version(home_.path(), {"--version"});
  EXPECT_EQ(version.waitForExit(), 0);
  EXPECT_EQ(version.waitForLine("Lumora Virir"), "Lumora Virir " LUMORA_VERSION);
  struct stat after {};
  ASSERT_EQ(::stat(displayPath().c_str(), &after), 0);
  EXPECT_EQ(readText(displayPath()), "<plist>left as it was</plist>\n");
  EXPECT_TRUE(after.st_ino == before.st_ino && after.st_mtim.tv_sec == before.st_mtim.tv_sec &&
              after.st_mtim.tv_nsec == before.st_mtim.tv_nsec)
      << "neither written nor replaced";
  EXPECT_FALSE(std::filesystem::exists(home_ / "config/lumora-virir")) << "no defaults made";

  RunningApp shortHelp(home_.path(), {"-h"});
  EXPECT_EQ(shortHelp.waitForExit(), 0);
  EXPECT_TRUE(shortHelp.waitForLine("Usage: lumora-virir"));
  RunningApp shortVersion(home_.path(), {"-V"});
  EXPECT_EQ(shortVersion.waitForExit(), 0);
  EXPECT_EQ(shortVersion.waitForLine("Lumora Virir"), "Lumora Virir " LUMORA_VERSION);

  // An unknown option fails the line wherever it stands, even after --version.
  for (const std::vector<std::string>& arguments :
       std::vector<std::vector<std::string>>{{"--bogus"}, {"--version", "--bogus"}}) {
    RunningApp unknown(home_.path(), arguments);
    EXPECT_EQ(unknown.waitForExit(), 2) << arguments.size();
    EXPECT_NE(unknown.errorOutput().find("unknown option \"--bogus\"\n\nUsage: lumora-virir"),
              std::string::npos)
        << unknown.errorOutput();
    EXPECT_TRUE(unknown.linesAfter(0ms).empty()) << "not even the version";
  }
}

TEST_F(HeadlessEndToEndTest, InTheBackgroundItReadsAndPrintsNothingAndEndsWithTheSession) {
  writeText(home_ / "config/lumora-virir/defaults.plist",
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
            "<key>autoEnableXDR</key><true/><key>lastNitsValue</key><real>1600</real>"
            "</dict></plist>\n");
  RunningApp app(home_.path(), {"--background"});
  app.send("pick Quit Lumora Virir");  // never read
  for (int i = 0; i < 100 && activeIndex() != 11; ++i)
    std::this_thread::sleep_for(50ms);
  EXPECT_EQ(activeIndex(), 11) << "Auto-enable raised the display";
  EXPECT_TRUE(app.linesAfter(1500ms).empty()) << "no status lines to pile up";
  EXPECT_EQ(app.waitForExit(0ms), -1) << "still running: its input was not read";
  EXPECT_EQ(app.signalAndWait(SIGHUP), 0);
  EXPECT_EQ(activeIndex(), 0);
}

}  // namespace
}  // namespace lumora::testing
