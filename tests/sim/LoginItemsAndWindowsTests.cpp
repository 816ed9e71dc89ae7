// The simulated Mac's login item (a freedesktop autostart entry) and its windows.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "fakes/FakeConsole.h"
#include "platform/sim/SimLoginItems.h"
#include "platform/sim/SimNotifications.h"
#include "platform/sim/SimWindows.h"
#include "support/TempDirectory.h"

namespace lumora::sim {
namespace {

using testing::readText;
using testing::TempDirectory;

// Reads an Exec value back into arguments by the Desktop Entry quoting rules, written
// apart from the code that writes it: the string escapes first, then the quoting, then the
// field codes. Anything the rules forbid (a reserved character outside quotes, an unescaped one
// inside) makes it fail.
std::optional<std::vector<std::string>> parseExec(const std::string& value) {
  std::string unescaped;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\' || i + 1 == value.size()) {
      unescaped += value[i];
      continue;
    }
    const char next = value[++i];
    if (next == 's')
      unescaped += ' ';
    else if (next == 'n')
      unescaped += '\n';
    else if (next == 't')
      unescaped += '\t';
    else if (next == 'r')
      unescaped += '\r';
    else if (next == '\\')
      unescaped += '\\';
    else
      unescaped += std::string("\\") + next;
  }

  std::vector<std::string> arguments;
  std::string current;
  bool inArgument = false;
  bool quoted = false;
  for (std::size_t i = 0; i < unescaped.size(); ++i) {
    const char c = unescaped[i];
    if (quoted) {
      if (c == '\\') {
        if (i + 1 == unescaped.size() ||
            std::string_view("\"`$\\").find(unescaped[i + 1]) == std::string_view::npos) {
          return std::nullopt;
        }
        current += unescaped[++i];
      } else if (c == '"') {
        quoted = false;
      } else if (c == '`' || c == '$') {
        return std::nullopt;
      } else {
        current += c;
      }
    } else if (c == ' ') {
      if (inArgument) arguments.push_back(current);
      current.clear();
      inArgument = false;
    } else if (c == '"') {
      quoted = true;
      inArgument = true;
    } else if (std::string_view("\t\n'\\><~|&;$*?#()`").find(c) != std::string_view::npos) {
      return std::nullopt;
    } else {
      current += c;
      inArgument = true;
    }
  }
  if (quoted) return std::nullopt;
  if (inArgument) arguments.push_back(current);

  for (std::string& argument : arguments) {
    std::string expanded;
    for (std::size_t i = 0; i < argument.size(); ++i) {
      expanded += argument[i];
      if (argument[i] == '%' && i + 1 < argument.size() && argument[i + 1] == '%') ++i;
    }
    argument = expanded;
  }
  return arguments;
}

std::string execLine(const std::string& entry) {
  const std::size_t start = entry.find("\nExec=");
  const std::size_t end = entry.find('\n', start + 1);
  return entry.substr(start + 6, end - start - 6);
}

TEST(SimLoginItemsTest, TheExecLineStartsExactlyTheProgramInTheBackgroundWhateverItsPath) {
  for (const std::string& program : {
           std::string("/usr/local/bin/lumora-virir"),
           std::string("/home/ann/My Apps/lumora virir"),
           std::string("/opt/\"quoted\"/it's/lumora"),
           std::string("/tmp/$HOME/`date`/a\\b\\\\c"),
           std::string("/tmp/100%/%u %f/lumora"),
           std::string("/tmp/tab\there/new\nline/ret\rurn"),
           std::string("/tmp/~user/a;b|c&d>e<f*g?h#i(j)"),
           std::string("/Applications/L\u00FCmora Vir\u00EFr \U0001F319/bin"),
       }) {
    const std::string entry = SimLoginItems::desktopEntry(program);
    const std::string value = execLine(entry);
    EXPECT_EQ(value.find('\n'), std::string::npos) << "one line: " << program;
    EXPECT_EQ(parseExec(value), std::optional(std::vector<std::string>{program, "--background"}))
        << value;
  }
}

TEST(SimLoginItemsTest, RegisteringWritesTheEntryAndUnregisteringRemovesIt) {
  TempDirectory temp;
  testing::FakeConsole console;
  SimLoginItems items(temp / "config/autostart", "/opt/Lumora Virir/lumora-virir", console);
  EXPECT_EQ(items.unregisterMainApp(), std::nullopt) << "nothing there is no error";

  EXPECT_EQ(items.registerMainApp(), std::nullopt);
  const std::string entry = readText(temp / "config/autostart/lumora-virir.desktop");
  EXPECT_TRUE(entry.starts_with("[Desktop Entry]\nType=Application\n"));
  EXPECT_NE(entry.find("\nExec=\"/opt/Lumora Virir/lumora-virir\" --background\n"),
            std::string::npos);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp / "config/autostart"),
                          std::filesystem::directory_iterator()),
            1)
      << "no temporary file is left";

  EXPECT_EQ(items.registerMainApp(), std::nullopt) << "registering again replaces it";
  EXPECT_EQ(items.unregisterMainApp(), std::nullopt);
  EXPECT_FALSE(std::filesystem::exists(temp / "config/autostart/lumora-virir.desktop"));
}

