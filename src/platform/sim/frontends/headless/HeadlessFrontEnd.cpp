#include "platform/sim/frontends/headless/HeadlessFrontEnd.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "platform/posix/LineOutput.h"
#include "platform/sim/MenuModel.h"
#include "platform/sim/frontends/DisplayChanges.h"
#include "platform/sim/frontends/headless/DisplaySummary.h"
#include "platform/sim/frontends/headless/MenuSearch.h"
#include "platform/sim/frontends/headless/StatusItemText.h"

namespace lumora::sim {
namespace {

constexpr std::string_view helpText =
    "commands: status | menu | pick <title or any unique part of it> (a submenu's entry as "
    "\"Deep Blacks > Medium\") | alert | answer [button number] | windows | "
    "close [window number] | sleep | wake | help";

std::string describeRect(const platform::Rect& rect) {
  char text[96];
  std::snprintf(text, sizeof text, "%.0fx%.0f at (%.0f, %.0f)", rect.width, rect.height, rect.x,
                rect.y);
  return text;
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
    text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
    text.remove_suffix(1);
  }
  return text;
}

}  // namespace

HeadlessFrontEnd::HeadlessFrontEnd(SimMac& mac, int inputFd, std::FILE* output, bool withColor)
    : mac_(mac), inputFd_(inputFd), output_(output), withColor_(withColor) {
  // A line when the status changes, never the same line again: pipes and logs stay small.
  mac_.statusBar.setChangeObserver([this] { buttonChanged_ = true; });
  mac_.loop.setAfterPass([this] { printStatusIfChanged(); });
  mac_.loop.watchReadable(inputFd_, [this] { readInput(); });
  mac_.alerts.setObserver([this] {
    if (const platform::Alert* alert = mac_.alerts.currentAlert()) {
      print("alert: " + alert->messageText + " (answer with \"answer\")");
      // A command already typed goes to the alert, even when the main queue waits for it.
      runNextCommand();
    } else {
      // The session has ended: the commands that waited for it go on.
      scheduleCommands();
    }
  });
  // The first pass prints the status as the app starts, before any command or tick.
  mac_.loop.async([] {});
}

void HeadlessFrontEnd::print(const std::string& line) {
  platform::writeLine(output_, line);
}

const platform::Menu* HeadlessFrontEnd::installedMenu() const {
  const auto& items = mac_.statusBar.items();
  if (items.empty() || !items.front()->menu()) return nullptr;
  return &*items.front()->menu();
}

std::string HeadlessFrontEnd::statusLine(const SimDisplayState::Snapshot& displays) const {
  const auto& items = mac_.statusBar.items();
  const std::string button = items.empty()
                                 ? "(no status item)"
                                 : describeStatusButton(items.front()->simButton(), withColor_);
  const std::string dock = mac_.application.showsInDock() ? "shown" : "hidden";
  return "status: " + button + " | " + describeDrivenDisplay(displays) + " | Dock icon: " + dock;
}

void HeadlessFrontEnd::printStatus() {
  shownDisplays_ = mac_.displayState.currentSnapshot();
  shownInDock_ = mac_.application.showsInDock();
  buttonChanged_ = false;
  lastStatus_ = statusLine(*shownDisplays_);
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
  std::string line = statusLine(*displays);
  shownDisplays_ = std::move(displays);
  if (line == lastStatus_) return;
  lastStatus_ = std::move(line);
  print(lastStatus_);
}

void HeadlessFrontEnd::readInput() {
  char buffer[1024];
  const ssize_t count = ::read(inputFd_, buffer, sizeof buffer);
  if (count < 0 && errno == EINTR) return;
  if (count <= 0) {
    // End of input: the app keeps running until it quits or is signalled.
    mac_.loop.unwatch(inputFd_);
    return;
  }
  pending_.append(buffer, static_cast<std::size_t>(count));
  std::size_t newline;
  while ((newline = pending_.find('\n')) != std::string::npos) {
    commands_.emplace_back(trimmed(std::string_view(pending_).substr(0, newline)));
    pending_.erase(0, newline + 1);
  }
  // During an alert the main queue may be waiting for it; input goes to the alert at once.
  if (mac_.alerts.currentAlert() != nullptr) {
    runNextCommand();
  } else {
    scheduleCommands();
  }
}

void HeadlessFrontEnd::scheduleCommands() {
  if (commandScheduled_ || commands_.empty()) return;
  commandScheduled_ = true;
  mac_.loop.async([this] {
    commandScheduled_ = false;
    runNextCommand();
  });
}

void HeadlessFrontEnd::runNextCommand() {
  while (!commands_.empty() && !mac_.loop.isStopped()) {
    const bool duringAlert = mac_.alerts.currentAlert() != nullptr;
    const std::string command = std::move(commands_.front());
    commands_.pop_front();
    handleCommand(command);
    if (answeredAlert_) {
      answeredAlert_ = false;
      return;  // the end of the alert's session schedules the rest
    }
    if (!duringAlert) break;  // otherwise one command per pass
  }
  scheduleCommands();
}

