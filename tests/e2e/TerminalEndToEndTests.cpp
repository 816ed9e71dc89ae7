// The terminal front end, driven in a real terminal: keys in, the screen read back.

#include <gtest/gtest.h>
#include <signal.h>

#include <clocale>
#include <ctime>
#include <cwchar>
#include <regex>
#include <thread>

#include "display/DeepBlacksController.h"
#include "e2e/TmuxSession.h"
#include "platform/sim/machine/Plist.h"
#include "support/TempDirectory.h"

namespace lumora::testing {
namespace {

using namespace std::chrono_literals;
using Cells = std::vector<std::vector<std::string>>;

// The screen as rows of cells: a wide character's second cell is empty, a zero-width one joins
// the cell before it.
Cells cellsOf(const std::string& screen) {
  Cells rows(1);
  std::mbstate_t state{};
  for (std::size_t at = 0; at < screen.size();) {
    wchar_t c = 0;
    const std::size_t length = std::mbrtowc(&c, &screen[at], screen.size() - at, &state);
    if (length == 0 || length > screen.size() - at) break;
    const std::string text = screen.substr(at, length);
    at += length;
    const int width = ::wcwidth(c);
    if (c == L'\n') {
      rows.emplace_back();
    } else if (width == 0 && !rows.back().empty()) {
      rows.back().back() += text;
    } else {
      rows.back().push_back(text);
      if (width == 2) rows.back().emplace_back();
    }
  }
  return rows;
}

std::string cellAt(const Cells& cells, int y, int x) {
  if (y < 0 || x < 0 || y >= static_cast<int>(cells.size())) return " ";
  const auto& row = cells[static_cast<std::size_t>(y)];
  return x < static_cast<int>(row.size()) ? row[static_cast<std::size_t>(x)] : " ";
}

struct Box {
  int top, left, bottom, right;  // the border's rows and columns
};

// The first box whose top-left corner is at or below row `from`, followed down its left side to
// its bottom-left corner; none when there is no corner or the box has no bottom.
std::optional<Box> boxBelow(const Cells& cells, int from) {
  for (int y = from; y < static_cast<int>(cells.size()); ++y) {
    const auto& row = cells[static_cast<std::size_t>(y)];
    for (int x = 0; x < static_cast<int>(row.size()); ++x) {
      if (row[static_cast<std::size_t>(x)] != "\u250C") continue;
      int right = x + 1;
      while (right < static_cast<int>(row.size()) && cellAt(cells, y, right) != "\u2510")
        ++right;
      for (int bottom = y + 1; bottom < static_cast<int>(cells.size()); ++bottom) {
        if (cellAt(cells, bottom, x) == "\u2514") return Box{y, x, bottom, right};
      }
      return std::nullopt;
    }
  }
  return std::nullopt;
}

// Every row of the box has its border on both sides, and nothing touches it from outside.
void expectClosedAndClear(const Cells& cells, const Box& box) {
  for (int y = box.top + 1; y < box.bottom; ++y) {
    EXPECT_TRUE(cellAt(cells, y, box.left) == "\u2502" || cellAt(cells, y, box.left) == "\u251C")
        << "left border, row " << y;
    const std::string right = cellAt(cells, y, box.right);
    EXPECT_TRUE(right == "\u2502" || right == "\u2524" || right == "\u25B2" || right == "\u25BC")
        << "right border, row " << y << ": " << right;
    EXPECT_EQ(cellAt(cells, y, box.left - 1), " ") << "left of the box, row " << y;
    EXPECT_EQ(cellAt(cells, y, box.right + 1), " ") << "right of the box, row " << y;
  }
  EXPECT_EQ(cellAt(cells, box.bottom, box.right), "\u2518");
}

// Two borders side by side anywhere on the screen, as where one box is drawn against another.
std::optional<std::string> doubledBorder(const Cells& cells) {
  const std::string vertical = "\u2502\u250C\u2510\u2514\u2518\u251C\u2524";
  const auto isVertical = [&](const std::string& cell) {
    return cell != " " && !cell.empty() && vertical.find(cell) != std::string::npos;
  };
  for (int y = 1; y < static_cast<int>(cells.size()); ++y) {
    const auto& row = cells[static_cast<std::size_t>(y)];
    for (int x = 0; x + 1 < static_cast<int>(row.size()); ++x) {
      if (isVertical(cellAt(cells, y, x)) && isVertical(cellAt(cells, y, x + 1))) {
        return "row " + std::to_string(y) + ", columns " + std::to_string(x) + "-" +
               std::to_string(x + 1);
      }
    }
  }
  return std::nullopt;
}

std::string clockText(std::time_t when) {
  std::tm local{};
  localtime_r(&when, &local);
  char text[32];
  std::strftime(text, sizeof text, "%a %H:%M", &local);
  return text;
}

class TerminalEndToEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!TmuxSession::available()) GTEST_SKIP() << "tmux cannot open a terminal here";
    ASSERT_NE(std::setlocale(LC_CTYPE, "C.UTF-8"), nullptr);
  }
  void start(const TmuxSession::Options& options = {}, const std::string& ready = "Enter: menu") {
    session_.reset();
    session_ = std::make_unique<TmuxSession>(home_.path(), options);
    ASSERT_TRUE(session_->waitFor(ready)) << session_->capture();
  }

  sim::PlistPtr file(const std::string& name) const { return sim::fromXml(readText(home_ / name)); }
  std::int64_t activeIndex() const {
    const sim::PlistPtr root = file("state/lumora-virir/display.plist");
    const plist_t display = plist_array_get_item(sim::dictItem(root.get(), "Displays"), 0);
    return sim::integerValue(sim::dictItem(display, "ActivePresetIndex")).value_or(-1);
  }
  std::optional<double> ceiling() const {
    const sim::PlistPtr root = file("state/lumora-virir/display.plist");
    const plist_t display = plist_array_get_item(sim::dictItem(root.get(), "Displays"), 0);
    const plist_t preset = sim::dictItem(sim::dictItem(display, "Presets"), "11");
    return sim::realValue(sim::dictItem(preset, "PresetMaxSDRLuminance"));
  }
  std::string defaults() const { return readText(home_ / "config/lumora-virir/defaults.plist"); }
  std::optional<double> storedReal(const std::string& key) const {
    const sim::PlistPtr root = file("config/lumora-virir/defaults.plist");
    return sim::realValue(sim::dictItem(root.get(), key));
  }
  std::optional<std::int64_t> storedInteger(const std::string& key) const {
    const sim::PlistPtr root = file("config/lumora-virir/defaults.plist");
    return sim::integerValue(sim::dictItem(root.get(), key));
  }
  // Waits until the display's active preset is `index`.
  bool waitForPreset(std::int64_t index) {
    for (int i = 0; i < 100 && activeIndex() != index; ++i)
      std::this_thread::sleep_for(50ms);
    return activeIndex() == index;
  }
  // The screen's first line, the menu bar, and its last, the footer.
  std::string menuBar() {
    const std::string screen = session_->capture();
    return screen.substr(0, screen.find('\n'));
  }
  std::string footer() {
    std::string screen = session_->capture();
    while (!screen.empty() && screen.back() == '\n')
      screen.pop_back();
    return screen.substr(screen.rfind('\n') + 1);
  }
  bool highlightedHas(const std::string& title) {
    for (const std::string& run : session_->highlighted()) {
      if (run.find(title) != std::string::npos) return true;
    }
    return false;
  }
  // With a menu open, moves down to the entry titled `title` (Right enters its submenu); false
  // when no entry of that title comes up.
  bool select(const std::string& title) {
    for (int step = 0; step < 25; ++step) {
      if (highlightedHas(title)) return true;
      session_->sendKeys({"Down"});
    }
    return false;
  }
  // Opens the menu and picks the entry at the end of `path`, entering submenus on the way.
  void choose(const std::vector<std::string>& path) {
    session_->sendKeys({"Enter"});
    ASSERT_TRUE(session_->waitFor("\u2191\u2193: move")) << session_->capture();
    for (std::size_t i = 0; i < path.size(); ++i) {
      ASSERT_TRUE(select(path[i])) << path[i] << "\n" << session_->capture();
      session_->sendKeys({i + 1 < path.size() ? "Right" : "Enter"});
    }
  }
  void expectEndedCleanly() {
    ASSERT_TRUE(session_->waitFor("EXIT:0")) << session_->capture();
    // The terminal's settings come on the line after.
    ASSERT_TRUE(session_->waitFor("icanon")) << session_->capture();
    const std::string screen = session_->capture();
    const std::string settings = screen.substr(screen.find("EXIT:0"));
    EXPECT_NE(settings.find("icanon"), std::string::npos) << settings;
    EXPECT_EQ(settings.find("-icanon"), std::string::npos)
        << "the terminal is restored: " << settings;
    EXPECT_EQ(settings.find("-echo"), std::string::npos) << settings;
    EXPECT_EQ(screen.find("Simulated display"), std::string::npos) << "the screen is handed back";
    EXPECT_EQ(session_->terminalModes(), "0 1 0") << "main screen, cursor shown, no mouse reports";
    EXPECT_EQ(activeIndex(), 0);
  }

  TempDirectory home_;
  std::unique_ptr<TmuxSession> session_;
};

