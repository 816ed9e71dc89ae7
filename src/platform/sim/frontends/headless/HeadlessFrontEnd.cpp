#include "platform/sim/frontends/headless/HeadlessFrontEnd.h"

#include <unistd.h>

#include <cerrno>

#include "platform/posix/LineOutput.h"
#include "platform/sim/frontends/DisplayChanges.h"
#include "platform/sim/frontends/headless/StatusLine.h"

namespace lumora::sim {

HeadlessFrontEnd::HeadlessFrontEnd(SimMac& mac, int inputFd, std::FILE* output, bool withColor)
    : mac_(mac),
      inputFd_(inputFd),
      output_(output),
      withColor_(withColor),
      commands_(mac, withColor, [this](std::string line) { say(std::move(line)); }),
      readBuffer_(CommandLines::maximumLength) {
  // A line when the status changes, never the same line again: pipes and logs stay small.
  mac_.statusBar.setChangeObserver([this] { buttonChanged_ = true; });
  // Registered after the stores: at the end of a pass they write first, then the replies go out.
  // The loop's last end of a pass prints them too, after a Quit.
  mac_.loop.addEndOfPass([this] { printSaid(); });
  mac_.loop.setAfterPass([this] {
    if (!started_) start();
    printStatusIfChanged();
    // Commands held while the app was busy go on once it is done.
    scheduleCommands();
    quitWhenInputIsDone();
  });
  mac_.alerts.setObserver([this] { noticeAlert(); });
  // The first pass prints the status as the app starts, before any command or tick.
  mac_.loop.async([] {});
}

// After the first pass, once launching is over: the start line, what was said meanwhile (an alert
// the launch opened), and only then the commands.
void HeadlessFrontEnd::start() {
  started_ = true;
  printStatus();
  printSaid();
  if (inputFd_ >= 0) mac_.loop.watchReadable(inputFd_, [this] { readInput(); });
}

void HeadlessFrontEnd::say(std::string line) {
  said_.push_back(std::move(line));
}

void HeadlessFrontEnd::printSaid() {
  if (!started_ || said_.empty()) return;
  std::vector<std::string> lines;
  lines.swap(said_);
  for (const std::string& line : lines)
    print(line);
}

void HeadlessFrontEnd::print(const std::string& line) {
  platform::writeLine(output_, line);
}

void HeadlessFrontEnd::printStatus() {
  shownDisplays_ = mac_.displayState.currentSnapshot();
  shownInDock_ = mac_.application.showsInDock();
  buttonChanged_ = false;
  lastStatus_ = statusLine(mac_.statusBar, mac_.application, *shownDisplays_, withColor_);
  print(lastStatus_);
}

// The line is made again only when what it tells may have changed; it is printed when it did.
void HeadlessFrontEnd::printStatusIfChanged() {
  // The same snapshot while the displays' file is unchanged: then nothing is compared.
  std::shared_ptr<const SimDisplayState::Snapshot> displays = mac_.displayState.currentSnapshot();
  const bool inDock = mac_.application.showsInDock();
  if (!buttonChanged_ && shownDisplays_ &&
      (displays == shownDisplays_ || sameDisplays(*displays, *shownDisplays_)) &&
      inDock == shownInDock_) {
    return;
  }
  buttonChanged_ = false;
  shownInDock_ = inDock;
  std::string line = statusLine(mac_.statusBar, mac_.application, *displays, withColor_);
  shownDisplays_ = std::move(displays);
  if (line == lastStatus_) return;
  lastStatus_ = std::move(line);
  print(lastStatus_);
}

void HeadlessFrontEnd::noticeAlert() {
  const std::size_t open = mac_.alerts.openCount();
  const bool shown = open > alertsOpen_;
  alertsOpen_ = open;
  if (!shown) {
    commands_.alertGone();
    // The session has ended: the commands that waited for it go on.
    return scheduleCommands();
  }
  commands_.alertShown();
  say("alert: " + mac_.alerts.currentAlert()->messageText + " (answer with \"answer\")");
  // The alert's first pass ends at once instead of waiting for input: at its end these lines go
  // out, and an input already ended ends the app.
  mac_.loop.async([] {});
  // A command already typed goes to the alert, even when the main queue waits for it.
  runCommands();
}

void HeadlessFrontEnd::readInput() {
  const ssize_t count = ::read(inputFd_, readBuffer_.data(), readBuffer_.size());
  if (count < 0 && (errno == EINTR || errno == EAGAIN)) return;
  std::vector<CommandLines::Line> lines;
  if (count > 0) {
    lines_.take(std::string_view(readBuffer_.data(), static_cast<std::size_t>(count)), lines);
  } else {
    // The end of the input, or a terminal that is gone.
    inputEnded_ = true;
    mac_.loop.unwatch(inputFd_);
    lines_.finish(lines);
  }
  for (CommandLines::Line& line : lines)
    waiting_.push_back(std::move(line));
  // During an alert the main queue may be waiting for it; input goes to the alert at once.
  if (mac_.alerts.currentAlert() != nullptr) {
    runCommands();
  } else {
    scheduleCommands();
  }
}

bool HeadlessFrontEnd::busyWithCommand() const {
  // An answer is told once its alert has gone, with what it led to.
  if (commands_.awaitsAlertEnd()) return true;
  // An open alert waits for the script, and whatever else is under way waits for the alert.
  if (mac_.alerts.currentAlert() != nullptr) return false;
  // Work left for a later turn of the run loop (the Deep Blacks warning), or an activity the
  // user waits on (the wait for headroom, which may end in an alert).
  return mac_.loop.hasPerformsWaiting() || mac_.activities.anyOpen();
}

void HeadlessFrontEnd::scheduleCommands() {
  if (commandScheduled_ || waiting_.empty() || busyWithCommand()) return;
  commandScheduled_ = true;
  mac_.loop.async([this] {
    commandScheduled_ = false;
    runCommands();
  });
}

void HeadlessFrontEnd::runCommands() {
  while (!waiting_.empty() && !mac_.loop.isStopped() && !busyWithCommand()) {
    const bool duringAlert = mac_.alerts.currentAlert() != nullptr;
    const CommandLines::Line line = std::move(waiting_.front());
    waiting_.pop_front();
    runCommand(line);
    // An answered alert ends its session only once this returns; its end schedules the rest.
    if (!duringAlert) break;  // otherwise one command per pass
  }
  scheduleCommands();
}

void HeadlessFrontEnd::runCommand(const CommandLines::Line& line) {
  if (line.droppedLength > 0) {
    commands_.refuseLongLine(line.droppedLength, CommandLines::maximumLength);
  } else {
    commands_.run(line.text);
  }
}

// The end of the input ends the app as Quit does, once every command read is answered and the
// app is done with them. An alert still open stays unanswered.
void HeadlessFrontEnd::quitWhenInputIsDone() {
  if (!inputEnded_ || !waiting_.empty() || busyWithCommand()) return;
  mac_.application.terminate();
}

}  // namespace lumora::sim