void HeadlessFrontEnd::handleCommand(std::string_view command) {
  const std::size_t space = command.find(' ');
  const std::string_view verb = command.substr(0, space);
  const std::string_view argument =
      space == std::string_view::npos ? std::string_view() : trimmed(command.substr(space + 1));

  if (verb.empty()) return;
  if (verb == "sleep" || verb == "wake") {
    if ((verb == "sleep") == mac_.systemEvents.isAsleep()) {
      return print(std::string(verb) + ": the Mac is already " +
                   (mac_.systemEvents.isAsleep() ? "asleep" : "awake"));
    }
    if (verb == "sleep") {
      mac_.systemEvents.sleep();
    } else {
      mac_.systemEvents.wake();
    }
    print(verb == "sleep" ? "asleep" : "awake");
  } else if (verb == "help") {
    print(std::string(helpText));
  } else if (verb == "status") {
    printStatus();
  } else if (verb == "menu") {
    const platform::Menu* menu = installedMenu();
    if (menu == nullptr) return print("menu: none installed");
    for (const std::string& line : menus::describe(*menu, mac_.application))
      print("menu: " + line);
  } else if (verb == "alert") {
    const platform::Alert* alert = mac_.alerts.currentAlert();
    if (alert == nullptr) return print("alert: none");
    print("alert: " + alert->messageText);
    print("alert: " + alert->informativeText);
    for (std::size_t i = 0; i < alert->buttonTitles.size(); ++i) {
      print("alert: button " + std::to_string(i + 1) + ": " + alert->buttonTitles[i]);
    }
  } else if (verb == "answer") {
    int button = 1;
    if (!argument.empty()) button = std::atoi(std::string(argument).c_str());
    if (mac_.alerts.answer(platform::alertFirstButtonReturn + button - 1)) {
      answeredAlert_ = true;
    } else {
      print("answer: no alert with that button");
    }
  } else if (verb == "windows") {
    const auto windows = mac_.windows.visibleWindows();
    const std::shared_ptr<const SimDisplayState::Snapshot> displays =
        mac_.displayState.currentSnapshot();
    const bool edrShown = std::any_of(displays->displays.begin(), displays->displays.end(),
                                      [](const auto& display) { return display.edrWindowShown; });
    if (windows.empty() && !edrShown) return print("windows: none");
    for (const SimDisplayState::DisplaySnapshot& display : displays->displays) {
      if (!display.edrWindowShown) continue;
      print("window edr: 1x1 EDR window on display " + std::to_string(display.id) +
            " (borderless, ignores the mouse, on every Space), headroom " +
            formatNumber(display.currentHeadroom));
    }
    for (const auto& window : windows) {
      print("window " + std::to_string(window->number()) + ": \"" + window->title() + "\" " +
            describeRect(window->frame()) + (window->isKey() ? ", key" : ""));
      if (!window->contentView()) continue;
      for (const platform::View& view : window->contentView()->subviews) {
        if (view.kind == platform::View::Kind::label) {
          print("window " + std::to_string(window->number()) + ":   " + view.text);
        }
      }
    }
  } else if (verb == "close") {
    std::shared_ptr<SimWindow> window = mac_.windows.keyWindow();
    if (!argument.empty()) {
      window.reset();
      const int number = std::atoi(std::string(argument).c_str());
      for (const auto& candidate : mac_.windows.visibleWindows()) {
        if (candidate->number() == number) window = candidate;
      }
    }
    if (window == nullptr || !window->performClose()) print("close: no such window to close");
  } else if (verb == "pick") {
    if (mac_.alerts.currentAlert() != nullptr) return print("pick: an alert is open");
    const platform::Menu* menu = installedMenu();
    const std::vector<FoundEntry> found =
        menu ? findEntries(*menu, argument,
                           [this](const platform::MenuItem& entry) {
                             return menus::isEnabled(entry, mac_.application);
                           })
             : std::vector<FoundEntry>{};
    if (found.empty()) return print("pick: no entry \"" + std::string(argument) + "\"");
    if (found.size() > 1) {
      std::string line = "pick: \"" + std::string(argument) + "\" could be";
      for (std::size_t i = 0; i < found.size(); ++i)
        line += (i == 0 ? " \"" : ", \"") + found[i].path + "\"";
      return print(line + "; nothing picked");
    }
    const platform::MenuItem picked = *found.front().item;  // the action replaces the menu
    const platform::MenuItem* item = &picked;
    switch (menus::pick(picked, mac_.application)) {
      case menus::PickResult::picked:
        print("picked: " + item->title);
        break;
      case menus::PickResult::disabled:
        print("pick: \"" + item->title + "\" is disabled");
        break;
      case menus::PickResult::hasSubmenu:
        print("pick: \"" + item->title + "\" opens a submenu");
        break;
      case menus::PickResult::notAnEntry:
        print("pick: not an entry");
        break;
    }
  } else {
    print("unknown command; " + std::string(helpText));
  }
}

}  // namespace lumora::sim