TEST_F(TerminalEndToEndTest, AFullTourOfTheMenu) {
  start();
  TmuxSession& terminal = *session_;
  EXPECT_NE(menuBar().find("\u263C"), std::string::npos) << "the sun of the SDR state";

  // A level, by keyboard.
  terminal.sendKeys({"Enter"});
  ASSERT_TRUE(terminal.waitFor("\U0001F4A1 SDR Mode")) << terminal.capture();
  terminal.sendKeys({"Escape"});
  choose({"1250 nits"});
  ASSERT_TRUE(terminal.waitFor("SDR ceiling    1250 nits")) << terminal.capture();
  EXPECT_TRUE(terminal.waitFor("Slot 11        \"Lumora XDR (1250 nits)\""));
  EXPECT_EQ(activeIndex(), 11);
  EXPECT_NE(menuBar().find("\u2600"), std::string::npos);
  terminal.sendKeys({"Enter"});
  ASSERT_TRUE(terminal.waitFor("XDR Enabled (250%)")) << terminal.capture();
  EXPECT_TRUE(terminal.waitFor("\u2713   250% \u2013 1250 nits")) << terminal.capture();
  terminal.sendKeys({"Escape"});
  ASSERT_TRUE(terminal.waitForGone("XDR Enabled (250%)"));

  // Deep Blacks through its submenu, and the warning.
  choose({"Deep Blacks", "Medium"});
  ASSERT_TRUE(terminal.waitFor("Deep Blacks Enabled")) << terminal.capture();
  EXPECT_TRUE(terminal.waitFor("[ I Understand ]"));
  EXPECT_TRUE(terminal.waitFor("\u263E\u2726")) << "the moon replaces the sun";
  terminal.sendKeys({"Enter"});
  ASSERT_TRUE(terminal.waitForGone("[ I Understand ]")) << terminal.capture();
  EXPECT_NE(defaults().find("<key>deepBlacksWarningShown</key>\n\t<true/>"), std::string::npos);
  EXPECT_TRUE(terminal.waitFor("table loaded by process"));

  // The settings window, and the app in the Dock while it is open.
  EXPECT_EQ(terminal.capture().find("Dock: \u25C9 Lumora Virir"), std::string::npos);
  terminal.sendKeys({"Enter", ","});
  ASSERT_TRUE(terminal.waitFor("Lumora Virir Settings")) << terminal.capture();
  EXPECT_TRUE(terminal.waitFor("Lumora Virir v1.5.0 - XDR Brightness Control"));
  EXPECT_TRUE(terminal.waitFor("Dock: \u25C9 Lumora Virir"));
  terminal.sendKeys({"Escape"});
  ASSERT_TRUE(terminal.waitForGone("Lumora Virir Settings")) << terminal.capture();
  EXPECT_TRUE(terminal.waitForGone("Dock: \u25C9 Lumora Virir"));

  // Q quits from inside the menu, where q only backs out.
  terminal.sendKeys({"Enter", "Q"});
  expectEndedCleanly();
}

