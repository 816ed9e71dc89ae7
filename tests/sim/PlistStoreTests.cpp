// The simulated Mac's files: the property-list file, the user defaults and the display state.

#include <gtest/gtest.h>

#include <cmath>
#include <thread>

#include "fakes/FakeConsole.h"
#include "platform/sim/SimUserDefaults.h"
#include "platform/sim/machine/PlistFile.h"
#include "platform/sim/machine/PlistText.h"
#include "platform/sim/machine/SimDisplayState.h"
#include "support/TempDirectory.h"

namespace lumora::sim {
namespace {

using testing::readText;
using testing::TempDirectory;
using testing::writeText;

constexpr const char* header =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n";

std::string plistText(const std::string& body) {
  return header + body + "\n</plist>\n";
}

std::vector<std::filesystem::path> filesIn(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    files.push_back(entry.path());
  return files;
}

TEST(PlistFileTest, ParsesAgainOnlyWhenTheFileChanged) {
  TempDirectory temp;
  testing::FakeConsole console;
  PlistFile file(temp / "state.plist", console, isDictionary);
  EXPECT_EQ(file.load(), nullptr);

  PlistPtr root = adopt(plist_new_dict());
  setDictItem(root.get(), "a", makeInteger(1));
  ASSERT_EQ(file.store(std::move(root)), std::nullopt);
  EXPECT_EQ(filesIn(temp.path()).size(), 1u) << "no temporary file is left behind";
  EXPECT_EQ(integerValue(dictItem(file.load(), "a")), 1);
  EXPECT_EQ(integerValue(dictItem(file.load(), "a")), 1);
  EXPECT_EQ(file.parseCount(), 0) << "what was saved is not parsed back";

  // Another process replaces the file.
  writeText(temp / "other.plist", plistText("<dict><key>a</key><integer>2</integer></dict>"));
  std::filesystem::rename(temp / "other.plist", temp / "state.plist");
  EXPECT_EQ(integerValue(dictItem(file.load(), "a")), 2);
  EXPECT_EQ(integerValue(dictItem(file.load(), "a")), 2);
  EXPECT_EQ(file.parseCount(), 1);

  std::filesystem::remove(temp / "state.plist");
  EXPECT_EQ(file.load(), nullptr);
}

TEST(PlistFileTest, KeepsAnUnusableFileAsideAndSaysSoOnce) {
  TempDirectory temp;
  testing::FakeConsole console;
  const std::string garbage = "<?xml version=\"1.0\"?><plist><dict><key>a</key>";
  writeText(temp / "state.plist", garbage);
  PlistFile file(temp / "state.plist", console, isDictionary);

  EXPECT_EQ(file.load(), nullptr);
  EXPECT_EQ(file.load(), nullptr);
  ASSERT_EQ(console.errors.size(), 1u);
  const auto files = filesIn(temp.path());
  ASSERT_EQ(files.size(), 1u);
  EXPECT_NE(files.front().filename().string().find("state.plist.unreadable-"), std::string::npos);
  EXPECT_EQ(readText(files.front()), garbage);

  // A second bad file is kept too, beside the first.
  writeText(temp / "state.plist", plistText("<array/>"));
  EXPECT_EQ(file.load(), nullptr);
  EXPECT_EQ(filesIn(temp.path()).size(), 2u);
  EXPECT_EQ(console.errors.size(), 2u);
}

// Valid property lists that XML readers take: a byte-order mark before the declaration, and
// CDATA sections in strings and keys. What is not a property list stays refused.
TEST(PlistTextTest, AByteOrderMarkAndCDATASectionsAreReadAsXmlReadersReadThem) {
  TempDirectory temp;
  testing::FakeConsole console;
  writeText(temp / "defaults.plist",
            "\xEF\xBB\xBF" + plistText("<dict><key>simpleIcon</key><true/></dict>"));
  SimUserDefaults defaults(temp / "defaults.plist", console);
  EXPECT_TRUE(defaults.boolForKey("simpleIcon"));
  defaults.setBool("autoEnableXDR", true);
  EXPECT_TRUE(defaults.boolForKey("simpleIcon")) << "kept when the file is written back";
  EXPECT_TRUE(console.errors.empty()) << console.errors.front();

  const std::string cdata = plistText(
      "<dict><key><![CDATA[a<b]]></key><string>x <![CDATA[<&amp;>]]]]><![CDATA[>]]> y&amp;"
      "</string><key>a&lt;b2</key><string><![CDATA[]]></string></dict>");
  EXPECT_EQ(whyNotReadWhole(cdata), std::nullopt);
  const PlistPtr parsed = fromXml(cdata);
  EXPECT_EQ(stringValue(dictItem(parsed.get(), "a<b")), "x <&amp;>]]> y&");
  EXPECT_EQ(stringValue(dictItem(parsed.get(), "a<b2")), "");
  EXPECT_NE(whyNotReadWhole(
                plistText("<dict><key><![CDATA[k]]></key><true/><key>k</key><false/></dict>")),
            std::nullopt)
      << "a key repeated through CDATA is still a repeated key";

  for (const std::string& refused :
       {plistText("<string><![CDATA[never ends</string>"),
        plistText("<integer><![CDATA[5]]></integer>"), plistText("<![CDATA[<true/>]]>"),
        "\xEF\xBB\xBF\xEF\xBB\xBF" + plistText("<true/>")}) {
    EXPECT_NE(whyNotReadWhole(refused), std::nullopt) << refused;
  }
}

TEST(SimUserDefaultsTest, StoresEachValueWithItsOwnTypeAndReadsItBack) {
  TempDirectory temp;
  testing::FakeConsole console;
  const auto path = temp / "config/lumora-virir/defaults.plist";
  {
    SimUserDefaults defaults(path, console);
    EXPECT_FALSE(defaults.boolForKey("autoEnableXDR"));
    EXPECT_EQ(defaults.integerForKey("deepBlacksLevel"), 0);
    EXPECT_EQ(defaults.doubleForKey("lastNitsValue"), 0.0);
    defaults.setBool("autoEnableXDR", true);
    defaults.setInteger("deepBlacksLevel", -1);
    defaults.setDouble("lastNitsValue", 1250.0);
    defaults.setDouble("precise", 0.1 + 0.2);
  }
  const std::string text = readText(path);
  EXPECT_NE(text.find("<key>autoEnableXDR</key>\n\t<true/>"), std::string::npos) << text;
  EXPECT_NE(text.find("<key>deepBlacksLevel</key>\n\t<integer>-1</integer>"), std::string::npos);
  EXPECT_NE(text.find("<key>lastNitsValue</key>\n\t<real>1250</real>"), std::string::npos);

  SimUserDefaults later(path, console);  // a later run
  EXPECT_TRUE(later.boolForKey("autoEnableXDR"));
  EXPECT_EQ(later.integerForKey("deepBlacksLevel"), -1);
  EXPECT_EQ(later.doubleForKey("lastNitsValue"), 1250.0);
  EXPECT_EQ(later.doubleForKey("precise"), 0.1 + 0.2);
}

TEST(SimUserDefaultsTest, ConvertsBetweenTypesAsTheRealStoreDoes) {
  TempDirectory temp;
  testing::FakeConsole console;
  writeText(temp / "defaults.plist",
            plistText("<dict><key>int</key><integer>3</integer><key>real</key><real>2.7</real>"
                      "<key>huge</key><real>1e300</real><key>nan</key><real>nan</real>"
                      "<key>yes</key><string>YES</string><key>word</key><string>maybe</string>"
                      "<key>number</key><string>42</string><key>flag</key><true/></dict>"));
  SimUserDefaults defaults(temp / "defaults.plist", console);
  EXPECT_TRUE(defaults.boolForKey("int"));
  EXPECT_EQ(defaults.doubleForKey("int"), 3.0);
  EXPECT_EQ(defaults.integerForKey("real"), 2);
  EXPECT_EQ(defaults.integerForKey("huge"), 0);
  EXPECT_EQ(defaults.integerForKey("nan"), 0);
  EXPECT_FALSE(defaults.boolForKey("nan"));
  EXPECT_TRUE(defaults.boolForKey("yes"));
  EXPECT_FALSE(defaults.boolForKey("word"));
  EXPECT_EQ(defaults.integerForKey("number"), 42);
  EXPECT_EQ(defaults.integerForKey("flag"), 1);
  EXPECT_EQ(defaults.doubleForKey("word"), 0.0);
}

TEST(SimUserDefaultsTest, KeepsKeysThatAnotherProcessWroteMeanwhile) {
  TempDirectory temp;
  testing::FakeConsole console;
  SimUserDefaults defaults(temp / "defaults.plist", console);
  defaults.setBool("simpleIcon", true);
  writeText(temp / "defaults.plist",
            plistText("<dict><key>simpleIcon</key><true/><key>launchAtLogin</key><true/></dict>"));
  defaults.setBool("autoEnableXDR", true);
  EXPECT_TRUE(defaults.boolForKey("launchAtLogin"));
  EXPECT_TRUE(defaults.boolForKey("simpleIcon"));
}

TEST(SimUserDefaultsTest, StartsAfreshFromAnUnreadableFileWithoutLosingIt) {
  TempDirectory temp;
  testing::FakeConsole console;
  writeText(temp / "defaults.plist", "not a property list");
  SimUserDefaults defaults(temp / "defaults.plist", console);
  EXPECT_FALSE(defaults.boolForKey("autoEnableXDR"));
  defaults.setBool("autoEnableXDR", true);
  EXPECT_TRUE(defaults.boolForKey("autoEnableXDR"));
  EXPECT_EQ(console.errors.size(), 1u);
  EXPECT_EQ(filesIn(temp.path()).size(), 2u);
}

class SimDisplayStateTest : public ::testing::Test {
 protected:
  SimDisplayState& state() {
    if (!state_) state_ = std::make_unique<SimDisplayState>(temp_ / "display.plist", console_);
    return *state_;
  }
  platform::DisplayID main() { return state().mainDisplayID(); }

