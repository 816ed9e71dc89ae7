// The simulated Mac's files as people and accidents leave them: files that would crash a careless
// reader, files it cannot read whole, files it must not write, and writes that fail. Whatever
// happens, the app keeps running and what the user wrote is kept byte for byte.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "fakes/FakeConsole.h"
#include "platform/sim/SimUserDefaults.h"
#include "platform/sim/machine/AtomicFile.h"
#include "platform/sim/machine/FactoryDisplay.h"
#include "platform/sim/machine/PlistText.h"
#include "platform/sim/machine/SimDisplayState.h"
#include "support/TempDirectory.h"
#include "support/Unprivileged.h"

namespace lumora::sim {
namespace {

namespace fs = std::filesystem;
using testing::readText;
using testing::TempDirectory;
using testing::writeText;

std::string document(const std::string& body) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n" + body +
         "\n</plist>\n";
}

// The factory display with `extra` added to its one display entry.
std::string displayWith(const std::string& extra) {
  std::string text = toXml(factoryDisplayState().get());
  const std::string anchor = "<key>DisplayID</key>";
  text.insert(text.find(anchor), extra);
  return text;
}

std::string nested(int depth) {
  std::string text;
  for (int i = 0; i < depth; ++i)
    text += "<array>";
  for (int i = 0; i < depth; ++i)
    text += "</array>";
  return text;
}

// Every file in the folder but the one named, with its bytes.
std::vector<std::string> othersIn(const fs::path& folder, const std::string& except) {
  std::vector<std::string> contents;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().filename() != except) contents.push_back(readText(entry.path()));
  }
  return contents;
}

bool keptSomewhere(const fs::path& folder, const std::string& bytes) {
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (readText(entry.path()) == bytes) return true;
  }
  return false;
}

struct HostileFile {
  const char* what;
  std::string bytes;
};