TEST_F(TerminalEndToEndTest, TheSliderMovesByStepsAndStopsAtEachLevel) {
  start();
  TmuxSession& terminal = *session_;
  choose({"1000 nits"});
  ASSERT_TRUE(terminal.waitFor("SDR ceiling    1000 nits")) << terminal.capture();

  // The knob marks the slider's row; the levels before it hold "1000 nits" too.
  terminal.sendKeys({"Enter"});
  ASSERT_TRUE(terminal.waitFor("\u2191\u2193: move")) << terminal.capture();
  ASSERT_TRUE(select("\u25CF")) << terminal.capture();
  EXPECT_TRUE(terminal.waitFor("\u2190\u2192: slide")) << footer();
  terminal.sendKeys({"Right", "Right", "Right", "l", "Right"});
  // The menu stays open over the panel, and follows.
  ASSERT_TRUE(terminal.waitFor("\u2713   250% \u2013 1250 nits")) << terminal.capture();
  EXPECT_TRUE(highlightedHas("1250 nits"));
  EXPECT_EQ(ceiling(), 1250.0);
  EXPECT_EQ(storedReal("lastNitsValue"), 1250.0);

  // From the stop, a small step leaves it; Enter closes the menu where the slider is.
  terminal.sendKeys({"S-Left"});
  ASSERT_TRUE(terminal.waitFor("1240 nits")) << terminal.capture();
  EXPECT_TRUE(highlightedHas("1240 nits"));
  terminal.sendKeys({"Enter"});
  ASSERT_TRUE(terminal.waitForGone("\u2191\u2193: move")) << terminal.capture();
  EXPECT_EQ(ceiling(), 1240.0);
  EXPECT_EQ(storedReal("lastNitsValue"), 1240.0);
}