// What the desktop's startup settings do to the entry is what the status tells, as the system's
// settings do to a login item on a Mac.
TEST(SimLoginItemsTest, TheStatusIsReadFromTheEntryAsTheDesktopLeftIt) {
  using platform::LoginItemStatus;
  TempDirectory temp;
  testing::FakeConsole console;
  SimLoginItems items(temp / "autostart", "/usr/bin/lumora-virir", console);
  EXPECT_EQ(items.status(), LoginItemStatus::notRegistered);
  ASSERT_EQ(items.registerMainApp(), std::nullopt);
  EXPECT_EQ(items.status(), LoginItemStatus::enabled);

  const std::string entry = readText(items.entryPath());
  std::string turnedOff = entry;
  const std::string enabled = "X-GNOME-Autostart-enabled=true";
  ASSERT_NE(turnedOff.find(enabled), std::string::npos);
  turnedOff.replace(turnedOff.find(enabled), enabled.size(), "X-GNOME-Autostart-enabled = false");
  testing::writeText(items.entryPath(), turnedOff);
  EXPECT_EQ(items.status(), LoginItemStatus::requiresApproval) << "turned off by the desktop";
  items.openLoginItemsSettings();
  ASSERT_EQ(console.output.size(), 1u);
  EXPECT_NE(console.output[0].find(items.entryPath().string()), std::string::npos);

  testing::writeText(items.entryPath(), entry + "[Desktop Action x]\nHidden=true\n");
  EXPECT_EQ(items.status(), LoginItemStatus::enabled) << "another group's keys count for nothing";
  testing::writeText(items.entryPath(), entry + "Hidden=true\n");
  EXPECT_EQ(items.status(), LoginItemStatus::notRegistered) << "deleted by the desktop";
  ASSERT_EQ(items.registerMainApp(), std::nullopt);
  EXPECT_EQ(items.status(), LoginItemStatus::enabled) << "registering again writes it afresh";

  std::filesystem::remove(items.entryPath());
  ASSERT_EQ(::mkfifo(items.entryPath().c_str(), 0644), 0);
  EXPECT_EQ(items.status(), LoginItemStatus::notFound) << "read without blocking, and not used";
}

TEST(SimLoginItemsTest, AFolderThatCannotBeWrittenIsAnErrorWithAReason) {
  TempDirectory temp;
  testing::writeText(temp / "config/autostart", "a file where the folder should be");
  testing::FakeConsole console;
  SimLoginItems items(temp / "config/autostart", "/usr/bin/lumora-virir", console);
  const std::optional<std::string> error = items.registerMainApp();
  ASSERT_TRUE(error);
  EXPECT_NE(error->find("autostart"), std::string::npos) << *error;
  EXPECT_TRUE(items.unregisterMainApp().has_value());
}

TEST(SimWindowsTest, AClosableWindowClosesThroughItsObserversAndLivesThroughThem) {
  SimNotificationCenter center;
  SimWindows windows([&center](const SimWindow& closing) { center.postWindowWillClose(closing); });
  auto window = std::dynamic_pointer_cast<SimWindow>(windows.makeWindow(
      {0, 0, 420, 280}, platform::windowStyleTitled | platform::windowStyleClosable,
      platform::BackingStore::buffered, false));
  window->center();
  EXPECT_EQ(window->frame().x, (1512 - 420) / 2.0);
  EXPECT_GT(window->frame().y, (982 - 280) / 2.0) << "a little above the middle";
  EXPECT_FALSE(window->isVisible());
  window->makeKeyAndOrderFront();
  EXPECT_TRUE(window->isKey());

  int closings = 0;
  std::weak_ptr<SimWindow> watched = window;
  center.addWindowWillCloseObserver(*window, [&] {
    ++closings;
    window.reset();  // the owner lets go while the window closes
  });
  EXPECT_TRUE(watched.lock()->performClose());
  EXPECT_EQ(closings, 1);
  EXPECT_TRUE(watched.expired());
  EXPECT_TRUE(windows.visibleWindows().empty());
}

TEST(SimWindowsTest, AWindowWithoutACloseButtonCannotBeClosed) {
  SimNotificationCenter center;
  SimWindows windows([&center](const SimWindow& closing) { center.postWindowWillClose(closing); });
  auto window = std::dynamic_pointer_cast<SimWindow>(windows.makeWindow(
      {0, 0, 100, 100}, platform::windowStyleTitled, platform::BackingStore::buffered, false));
  window->makeKeyAndOrderFront();
  EXPECT_FALSE(window->performClose());
  EXPECT_TRUE(window->isVisible());
}

}  // namespace
}  // namespace lumora::sim