  TempDirectory temp_;
  testing::FakeConsole console_;
  std::unique_ptr<SimDisplayState> state_;
};

TEST_F(SimDisplayStateTest, StartsFromTheFactoryStateAndWritesItOut) {
  EXPECT_NE(main(), 0u);
  EXPECT_TRUE(std::filesystem::exists(temp_ / "display.plist"));
  EXPECT_EQ(state().activePresetIndex(main()), 0);
  const PlistPtr standard = state().copyPreset(main(), 0);
  EXPECT_EQ(realValue(dictItem(standard.get(), "PresetMaxSDRLuminance")), 500.0);
  EXPECT_EQ(realValue(dictItem(standard.get(), "PresetMaxHDRLuminance")), 1600.0);
  EXPECT_EQ(state().copyPreset(main(), 11), nullptr);
  const std::optional<platform::Screen> screen = state().mainScreen();
  ASSERT_TRUE(screen && screen->screenNumber);
  EXPECT_EQ(std::get<std::int64_t>(*screen->screenNumber), static_cast<std::int64_t>(main()));
}

TEST_F(SimDisplayStateTest, HandsOutCopiesOfPresets) {
  PlistPtr copy = state().copyPreset(main(), 0);
  setDictItem(copy.get(), "PresetMaxSDRLuminance", adopt(plist_new_real(1600.0)));
  EXPECT_EQ(realValue(dictItem(state().copyPreset(main(), 0).get(), "PresetMaxSDRLuminance")),
            500.0);
}

TEST_F(SimDisplayStateTest, RefusesWhatTheWindowServerRefuses) {
  const PlistPtr preset = state().copyPreset(main(), 0);
  EXPECT_EQ(state().setActivePresetIndex(main(), 11), SimDisplayState::illegalArgument)
      << "an empty slot cannot be made active";
  EXPECT_EQ(state().setActivePresetIndex(main(), 16), SimDisplayState::rangeCheck);
  EXPECT_EQ(state().setActivePresetIndex(main(), -1), SimDisplayState::rangeCheck);
  EXPECT_EQ(state().setPreset(main(), 0, preset.get()), SimDisplayState::invalidOperation)
      << "the standard preset is read-only";
  EXPECT_EQ(state().setPreset(main() + 1, 11, preset.get()), SimDisplayState::illegalArgument);
  EXPECT_EQ(state().activePresetIndex(main() + 1), -1);
  EXPECT_EQ(state().copyPreset(main() + 1, 0), nullptr);
  EXPECT_EQ(state().activePresetIndex(main()), 0);
}

TEST_F(SimDisplayStateTest, KeepsWritesAcrossProcessesAndSeesEditsFromOthers) {
  PlistPtr preset = state().copyPreset(main(), 0);
  setDictItem(preset.get(), "PresetWritable", makeInteger(1));
  ASSERT_EQ(state().setPreset(main(), 11, preset.get()), SimDisplayState::success);
  ASSERT_EQ(state().setActivePresetIndex(main(), 11), SimDisplayState::success);

  SimDisplayState later(temp_ / "display.plist", console_);
  EXPECT_EQ(later.activePresetIndex(main()), 11);
  ASSERT_NE(later.copyPreset(main(), 11), nullptr);

  // Someone edits the file by hand: the running app sees it at its next read.
  std::string text = readText(temp_ / "display.plist");
  const std::string active = "<key>ActivePresetIndex</key>\n\t\t\t<integer>11</integer>";
  const std::size_t at = text.find(active);
  ASSERT_NE(at, std::string::npos) << text.substr(0, 600);
  text.replace(at, active.size(), "<key>ActivePresetIndex</key>\n\t\t\t<integer>3</integer>");
  writeText(temp_ / "display.plist", text);
  EXPECT_EQ(state().activePresetIndex(main()), 3);
}

TEST_F(SimDisplayStateTest, DescribesASecondDisplayAndAMainScreenOfItsOwnOrNone) {
  writeText(temp_ / "display.plist",
            plistText("<dict><key>MainDisplayID</key><integer>5</integer>"
                      "<key>MainScreenDisplayID</key><real>6.5</real>"
                      "<key>Displays</key><array>"
                      "<dict><key>DisplayID</key><integer>5</integer></dict>"
                      "<dict><key>DisplayID</key><integer>6</integer></dict></array></dict>"));
  EXPECT_EQ(main(), 5u);
  const auto screen = state().mainScreen();
  ASSERT_TRUE(screen && screen->screenNumber);
  EXPECT_EQ(std::get<double>(*screen->screenNumber), 6.5);

  writeText(temp_ / "display.plist", plistText("<dict><key>MainDisplayID</key><integer>5</integer>"
                                               "<key>Displays</key><array/></dict>"));
  EXPECT_FALSE(state().mainScreen().has_value());
}

TEST_F(SimDisplayStateTest, AGammaTableLastsWhileItsProcessRuns) {
  std::vector<float> table(256);
  for (std::size_t i = 0; i < table.size(); ++i)
    table[i] = static_cast<float>(i) / 255.0f;
  table[128] = 0.4373241f;
  ASSERT_EQ(state().setTransferTables(main(), table, table, table), SimDisplayState::success);
  const auto loaded = state().transferTables(main());
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->red, table) << "values come back exactly";
  EXPECT_EQ(loaded->owner.pid, ::getpid());