TEST_F(TerminalEndToEndTest, EachModeNamesItsOwnKeys) {
  start();
  EXPECT_NE(footer().find("?: keys"), std::string::npos) << footer();
  // At rest the status item is drawn as part of the bar, all of it in reverse video up to the
  // clock; with its menu open it stands out, the bar's reverse video broken around it.
  const auto barBreaksBeforeItem = [this] {
    const std::string screen = session_->captureWithAttributes();
    const std::string bar = screen.substr(0, screen.find('\n'));
    return bar.find("\x1b[0m") < bar.find("\u263C");
  };
  EXPECT_FALSE(barBreaksBeforeItem());

  session_->sendKeys({"Enter"});
  ASSERT_TRUE(session_->waitFor("\u2191\u2193: move")) << session_->capture();
  EXPECT_TRUE(barBreaksBeforeItem());
  session_->sendKeys({"End"});
  EXPECT_TRUE(highlightedHas("Quit Lumora Virir")) << session_->capture();
  session_->sendKeys({"s"});
  EXPECT_TRUE(highlightedHas("Settings...")) << "a letter jumps to its entry";
  for (const char* hint : {"\u2192: submenu", "Enter: pick", "Esc: close"}) {
    EXPECT_NE(footer().find(hint), std::string::npos) << footer();
  }
  EXPECT_EQ(footer().find("Enter: menu"), std::string::npos) << footer();
  const std::string menu = session_->capture();
  EXPECT_EQ(menu.find("\u2318"), std::string::npos) << "the menu shows the keys that work";
  EXPECT_TRUE(std::regex_search(menu, std::regex("Enable XDR +x +\u2502"))) << menu;

  // Help from inside the menu, which is still there afterwards.
  session_->sendKeys({"?"});
  ASSERT_TRUE(session_->waitFor("In the menu")) << session_->capture();
  EXPECT_NE(footer().find("close"), std::string::npos) << footer();
  session_->sendKeys({"a"});
  ASSERT_TRUE(session_->waitForGone("In the menu")) << session_->capture();
  EXPECT_NE(footer().find("\u2191\u2193: move"), std::string::npos) << footer();

  ASSERT_TRUE(select("Deep Blacks"));
  session_->sendKeys({"Right"});
  ASSERT_TRUE(session_->waitFor("\u2190: back")) << session_->capture();
  session_->sendKeys({"Escape", "Escape"});
  ASSERT_TRUE(session_->waitFor("Enter: menu")) << session_->capture();

  session_->sendKeys({"d"});
  ASSERT_TRUE(session_->waitFor("[ I Understand ]")) << session_->capture();
  EXPECT_NE(footer().find("Enter: press"), std::string::npos) << footer();
  EXPECT_EQ(footer().find("Enter: menu"), std::string::npos) << footer();
  EXPECT_EQ(footer().find("Esc: close"), std::string::npos) << footer();
  session_->sendKeys({"F1"});
  ASSERT_TRUE(session_->waitFor("In an alert")) << "F1 is help too";
  session_->sendKeys({"Escape", "Enter"});
  ASSERT_TRUE(session_->waitForGone("[ I Understand ]")) << session_->capture();

  session_->sendKeys({","});
  ASSERT_TRUE(session_->waitFor("Lumora Virir Settings")) << session_->capture();
  EXPECT_EQ(footer().find("Esc: close window"), 1u) << footer();
  session_->sendKeys({"C-w"});
  EXPECT_TRUE(session_->waitForGone("Lumora Virir Settings")) << session_->capture();
}