// Files the app once accepted as valid and then crashed on, and files it would have written back
// changed: each is now kept aside whole and the app runs on its defaults.
TEST(HostileFilesTest, ADisplayFileThatCannotBeUsedWholeIsKeptAsideAndTheFactoryStateUsed) {
  const std::string table = "<key>TransferTable</key><dict><key>OwnerProcessID</key><integer>" +
                            std::to_string(::getpid()) + "</integer>";
  for (const HostileFile& file : std::vector<HostileFile>{
           {"empty gamma arrays", displayWith(table + "<key>Red</key><array/><key>Green</key>"
                                                      "<array/><key>Blue</key><array/></dict>")},
           {"unequal gamma arrays",
            displayWith(table + "<key>Red</key><array><real>0</real></array><key>Green</key>"
                                "<array><real>0</real><real>1</real></array><key>Blue</key>"
                                "<array><real>0</real></array></dict>")},
           {"a gamma value that is not a number",
            displayWith(table + "<key>Red</key><array><string>x</string></array><key>Green</key>"
                                "<array><real>0</real></array><key>Blue</key><array><real>0"
                                "</real></array></dict>")},
           {"a raw NUL byte in a string",
            displayWith(std::string("<key>Note</key><string>a\0b</string>", 36))},
           {"200 000 levels of nesting", displayWith("<key>Deep</key>" + nested(200'000))},
           {"1 000 000 levels of nesting", document(nested(1'000'000))},
           {"invalid UTF-8 in a key", displayWith("<key>Na\xffme</key><string>x</string>")},
           {"a repeated key", displayWith("<key>Name</key><string>x</string>")},
           {"a comment", displayWith("<!-- mine -->")},
           {"an integer too large",
            displayWith("<key>Count</key><integer>99999999999999999999</integer>")},
           {"a display number that is text",
            document("<dict><key>MainDisplayID</key><string>1</string><key>Displays</key>"
                     "<array/></dict>")},
       }) {
    SCOPED_TRACE(file.what);
    TempDirectory temp;
    testing::FakeConsole console;
    writeText(temp / "display.plist", file.bytes);
    SimDisplayState state(temp / "display.plist", console);

    EXPECT_EQ(state.mainDisplayID(), static_cast<platform::DisplayID>(factoryMainDisplayID));
    EXPECT_EQ(state.currentSnapshot()->displays.size(), 1u);
    EXPECT_FALSE(state.transferTables(state.mainDisplayID()));
    EXPECT_EQ(console.errors.size(), 1u);
    EXPECT_EQ(othersIn(temp.path(), "display.plist"), std::vector<std::string>{file.bytes});
    // What the app writes in its place reads back whole.
    EXPECT_EQ(whyNotReadWhole(readText(temp / "display.plist")), std::nullopt);
  }
}

TEST(HostileFilesTest, ADefaultsFileThatCannotBeUsedWholeIsKeptAsideAndTheDefaultsUsed) {
  for (const HostileFile& file : std::vector<HostileFile>{
           {"a raw NUL byte in a string",
            document(std::string("<dict><key>a</key><string>x\0y</string></dict>", 45))},
           {"invalid UTF-8 in a string",
            document("<dict><key>simpleIcon</key><true/><key>n</key><string>\xc3</string></dict>")},
           {"200 000 levels of nesting", document("<dict><key>simpleIcon</key><true/><key>x</key>" +
                                                  nested(200'000) + "</dict>")},
           {"text after the document", document("<dict/>") + "<dict/>"},
           {"a real that is not a number", document("<dict><key>r</key><real>5abc</real></dict>")},
       }) {
    SCOPED_TRACE(file.what);
    TempDirectory temp;
    testing::FakeConsole console;
    writeText(temp / "defaults.plist", file.bytes);
    SimUserDefaults defaults(temp / "defaults.plist", console);

    EXPECT_FALSE(defaults.boolForKey("simpleIcon"));
    defaults.setBool("autoEnableXDR", true);
    EXPECT_TRUE(defaults.boolForKey("autoEnableXDR"));
    EXPECT_EQ(console.errors.size(), 1u) << (console.errors.empty() ? "" : console.errors[0]);
    EXPECT_EQ(othersIn(temp.path(), "defaults.plist"), std::vector<std::string>{file.bytes});
  }
}

TEST(HostileFilesTest, AFileThatCannotBeOpenedIsKeptAsideNotReplaced) {
  TempDirectory temp;
  const std::string mine = document("<dict><key>simpleIcon</key><true/></dict>");
  writeText(temp / "defaults.plist", mine);
  ::chmod((temp / "defaults.plist").c_str(), 0200);
  const bool passed = testing::asOrdinaryUser(temp.path(), [&] {
    testing::FakeConsole console;
    SimUserDefaults defaults(temp / "defaults.plist", console);
    defaults.setBool("autoEnableXDR", true);
    return defaults.boolForKey("autoEnableXDR") && !defaults.boolForKey("simpleIcon") &&
           console.errors.size() == 1;
  });
  EXPECT_TRUE(passed);
  ::chmod(temp.path().c_str(), 0755);
  for (const auto& entry : fs::directory_iterator(temp.path()))
    ::chmod(entry.path().c_str(), 0644);
  EXPECT_TRUE(keptSomewhere(temp.path(), mine)) << "the user's bytes are kept";
}

TEST(HostileFilesTest, AFileThatCannotBeKeptAsideIsLeftAsItIsAndSaidOnce) {
  if (!testing::runningAsRoot()) {
    GTEST_SKIP() << "needs a file of another user, which only root can make";
  }
  // A file of another user cannot be linked to under protected hard links, yet the folder's
  // owner could replace it.
  TempDirectory temp;
  const std::string mine = document("<dict><key>simpleIcon</key><string>\xff</string></dict>");
  writeText(temp / "defaults.plist", mine);
  const bool passed = testing::asOrdinaryUser(
      temp.path(),
      [&] {
        testing::FakeConsole console;
        SimUserDefaults defaults(temp / "defaults.plist", console);
        defaults.setBool("autoEnableXDR", true);
        defaults.setBool("simpleIcon", true);
        const bool stillDefaults =
            !defaults.boolForKey("autoEnableXDR") && !defaults.boolForKey("simpleIcon");
        for (const std::string& line : console.errors)
          std::fprintf(stderr, "%s\n", line.c_str());
        return stillDefaults && console.errors.size() == 1;
      },
      temp / "defaults.plist");
  EXPECT_TRUE(passed);
  EXPECT_EQ(readText(temp / "defaults.plist"), mine);
}

TEST(HostileFilesTest, AFailedSaveIsSaidOnceChangesNothingAndClearsOnSuccess) {
  TempDirectory temp;
  testing::FakeConsole console;
  SimDisplayState state(temp / "display.plist", console);
  const platform::DisplayID display = state.mainDisplayID();
  const std::string stored = readText(temp / "display.plist");

  ::chmod((temp / "display.plist").c_str(), 0444);
  for (const std::int32_t index : {1, 2, 3}) {
    EXPECT_NE(state.setActivePresetIndex(display, index), SimDisplayState::success);
    EXPECT_EQ(state.activePresetIndex(display), 0)
        << "a change that cannot be stored did not happen";
  }
  EXPECT_EQ(console.errors.size(), 1u);
  EXPECT_NE(console.errors.front().find("read-only"), std::string::npos) << console.errors.front();
  EXPECT_EQ(readText(temp / "display.plist"), stored);

  ::chmod((temp / "display.plist").c_str(), 0640);
  EXPECT_EQ(state.setActivePresetIndex(display, 1), SimDisplayState::success);
  struct stat info {};
  ::stat((temp / "display.plist").c_str(), &info);
  EXPECT_EQ(info.st_mode & 0777, 0640u) << "a save keeps the file's mode";

  // The folder replaced by a file: another kind of failure, said again.
  TempDirectory other;
  writeText(other / "state", "not a folder");
  SimUserDefaults defaults(other / "state/defaults.plist", console);
  defaults.setBool("simpleIcon", true);
  defaults.setBool("simpleIcon", true);
  EXPECT_EQ(console.errors.size(), 2u);
  EXPECT_FALSE(defaults.boolForKey("simpleIcon"));
}

TEST(HostileFilesTest, ASaveReplacesTheTargetOfALinkInItsOwnFolder) {
  TempDirectory temp;
  testing::FakeConsole console;
  fs::create_directories(temp / "dotfiles");
  writeText(temp / "dotfiles/defaults.plist", document("<dict/>"));
  fs::create_symlink("dotfiles/defaults.plist", temp / "defaults.plist");
  SimUserDefaults defaults(temp / "defaults.plist", console);
  defaults.setBool("simpleIcon", true);

  EXPECT_TRUE(fs::is_symlink(temp / "defaults.plist"));
  EXPECT_NE(readText(temp / "dotfiles/defaults.plist").find("simpleIcon"), std::string::npos);
  EXPECT_EQ(std::distance(fs::directory_iterator(temp / "dotfiles"), fs::directory_iterator()), 1);
  EXPECT_TRUE(console.errors.empty());
}

TEST(HostileFilesTest, NoTemporaryFileOutlivesItsWriter) {
  TempDirectory temp;
  const fs::path file = temp / "defaults.plist";
  EXPECT_EQ(writeFileAtomically(file, document("<dict/>")), std::nullopt);
  ::chmod(file.c_str(), 0444);
  EXPECT_NE(writeFileAtomically(file, document("<dict/>")), std::nullopt);
  ::chmod(file.c_str(), 0644);
  EXPECT_EQ(std::distance(fs::directory_iterator(temp.path()), fs::directory_iterator()), 1)
      << "neither a save nor a failed save leaves a temporary file";

  // What writers that were killed left: removed once they are gone, kept while they run.
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  int status = 0;
  ::waitpid(child, &status, 0);
  writeText(temp / (".defaults.plist." + std::to_string(child) + "-1234.abcdef"), "partial");
  const std::string running = ".defaults.plist." + std::to_string(::getpid()) + "-0.ghijkl";
  writeText(temp / running, "in progress");
  writeText(temp / ".other.plist.1-1.abcdef", "not ours");
  removeLeftoverTemporaryFiles(file);
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(temp.path()))
    left.push_back(entry.path().filename().string());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{running, ".other.plist.1-1.abcdef", "defaults.plist"}));
}

}  // namespace
}  // namespace lumora::sim