  state().restoreCalibration();
  EXPECT_FALSE(state().transferTables(main()));

  // A table whose process has ended counts as restored.
  ASSERT_EQ(state().setTransferTables(main(), table, table, table), SimDisplayState::success);
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  int status = 0;
  ::waitpid(child, &status, 0);
  std::string text = readText(temp_ / "display.plist");
  const std::string owner =
      "<key>OwnerProcessID</key>\n\t\t\t\t<integer>" + std::to_string(::getpid());
  const std::size_t at = text.find(owner);
  ASSERT_NE(at, std::string::npos);
  text.replace(at, owner.size(),
               "<key>OwnerProcessID</key>\n\t\t\t\t<integer>" + std::to_string(child));
  writeText(temp_ / "display.plist", text);
  EXPECT_FALSE(state().transferTables(main()));
}

TEST_F(SimDisplayStateTest, RefusesMalformedGammaTables) {
  std::vector<float> good(256, 0.5f);
  std::vector<float> shorter(255, 0.5f);
  // Values above 1.0 are shown as far as the headroom goes; past the maximum they are refused.
  std::vector<float> above(256, 0.5f);
  above[3] = SimDisplayState::maximumTableValue * 1.01f;
  std::vector<float> notANumber(256, 0.5f);
  notANumber[7] = std::nanf("");
  EXPECT_EQ(state().setTransferTables(main(), good, shorter, good),
            SimDisplayState::illegalArgument);
  EXPECT_EQ(state().setTransferTables(main(), good, good, above), SimDisplayState::illegalArgument);
  EXPECT_EQ(state().setTransferTables(main(), notANumber, good, good),
            SimDisplayState::illegalArgument);
  EXPECT_EQ(state().setTransferTables(main(), {}, {}, {}), SimDisplayState::illegalArgument);
  EXPECT_EQ(state().setTransferTables(main() + 1, good, good, good),
            SimDisplayState::illegalArgument);
  EXPECT_FALSE(state().transferTables(main()));
}

}  // namespace
}  // namespace lumora::sim