TEST_F(TerminalEndToEndTest, SmallTerminalsScrollMenusAndKeepEveryBoxClosed) {
  start({.columns = 100, .rows = 20});
  session_->sendKeys({"Enter"});
  ASSERT_TRUE(session_->waitFor("\u2191\u2193: move")) << session_->capture();
  Cells cells = cellsOf(session_->capture());
  std::optional<Box> menu = boxBelow(cells, 1);
  ASSERT_TRUE(menu) << session_->capture();
  EXPECT_LT(menu->bottom, 19) << "the footer stays";
  expectClosedAndClear(cells, *menu);
  EXPECT_NE(session_->capture().find("\u25BC"), std::string::npos) << "more below";

  // Up from the first entry goes round to the last, which comes into view.
  session_->sendKeys({"Up"});
  EXPECT_TRUE(highlightedHas("Quit Lumora Virir")) << session_->capture();
  EXPECT_TRUE(session_->waitFor("\u25B2")) << "more above";
  cells = cellsOf(session_->capture());
  menu = boxBelow(cells, 1);
  ASSERT_TRUE(menu);
  expectClosedAndClear(cells, *menu);
  session_->sendKeys({"Escape"});

  // At 40 x 12 the menu is narrowed, and the Deep Blacks warning keeps inside its box, its text
  // scrolled to the end.
  session_->resize(40, 12);
  ASSERT_TRUE(session_->waitFor("Enter: menu")) << session_->capture();
  session_->sendKeys({"Enter"});
  ASSERT_TRUE(session_->waitFor("\u2191\u2193: move")) << session_->capture();
  cells = cellsOf(session_->capture());
  ASSERT_TRUE(boxBelow(cells, 1)) << session_->capture();
  expectClosedAndClear(cells, *boxBelow(cells, 1));
  session_->sendKeys({"Escape", "d"});
  ASSERT_TRUE(session_->waitFor("[ I Understand ]")) << session_->capture();
  cells = cellsOf(session_->capture());
  const std::optional<Box> alert = boxBelow(cells, 1);
  ASSERT_TRUE(alert) << session_->capture();
  expectClosedAndClear(cells, *alert);
  const std::string_view text = DeepBlacksController::warningInformativeText;
  const std::string lastWords(text.substr(text.rfind("\n\n") + 2, 15));
  EXPECT_EQ(session_->capture().find(lastWords), std::string::npos) << "not all of it fits";
  EXPECT_NE(footer().find("\u2191\u2193: scroll"), std::string::npos) << footer();
  for (int i = 0; i < 12 && session_->capture().find(lastWords) == std::string::npos; ++i)
    session_->sendKeys({"Down"});
  EXPECT_TRUE(session_->waitFor(lastWords)) << session_->capture();
  cells = cellsOf(session_->capture());
  expectClosedAndClear(cells, *boxBelow(cells, 1));

  // Smaller than that: a notice, until the terminal grows again.
  session_->resize(30, 10);
  EXPECT_TRUE(session_->waitFor("need 40\u00D712, have 30\u00D710")) << session_->capture();
  EXPECT_NE(session_->capture().find("terminal too small"), std::string::npos);
  session_->resize(80, 24);
  ASSERT_TRUE(session_->waitFor("[ I Understand ]")) << session_->capture();
  session_->sendKeys({"Enter"});
  EXPECT_TRUE(session_->waitForGone("[ I Understand ]")) << session_->capture();
}

TEST_F(TerminalEndToEndTest, DirectKeysPickTheSameEntriesAsTheMenu) {
  start();
  session_->sendKeys({"4"});
  ASSERT_TRUE(waitForPreset(11)) << session_->capture();
  EXPECT_EQ(ceiling(), 1250.0);
  EXPECT_EQ(storedReal("lastNitsValue"), 1250.0);
  session_->sendKeys({"1"});
  ASSERT_TRUE(waitForPreset(0));
  EXPECT_EQ(storedReal("lastNitsValue"), 1250.0) << "SDR keeps the last XDR level";
  session_->sendKeys({"x"});
  ASSERT_TRUE(waitForPreset(11)) << "XDR comes back at the level it had";
  EXPECT_EQ(ceiling(), 1250.0);
  session_->sendKeys({"x"});
  ASSERT_TRUE(waitForPreset(0));

  session_->sendKeys({"d"});
  ASSERT_TRUE(session_->waitFor("[ I Understand ]")) << session_->capture();
  session_->sendKeys({"Enter"});
  ASSERT_TRUE(session_->waitForGone("[ I Understand ]"));
  EXPECT_EQ(storedInteger("deepBlacksLevel"), 1);
  for (const std::int64_t level : {2, 3}) {
    session_->sendKeys({"d"});
    for (int i = 0; i < 100 && storedInteger("deepBlacksLevel") != level; ++i)
      std::this_thread::sleep_for(50ms);
    EXPECT_EQ(storedInteger("deepBlacksLevel"), level);
  }
  session_->sendKeys({"d"});
  EXPECT_TRUE(session_->waitFor("\u263C")) << "round to Off: the sun again";
  EXPECT_NE(defaults().find("<key>deepBlacksEnabled</key>\n\t<false/>"), std::string::npos);

  session_->sendKeys({","});
  ASSERT_TRUE(session_->waitFor("Lumora Virir Settings")) << session_->capture();
  session_->sendKeys({"Escape"});
  ASSERT_TRUE(session_->waitForGone("Lumora Virir Settings"));
  const std::string before = session_->capture();
  session_->sendKeys({"Escape"});
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(session_->capture(), before) << "Escape on the main screen does nothing";

  session_->sendKeys({"5"});
  ASSERT_TRUE(waitForPreset(11));
  session_->sendKeys({"q"});
  expectEndedCleanly();
}

