// The terminal front end's layouts that do not need a terminal: a window's content in cells, the
// footer's messages, and the help against the README's table of keys.

#include <gtest/gtest.h>

#include <clocale>

#include "platform/sim/frontends/terminal/KeyHelp.h"
#include "platform/sim/frontends/terminal/MessageList.h"
#include "platform/sim/frontends/terminal/TextWidth.h"
#include "platform/sim/frontends/terminal/WindowContent.h"
#include "support/TempDirectory.h"
#include "ui/SettingsWindow.h"

namespace lumora::sim::terminal {
namespace {

class TerminalLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(std::setlocale(LC_CTYPE, "C.UTF-8"), nullptr); }
};

// The settings window's content, 420 x 280 points.
std::vector<ContentLine> settingsContent(int columns, int rows) {
  const platform::View content = ui::settingsContentView({0, 0, 420, 280});
  return layOutContent(content, 280, columns, rows);
}

std::string textAt(const std::vector<ContentLine>& lines, int row) {
  for (const ContentLine& line : lines) {
    if (line.row == row) return line.separator ? "-" : line.text;
  }
  return "";
}

TEST_F(TerminalLayoutTest, AWindowWithRoomKeepsItsViewsWhereTheirFramesPutThem) {
  const std::vector<ContentLine> lines = settingsContent(60, 17);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(textAt(lines, 11), "-");
  EXPECT_EQ(textAt(lines, 12), "About");
  EXPECT_EQ(textAt(lines, 14), ui::versionLine);
  EXPECT_EQ(textAt(lines, 15), ui::creditLine);
  EXPECT_EQ(lines[1].x, 2) << "20 points in";
}

TEST_F(TerminalLayoutTest, AShortNarrowWindowDropsEmptyRowsAndWrapsSoEverythingShows) {
  for (const int rows : {8, 6}) {
    const std::vector<ContentLine> lines = settingsContent(38, rows);
    EXPECT_LE(contentRows(lines), rows) << rows;
    std::string shown;
    int previousRow = -1;
    for (const ContentLine& line : lines) {
      EXPECT_GT(line.row, previousRow) << "in order, one line a row";
      previousRow = line.row;
      EXPECT_LE(line.x + displayWidth(line.text), 38 - line.x) << "a margin on both sides";
      if (!line.separator) shown += line.text + " ";
    }
    for (const std::string_view text :
         {std::string_view("About"), ui::versionLine, ui::creditLine}) {
      EXPECT_NE(shown.find(text.substr(0, 20)), std::string::npos) << text << " at " << rows;
    }
  }
  // Shorter than that, the first rows are the title's and the version's; the rest scrolls.
  const std::vector<ContentLine> lines = settingsContent(38, 3);
  EXPECT_EQ(textAt(lines, 1), "About");
  EXPECT_GT(contentRows(lines), 3);
}

TEST_F(TerminalLayoutTest, TheNewestMessageShowsUntilDismissedAndTheListKeepsTheLastFew) {
  MessageList messages;
  EXPECT_EQ(messages.undismissed(), nullptr);
  messages.add("10:00", "Lumora Virir: /home/a/.config/lumora-virir/defaults.plist is bad", true);
  ASSERT_NE(messages.undismissed(), nullptr);
  EXPECT_EQ(messages.undismissed()->text, "/home/a/.config/lumora-virir/defaults.plist is bad");
  messages.dismiss();
  EXPECT_EQ(messages.undismissed(), nullptr);
  EXPECT_EQ(messages.messages().size(), 1u) << "the list keeps it";
  for (int i = 0; i < 30; ++i)
    messages.add("10:01", "line " + std::to_string(i), false);
  EXPECT_EQ(messages.messages().size(), MessageList::capacity);
  EXPECT_EQ(messages.messages().back().text, "line 29");
  EXPECT_EQ(messages.undismissed()->text, "line 29") << "a new one shows again";

  EXPECT_EQ(inPlainWords("/a/b/defaults.plist cannot be read whole (x); it was kept as "
                         "/a/b/defaults.plist.unreadable-5 and the defaults are used instead."),
            "defaults.plist cannot be read whole (x); it was kept as defaults.plist.unreadable-5 "
            "and the defaults are used instead.");
  EXPECT_EQ(inPlainWords("cannot save /s/display.plist: the file is read-only; 3/4 done"),
            "cannot save display.plist: the file is read-only; 3/4 done")
      << "a slash inside a word is no path";
}

TEST_F(TerminalLayoutTest, TheHelpFitsItsWidthAndTheReadmeListsExactlyItsKeys) {
  for (const int width : {34, 76}) {
    for (const HelpLine& line : helpLines(width))
      EXPECT_LE(displayWidth(line.text), width) << line.text;
  }

  const std::string readme = testing::readText(LUMORA_SOURCE_DIR "/README.md");
  const std::string header = "| Where | Keys | What they do |\n|---|---|---|\n";
  const std::size_t start = readme.find(header);
  ASSERT_NE(start, std::string::npos) << "the README's table of keys";
  std::vector<std::string> rows;
  for (std::size_t at = start + header.size(); at < readme.size() && readme[at] == '|';) {
    const std::size_t end = readme.find('\n', at);
    rows.push_back(readme.substr(at, end - at));
    at = end + 1;
  }
  std::vector<std::string> expected;
  for (const KeySection& section : keySections()) {
    for (const KeyLine& line : section.lines) {
      expected.push_back("| " + std::string(section.title) + " | " + std::string(line.keys) +
                         " | " + std::string(line.does) + " |");
    }
  }
  EXPECT_EQ(rows, expected);
}

}  // namespace
}  // namespace lumora::sim::terminal
