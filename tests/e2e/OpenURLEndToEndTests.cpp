// `lumora-virir --open URL` against the built program: the URL reaches the running app through
// its socket, and no client, however slow, silent, foreign or long-winded, holds up the app.

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

#include "e2e/SimulatedMacTest.h"
#include "platform/sim/SimOpenedURLs.h"
#include "platform/sim/machine/LocalSocket.h"
#include "support/Unprivileged.h"

namespace lumora::testing {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;
using sim::FileDescriptor;

std::chrono::milliseconds since(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
}

class OpenURLEndToEndTest : public SimulatedMacTest {
 protected:
  fs::path socketPath() const { return home_ / "state/lumora-virir/run/open.socket"; }
  void waitForLaunch(RunningApp& app) {
    ASSERT_TRUE(app.waitForLine("status:")) << app.errorOutput();
  }
  // `lumora-virir --open url`, to its end.
  struct Sent {
    int status;
    std::string output;
    std::string errors;
  };
  Sent open(const std::string& url) {
    RunningApp sender(home_.path(), {"--open", url});
    const int status = sender.waitForExit(10s);
    std::string output;
    for (const std::string& line : sender.linesUntilClosed(1s))
      output += line + "\n";
    return Sent{status, output, sender.errorOutput()};
  }
  // A connection of this test's own, non-blocking.
  FileDescriptor connect() const {
    const std::optional<sockaddr_un> address = sim::socketAddress(socketPath());
    if (!address) return {};
    return sim::connectToSocket(*address);
  }
  // The app's one line of answer on `connection`, waiting at most `limit`.
  static std::string answerOn(int connection, std::chrono::milliseconds limit) {
    std::string received;
    const Clock::time_point deadline = Clock::now() + limit;
    while (received.find('\n') == std::string::npos && Clock::now() < deadline) {
      pollfd poller{connection, POLLIN, 0};
      if (::poll(&poller, 1, 50) <= 0) continue;
      char buffer[512];
      const ssize_t count = ::read(connection, buffer, sizeof buffer);
      if (count <= 0) break;
      received.append(buffer, static_cast<std::size_t>(count));
    }
    return received;
  }
};

TEST_F(OpenURLEndToEndTest, AURLIsDoneOrRefusedByTheRunningAppAndWithoutOneNothingAnswers) {
  const Sent alone = open("lumora-virir://xdr/up");
  EXPECT_EQ(alone.status, 1);
  EXPECT_NE(alone.errors.find("Lumora Virir is not running"), std::string::npos) << alone.errors;

  RunningApp app(home_.path());
  waitForLaunch(app);
  const Sent done = open("lumora-virir://xdr/1250");
  EXPECT_EQ(done.status, 0) << done.errors;
  EXPECT_EQ(done.output, "XDR on, 1250 nits\n");
  // Answered once it is stored: the file already says so.
  EXPECT_NE(readText(displayPath()).find("<string>Lumora XDR (1250 nits)</string>"),
            std::string::npos);

  const Sent refused = open("lumora-virir://xdr/2000");
  EXPECT_EQ(refused.status, 2);
  EXPECT_EQ(refused.output, "");
  EXPECT_NE(refused.errors.find("\"2000\" is out of range"), std::string::npos) << refused.errors;
  EXPECT_TRUE(statusSays(app, "SDR 1250 nits")) << "a refusal changes nothing";

  struct stat folder {};
  struct stat socket {};
  ASSERT_EQ(::stat(socketPath().parent_path().c_str(), &folder), 0);
  ASSERT_EQ(::lstat(socketPath().c_str(), &socket), 0);
  EXPECT_EQ(folder.st_mode & 07777, 0700u);
  EXPECT_TRUE(S_ISSOCK(socket.st_mode));
  EXPECT_EQ(socket.st_mode & 07777, 0600u);
  app.closeInput();
  EXPECT_EQ(app.waitForExit(), 0);
  EXPECT_FALSE(fs::exists(socketPath())) << "removed when the app quits";
}

TEST_F(OpenURLEndToEndTest, AConnectionFromAnotherUserIsRefused) {
  if (!runningAsRoot()) GTEST_SKIP() << "needs root, to run the app as nobody";
  fs::create_directories(home_ / "state");
  fs::create_directories(home_ / "config");
  // The built program's folder is its owner's alone, as in a clone in a private folder: nobody
  // runs a copy in its own home. Its libraries are the system's.
  const fs::path program = home_ / "bin/lumora-virir";
  fs::create_directories(program.parent_path());
  ASSERT_TRUE(fs::copy_file(LUMORA_PROGRAM_PATH, program));
  fs::permissions(program, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                               fs::perms::others_read | fs::perms::others_exec);
  ASSERT_EQ(::chown(home_.path().c_str(), unprivilegedUser, unprivilegedUser), 0);
  for (const auto& entry : fs::recursive_directory_iterator(home_.path())) {
    ASSERT_EQ(::lchown(entry.path().c_str(), unprivilegedUser, unprivilegedUser), 0);
  }
  if (!canRun(unprivilegedUser, program)) {
    GTEST_SKIP() << "nobody cannot reach " << program
                 << ": the temporary folder is closed to other users (TMPDIR?)";
  }
  RunningApp app(home_.path(), {}, {}, AsUser{unprivilegedUser, program});
  waitForLaunch(app);

  const Sent asRoot = open("lumora-virir://xdr/1600");
  EXPECT_EQ(asRoot.status, 2);
  EXPECT_NE(asRoot.errors.find("from its own user only"), std::string::npos) << asRoot.errors;
  EXPECT_TRUE(statusSays(app, "SDR 500 nits"));
  EXPECT_NE(app.errorOutput().find("refused a connection from user 0"), std::string::npos)
      << app.errorOutput();
}

TEST_F(OpenURLEndToEndTest, AClientThatSendsNothingHoldsUpNeitherTheRefreshNorOtherClients) {
  RunningApp app(home_.path());
  waitForLaunch(app);
  const FileDescriptor silent = connect();
  ASSERT_TRUE(silent.valid());
  const Clock::time_point connected = Clock::now();

  // Another program's change to the display shows at the next refresh, within a second or so.
  std::string text = readText(displayPath());
  const std::string active = "<key>ActivePresetIndex</key>\n\t\t\t<integer>0</integer>";
  ASSERT_NE(text.find(active), std::string::npos);
  text.replace(text.find(active), active.size(),
               "<key>ActivePresetIndex</key>\n\t\t\t<integer>1</integer>");
  replaceFile(text);
  EXPECT_TRUE(app.waitForLine("preset 1 ", 1900ms)) << "the refresh waited for the client";
  EXPECT_LT(since(connected), sim::SimOpenedURLs::readDeadline);

  const Sent meanwhile = open("lumora-virir://xdr/800");
  EXPECT_EQ(meanwhile.status, 0) << meanwhile.errors;
  EXPECT_LT(since(connected), sim::SimOpenedURLs::readDeadline) << "answered without waiting";

  // The silent one is answered and let go at the deadline.
  const std::string answer = answerOn(silent.get(), 5s);
  EXPECT_EQ(answer, "refused: no URL came within 2000 ms\n");
  EXPECT_GE(since(connected), sim::SimOpenedURLs::readDeadline);
}

TEST_F(OpenURLEndToEndTest, AMegabyteMessageIsRefusedWithoutBeingReadWhole) {
  RunningApp app(home_.path());
  waitForLaunch(app);
  const FileDescriptor client = connect();
  ASSERT_TRUE(client.valid());
  const std::string megabyte(1 << 20, 'x');
  const Clock::time_point start = Clock::now();
  std::size_t written = 0;
  // As much as the socket takes: once the app stops reading, the rest stays unsent.
  while (written < megabyte.size() && since(start) < 5s) {
    const ssize_t count =
        ::send(client.get(), megabyte.data() + written, megabyte.size() - written, MSG_NOSIGNAL);
    if (count > 0) {
      written += static_cast<std::size_t>(count);
      continue;
    }
    if (count < 0 && errno != EAGAIN) break;
    pollfd poller{client.get(), POLLOUT | POLLIN, 0};
    ::poll(&poller, 1, 100);
    if ((poller.revents & POLLIN) != 0) break;  // answered already
  }
  const std::string answer = answerOn(client.get(), 5s);
  EXPECT_EQ(answer, "refused: the message is longer than 4096 bytes; nothing was done\n");
  EXPECT_LT(written, megabyte.size()) << "the app read it all";
  EXPECT_LT(since(start), 3s);
  EXPECT_TRUE(statusSays(app, "SDR 500 nits"));
}

TEST_F(OpenURLEndToEndTest, TheSocketGoesWithSIGTERMAndOneLeftBehindIsReplaced) {
  {
    RunningApp app(home_.path());
    waitForLaunch(app);
    ASSERT_TRUE(fs::is_socket(socketPath()));
    EXPECT_EQ(app.signalAndWait(SIGTERM), 0);
    EXPECT_FALSE(fs::exists(socketPath()));
  }
  // As a killed app leaves it: a socket nobody listens at.
  {
    const std::optional<sockaddr_un> address = sim::socketAddress(socketPath());
    ASSERT_TRUE(address);
    const FileDescriptor stale(::socket(AF_UNIX, SOCK_STREAM, 0));
    ASSERT_EQ(::bind(stale.get(), reinterpret_cast<const sockaddr*>(&*address), sizeof *address),
              0);
  }
  ASSERT_TRUE(fs::is_socket(socketPath()));
  RunningApp app(home_.path());
  waitForLaunch(app);
  const Sent done = open("lumora-virir://xdr/toggle");
  EXPECT_EQ(done.status, 0) << done.errors << app.errorOutput();
  EXPECT_EQ(done.output, "XDR on, 1600 nits\n");
  EXPECT_EQ(app.errorOutput(), "");
}

TEST_F(OpenURLEndToEndTest, WithoutASocketTheAppSaysSoOnceAndRunsOn) {
  // A file of the user's where the socket would go is left as it is.
  writeText(socketPath(), "mine");
  RunningApp kept(home_.path());
  waitForLaunch(kept);
  kept.send("pick 1000");
  EXPECT_TRUE(kept.waitForLine("picked:"));
  EXPECT_EQ(readText(socketPath()), "mine");
  EXPECT_NE(kept.errorOutput().find("is not a socket; it is left as it is"), std::string::npos)
      << kept.errorOutput();
  EXPECT_EQ(open("lumora-virir://xdr/up").status, 1);
  kept.closeInput();
  EXPECT_EQ(kept.waitForExit(), 0);
  EXPECT_EQ(readText(socketPath()), "mine");

  const std::string longFolder = (home_ / std::string(120, 'r')).string();
  RunningApp far(home_.path(), {}, {"XDG_RUNTIME_DIR=" + longFolder});
  waitForLaunch(far);
  far.send("status");
  EXPECT_TRUE(far.waitForLine("status:"));
  const std::string said = far.errorOutput();
  EXPECT_NE(said.find("is too long for a socket"), std::string::npos) << said;
  EXPECT_EQ(said.find("too long"), said.rfind("too long")) << "said once";
}

}  // namespace
}  // namespace lumora::testing