TEST_F(TerminalEndToEndTest, EveryTerminationSignalEndsTheAppAndHandsTheTerminalBack) {
  // SIGTERM and SIGHUP from outside, with the display raised.
  for (const int signal : {SIGTERM, SIGHUP}) {
    start();
    session_->sendKeys({"5"});
    ASSERT_TRUE(waitForPreset(11));
    const std::optional<pid_t> program = session_->programPid();
    ASSERT_TRUE(program);
    ::kill(*program, signal);
    expectEndedCleanly();
  }

  // SIGINT from the keyboard while the menu is open.
  start();
  choose({"1000 nits"});
  ASSERT_TRUE(session_->waitFor("SDR ceiling    1000 nits")) << session_->capture();
  session_->sendKeys({"Enter"});
  ASSERT_TRUE(session_->waitFor("\u2191\u2193: move"));
  session_->sendKeys({"C-c"});
  expectEndedCleanly();

  // SIGQUIT from the keyboard while an alert is up: the warning stays unanswered.
  start();
  choose({"Deep Blacks", "Subtle"});
  ASSERT_TRUE(session_->waitFor("[ I Understand ]")) << session_->capture();
  session_->sendKeys({"C-\\"});
  expectEndedCleanly();
  EXPECT_EQ(defaults().find("deepBlacksWarningShown"), std::string::npos);
}

TEST_F(TerminalEndToEndTest, ClosingTheTerminalPutsTheStandardPresetBack) {
  start();
  session_->sendKeys({"Enter"});  // with the menu open
  ASSERT_TRUE(session_->waitFor("\u2191\u2193: move"));
  session_->sendKeys({"Escape", "5"});
  ASSERT_TRUE(waitForPreset(11));
  const std::optional<pid_t> program = session_->programPid();
  ASSERT_TRUE(program);
  session_->close();
  for (int i = 0; i < 200 && ::kill(*program, 0) == 0; ++i)
    std::this_thread::sleep_for(50ms);
  EXPECT_NE(::kill(*program, 0), 0) << "the app has ended";
  EXPECT_EQ(activeIndex(), 0);
}

TEST_F(TerminalEndToEndTest, ATerminalItCannotDrawOnRunsHeadlessAndSaysWhy) {
  for (const auto& [term, reason] : std::vector<std::pair<std::string, std::string>>{
           {"dumb", "the terminal type \"dumb\" cannot place the cursor"},
           {"no-such-terminal", "the terminal type \"no-such-terminal\" is unknown"},
           {"", "TERM is not set"},
       }) {
    start({.columns = 200, .term = term}, "running headless");
    EXPECT_TRUE(session_->waitFor(reason)) << session_->capture();
    session_->sendKeys({"pick 1250", "Enter"});
    EXPECT_TRUE(session_->waitFor("picked: 250% \u2013 1250 nits")) << session_->capture();
    EXPECT_TRUE(waitForPreset(11));
    session_->sendKeys({"C-c"});
    ASSERT_TRUE(session_->waitFor("EXIT:0")) << session_->capture();
    EXPECT_EQ(activeIndex(), 0);
  }
}

TEST_F(TerminalEndToEndTest, GreyIsDimOnEightColoursAndNoColorMeansNone) {
  // Any SGR sequence that sets a colour: 30-38, 40-48, 90-97, 100-107, alone or among others.
  const std::regex color("\x1b\\[([0-9;]*;)?(3[0-8]|4[0-8]|9[0-7]|10[0-7])[;m]");
  start({.term = "xterm"});
  std::string screen = session_->captureWithAttributes();
  EXPECT_TRUE(std::regex_search(screen, std::regex("\x1b\\[2m *Main display"))) << screen;
  EXPECT_FALSE(std::regex_search(screen, std::regex("\x1b\\[([0-9;]*;)?37[;m]")))
      << "white would vanish on a light background";

  start({.environment = {"NO_COLOR=1"}});
  session_->sendKeys({"5"});  // cyan values and a cyan sun, where there are colours
  ASSERT_TRUE(session_->waitFor("1600 nits  (XDR)")) << session_->capture();
  screen = session_->captureWithAttributes();
  EXPECT_FALSE(std::regex_search(screen, color)) << screen;
}

