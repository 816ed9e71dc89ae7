// The terminal front end's layouts that do not need a terminal: a window's content in cells and
// its button, the footer's messages, and the help against the README's table of keys.

#include <gtest/gtest.h>

#include <clocale>

#include "platform/sim/frontends/terminal/KeyHelp.h"
#include "platform/sim/frontends/terminal/Keys.h"
#include "platform/sim/frontends/terminal/MessageList.h"
#include "platform/sim/frontends/terminal/TextWidth.h"
#include "platform/sim/frontends/terminal/WindowContent.h"
#include "platform/sim/frontends/terminal/WindowView.h"
#include "support/ActionRecorder.h"
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
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(textAt(lines, 9), "-");
  EXPECT_EQ(textAt(lines, 10), "About");
  EXPECT_EQ(textAt(lines, 11), ui::versionLine);
  EXPECT_EQ(textAt(lines, 13), ui::creditLine);
  EXPECT_EQ(textAt(lines, 14), "[ Copy Diagnostics ]");
  EXPECT_EQ(lines[1].x, 2) << "20 points in";
  ASSERT_TRUE(lines[4].button) << "the button's line carries the button";
  EXPECT_EQ(lines[4].button->action, platform::StaticText("copyDiagnostics"));
  EXPECT_EQ(lines[4].x, 2);
  EXPECT_GE(lines[4].width, static_cast<int>(lines[4].text.size())) << "it shows whole";
  for (std::size_t i = 0; i < 4; ++i)
    EXPECT_FALSE(lines[i].button) << lines[i].text;
}

TEST_F(TerminalLayoutTest, EnterSpaceAndAClickOnItPressTheSettingsWindowsButton) {
  EventLoop loop;
  SimApplication application(loop);
  const auto delegate = std::make_shared<testing::ActionRecorder>();
  application.setDelegate(delegate);
  SimWindows windows([](const SimWindow&) {});
  WindowView view(windows, application);
  const std::shared_ptr<platform::Window> window = windows.makeWindow(
      ui::settingsContentRect, ui::settingsStyleMask, platform::BackingStore::buffered, false);
  window->setContentView(ui::settingsContentView(window->contentViewBounds()));
  const Input enter{Input::Kind::character, '\r', 0, 0, 0};
  EXPECT_FALSE(view.handle(enter)) << "no window on screen: Enter is the main screen's";

  window->makeKeyAndOrderFront();
  const Area room{1, 0, 22, 80};
  view.layOut(room);
  EXPECT_EQ(view.hints(),
            (std::vector<std::string_view>{"Esc: close window", "Enter: Copy Diagnostics"}));
  // The button's line is the content's row 14, two cells in from the box's border.
  ASSERT_EQ(view.areas().size(), 1u);
  const Area box = view.areas().front();
  const int y = box.top + 1 + 14;
  const int x = box.left + 1 + 2;
  const auto click = [&](int row, int column) {
    return view.handle(Input{Input::Kind::click, 0, 0, row, column});
  };
  EXPECT_FALSE(click(y, x - 1));
  EXPECT_FALSE(click(y - 1, x));
  EXPECT_FALSE(click(y, x + 20)) << "one past the closing bracket";
  EXPECT_TRUE(delegate->sent.empty());
  EXPECT_TRUE(click(y, x));
  EXPECT_TRUE(click(y, x + 19));
  EXPECT_TRUE(view.handle(enter));
  EXPECT_TRUE(view.handle(Input{Input::Kind::character, ' ', 0, 0, 0}));
  EXPECT_EQ(delegate->sent, std::vector<std::string>(4, "copyDiagnostics 0"));

  // Four rows of content on a short terminal: the button shows, and is clicked, only once
  // scrolled to.
  const Area shortRoom{1, 0, 6, 80};
  view.layOut(shortRoom);
  const Area shortBox = view.areas().front();
  const auto clickEveryRow = [&] {
    int pressed = 0;
    for (int row = shortBox.top + 1; row < shortBox.bottom() - 1; ++row)
      pressed += click(row, shortBox.left + 3) ? 1 : 0;
    return pressed;
  };
  EXPECT_EQ(clickEveryRow(), 0) << "out of view";
  ASSERT_TRUE(view.handle(Input{Input::Kind::key, 0, KEY_NPAGE, 0, 0}));
  view.layOut(shortRoom);
  EXPECT_EQ(clickEveryRow(), 1) << "scrolled into view, on one row";
  EXPECT_EQ(delegate->sent.size(), 5u);

  ASSERT_TRUE(view.handle(Input{Input::Kind::character, 'q', 0, 0, 0}));
  view.layOut(room);
  EXPECT_FALSE(view.handle(enter)) << "closed, Enter goes on to the main screen";
  EXPECT_EQ(delegate->sent.size(), 5u);
}

TEST_F(TerminalLayoutTest, AShortNarrowWindowDropsEmptyRowsAndWrapsSoEverythingShows) {
  for (const int rows : {8, 7}) {
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
    for (const std::string_view text : {std::string_view("About"), ui::versionLine, ui::creditLine,
                                        std::string_view("[ Copy Diagnostics ]")}) {
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