TEST_F(TerminalEndToEndTest, QAndEscapeBackOutOneLevelAtATimeAndOnlyQQuitsFromAnywhere) {
  start();
  session_->sendKeys({"Enter"});
  ASSERT_TRUE(select("Deep Blacks")) << session_->capture();
  session_->sendKeys({"l"});
  ASSERT_TRUE(session_->waitFor("\u2190: back")) << "l opens the submenu";
  EXPECT_TRUE(session_->waitFor("Subtle"));
  session_->sendKeys({"h"});
  ASSERT_TRUE(session_->waitFor("\u2192: submenu")) << "h closes it";
  EXPECT_TRUE(session_->waitForGone("Subtle")) << session_->capture();
  session_->sendKeys({"l", "q"});
  ASSERT_TRUE(session_->waitFor("\u2192: submenu")) << session_->capture();
  EXPECT_TRUE(session_->waitForGone("Subtle")) << "q closed the submenu only";
  EXPECT_NE(session_->capture().find("Basicify Icon"), std::string::npos) << "the menu stays";
  session_->sendKeys({"q"});
  ASSERT_TRUE(session_->waitFor("Enter: menu")) << "then the menu";

  // h opens the help where no menu is open; q closes the help and the window.
  session_->sendKeys({"h"});
  ASSERT_TRUE(session_->waitFor("In the menu")) << session_->capture();
  session_->sendKeys({"q"});
  ASSERT_TRUE(session_->waitForGone("In the menu"));
  session_->sendKeys({","});
  ASSERT_TRUE(session_->waitFor("Lumora Virir Settings")) << session_->capture();
  session_->sendKeys({"q"});
  ASSERT_TRUE(session_->waitForGone("Lumora Virir Settings")) << session_->capture();
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(session_->capture().find("EXIT:"), std::string::npos) << "nothing quit yet";

  session_->sendKeys({"5", "d"});
  ASSERT_TRUE(session_->waitFor("[ I Understand ]")) << session_->capture();
  session_->sendKeys({"Q"});
  expectEndedCleanly();
  EXPECT_EQ(defaults().find("deepBlacksWarningShown"), std::string::npos) << "not answered";
}

TEST_F(TerminalEndToEndTest, TheSettingsWindowStaysReadableAtFortyByTwelveUnderEveryOverlay) {
  start({.columns = 40, .rows = 12});
  session_->sendKeys({","});
  ASSERT_TRUE(session_->waitFor("Lumora Virir Settings")) << session_->capture();
  for (const char* text : {"About", "Lumora Virir v1.5.0", "Made with care"})
    EXPECT_TRUE(session_->waitFor(text)) << text << "\n" << session_->capture();
  EXPECT_NE(footer().find("Esc: close window"), std::string::npos) << footer();
  Cells cells = cellsOf(session_->capture());
  EXPECT_FALSE(doubledBorder(cells)) << *doubledBorder(cells) << "\n" << session_->capture();

  // The help, the menu with its submenu and an alert over it: no border runs beside another.
  session_->sendKeys({"?"});
  ASSERT_TRUE(session_->waitFor("Keys")) << session_->capture();
  cells = cellsOf(session_->capture());
  EXPECT_FALSE(doubledBorder(cells)) << *doubledBorder(cells) << "\n" << session_->capture();
  session_->sendKeys({"a", "F10"});  // Enter would press the window's button
  ASSERT_TRUE(select("Deep Blacks")) << session_->capture();
  session_->sendKeys({"Right"});
  ASSERT_TRUE(session_->waitFor("Subtle")) << session_->capture();
  cells = cellsOf(session_->capture());
  EXPECT_FALSE(doubledBorder(cells)) << *doubledBorder(cells) << "\n" << session_->capture();
  session_->sendKeys({"Down", "Enter"});
  ASSERT_TRUE(session_->waitFor("[ I Understand ]")) << session_->capture();
  cells = cellsOf(session_->capture());
  EXPECT_FALSE(doubledBorder(cells)) << *doubledBorder(cells) << "\n" << session_->capture();
  session_->sendKeys({"Enter"});
  ASSERT_TRUE(session_->waitForGone("[ I Understand ]"));
  EXPECT_TRUE(session_->waitFor("Lumora Virir v1.5.0")) << session_->capture();
}

// Enter presses the settings window's button, which copies the diagnosis to the simulated
// pasteboard; r shows the same report, over everything, until r closes it.
TEST_F(TerminalEndToEndTest, CopyDiagnosticsFillsThePasteboardAndRShowsTheReport) {
  start({.columns = 120, .rows = 30});
  EXPECT_NE(footer().find("r: diagnosis"), std::string::npos) << footer();
  session_->sendKeys({","});
  ASSERT_TRUE(session_->waitFor("[ Copy Diagnostics ]")) << session_->capture();
  EXPECT_NE(footer().find("Esc: close window   Enter: Copy Diagnostics"), std::string::npos)
      << footer();
  const std::filesystem::path pasteboard = home_ / "state/lumora-virir/pasteboard.txt";
  EXPECT_FALSE(std::filesystem::exists(pasteboard));
  session_->sendKeys({"Enter"});
  for (int i = 0; i < 100 && !std::filesystem::exists(pasteboard); ++i)
    std::this_thread::sleep_for(50ms);
  EXPECT_TRUE(readText(pasteboard).starts_with("Lumora Virir diagnostics\n"));
  EXPECT_NE(session_->capture().find("Lumora Virir Settings"), std::string::npos);
  EXPECT_EQ(footer().find("\u2191\u2193: move"), std::string::npos) << "Enter opened no menu";

  session_->sendKeys({"r"});
  ASSERT_TRUE(session_->waitFor("Lumora Virir diagnostics")) << session_->capture();
  EXPECT_TRUE(session_->waitFor("Method: presets")) << session_->capture();
  EXPECT_NE(footer().find("Esc: close diagnosis"), std::string::npos) << footer();
  session_->sendKeys({"1"});
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(activeIndex(), 0) << "the keys of the screen wait until it is closed";
  session_->sendKeys({"?"});
  ASSERT_TRUE(session_->waitFor("In the diagnosis")) << session_->capture();
  session_->sendKeys({"Escape", "r"});
  ASSERT_TRUE(session_->waitForGone("Lumora Virir diagnostics")) << session_->capture();
  EXPECT_TRUE(session_->waitFor("[ Copy Diagnostics ]")) << "the window under it stays";
}

TEST_F(TerminalEndToEndTest, AnErrorStaysInTheFooterUntilDismissedAndTheListKeepsIt) {
  writeText(home_ / "config/lumora-virir/defaults.plist", "not a property list\n");
  start({.columns = 100}, "Enter: menu");
  ASSERT_TRUE(session_->waitFor("defaults.plist cannot be read whole")) << session_->capture();
  EXPECT_EQ(session_->capture().find("lumora-virir/defaults.plist"), std::string::npos)
      << "in plain words: the file's name, not its path";
  EXPECT_NE(footer().find("Esc: dismiss   m: messages"), std::string::npos) << footer();
  session_->sendKeys({"4", "Enter", "Down"});
  ASSERT_TRUE(waitForPreset(11));
  EXPECT_TRUE(session_->waitFor("defaults.plist cannot be read whole")) << "other keys keep it";
  EXPECT_NE(footer().find("\u2191\u2193: move"), std::string::npos) << "the keys stay below it";
  session_->sendKeys({"Escape"});
  ASSERT_TRUE(session_->waitForGone("defaults.plist cannot be read whole")) << session_->capture();
  EXPECT_NE(footer().find("\u2191\u2193: move"), std::string::npos) << "the menu is still open";
  session_->sendKeys({"Escape", "m"});
  ASSERT_TRUE(session_->waitFor("Messages")) << session_->capture();
  EXPECT_TRUE(session_->waitFor("cannot be read whole")) << session_->capture();
  EXPECT_TRUE(session_->waitFor("unreadable-")) << "with where it was kept";
  session_->sendKeys({"Escape"});
  EXPECT_TRUE(session_->waitForGone("Messages")) << session_->capture();
}

TEST_F(TerminalEndToEndTest, AnOpenMenuOutlastsATerminalTooSmallForIt) {
  start();
  session_->sendKeys({"Enter"});
  ASSERT_TRUE(session_->waitFor("\u2191\u2193: move")) << session_->capture();
  session_->resize(30, 10);
  ASSERT_TRUE(session_->waitFor("terminal too small")) << session_->capture();
  session_->resize(80, 24);
  ASSERT_TRUE(session_->waitFor("\u2191\u2193: move")) << session_->capture();
  ASSERT_TRUE(select("1250 nits")) << session_->capture();
  session_->sendKeys({"Enter"});
  EXPECT_TRUE(waitForPreset(11));
}

TEST_F(TerminalEndToEndTest, CtrlDEndsTheAppWhereTheTerminalCannotBeDrawnOn) {
  start({.term = "dumb"}, "running headless");
  session_->sendKeys({"pick 1250", "Enter"});
  ASSERT_TRUE(waitForPreset(11)) << session_->capture();
  session_->sendKeys({"C-d"});
  ASSERT_TRUE(session_->waitFor("EXIT:0")) << session_->capture();
  EXPECT_EQ(activeIndex(), 0);
}

TEST_F(TerminalEndToEndTest, TheClockMovesOnWhileTheMenuIsOpen) {
  start();
  session_->sendKeys({"Enter"});
  ASSERT_TRUE(session_->waitFor("\u2191\u2193: move"));
  // The next minute, and a little more for the screen to show it.
  const std::time_t now = std::time(nullptr);
  const std::time_t next = now - now % 60 + 60;
  std::this_thread::sleep_until(std::chrono::system_clock::from_time_t(next) + 1500ms);
  EXPECT_NE(menuBar().find(clockText(next)), std::string::npos) << menuBar();
  EXPECT_NE(footer().find("\u2191\u2193: move"), std::string::npos) << "the menu is still open";
}

}  // namespace
}  // namespace lumora::testing
