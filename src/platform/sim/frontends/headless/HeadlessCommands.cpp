#include "platform/sim/frontends/headless/HeadlessCommands.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "platform/sim/MenuModel.h"
#include "platform/sim/frontends/headless/DisplaySummary.h"
#include "platform/sim/frontends/headless/MenuSearch.h"
#include "platform/sim/frontends/headless/StatusLine.h"

namespace lumora::sim {
namespace {

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
    text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
    text.remove_suffix(1);
  }
  return text;
}

std::string lowerCase(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

// A whole positive number, and nothing else.
std::optional<int> numberIn(std::string_view text) {
  int value = 0;
  const auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (problem != std::errc() || end != text.data() + text.size() || value < 1) return std::nullopt;
  return value;
}

// What was typed, cut short where it is long (never inside a character), to be told back.
std::string_view shortened(std::string_view name, std::size_t longest = 40) {
  if (name.size() <= longest) return name;
  std::size_t end = longest;
  while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80)
    --end;
  return name.substr(0, end);
}

std::string inQuotes(std::string_view text) {
  return "\"" + std::string(shortened(text, 200)) + "\"";
}

// The titles an ambiguous query could mean.
std::string couldBe(std::string_view query, const std::vector<FoundEntry>& found) {
  std::string reason = inQuotes(query) + " could be";
  for (std::size_t i = 0; i < found.size(); ++i)
    reason += (i == 0 ? " " : ", ") + inQuotes(found[i].path);
  return reason;
}

std::string describeRect(const platform::Rect& rect) {
  char text[96];
  std::snprintf(text, sizeof text, "%.0fx%.0f at (%.0f, %.0f)", rect.width, rect.height, rect.x,
                rect.y);
  return text;
}

// Each line of a text as it is, blank ones included, so that joining them with line breaks gives
// the text back; none for an empty text.
std::vector<std::string_view> linesOf(std::string_view text) {
  std::vector<std::string_view> lines;
  if (text.empty()) return lines;
  for (std::size_t start = 0;;) {
    const std::size_t end = text.find('\n', start);
    lines.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) return lines;
    start = end + 1;
  }
}

// A text that ends its last line with a break, as files do, without it.
std::string_view withoutFinalLineBreak(std::string_view text) {
  if (text.ends_with('\n')) text.remove_suffix(1);
  return text;
}

}  // namespace

HeadlessCommands::HeadlessCommands(SimMac& mac, bool withColor, Say say)
    : mac_(mac), withColor_(withColor), say_(std::move(say)) {}

const platform::Menu* HeadlessCommands::installedMenu() const {
  const auto& items = mac_.statusBar.items();
  if (items.empty() || !items.front()->menu()) return nullptr;
  return &*items.front()->menu();
}

void HeadlessCommands::error(std::string_view command, const std::string& reason) {
  say_("error: " + std::string(command) + ": " + reason);
}

void HeadlessCommands::refuseLongLine(std::size_t length, std::size_t maximum) {
  error("input", "a line of " + std::to_string(length) + " bytes is longer than the " +
                     std::to_string(maximum) + " a command may have; it was dropped");
}

void HeadlessCommands::run(std::string_view line) {
  line = trimmed(line);
  if (line.empty()) return;
  const std::size_t space = line.find_first_of(" \t");
  const std::string verb = lowerCase(line.substr(0, space));
  const std::string_view argument =
      space == std::string_view::npos ? std::string_view() : trimmed(line.substr(space + 1));

  if (verb == "pick") return pick(argument);
  if (verb == "slide") return slide(argument);
  if (verb == "answer") return answer(argument);
  if (verb == "press") return press(argument);
  if (verb == "close") return close(argument);
  if (verb == "power") return power(argument);
  if (verb == "thermal") return thermal(argument);
  if (verb == "hotkey") return hotKey(argument);
  const std::pair<std::string_view, void (HeadlessCommands::*)()> plain[] = {
      {"status", &HeadlessCommands::status},     {"menu", &HeadlessCommands::menu},
      {"alert", &HeadlessCommands::alert},       {"windows", &HeadlessCommands::windows},
      {"space", &HeadlessCommands::changeSpace}, {"diagnostics", &HeadlessCommands::diagnostics},
      {"paste", &HeadlessCommands::paste},
  };
  for (const auto& [name, command] : plain) {
    if (verb != name) continue;
    if (!argument.empty()) return error(verb, "takes no argument");
    return (this->*command)();
  }
  if (verb == "sleep" || verb == "wake" || verb == "help") {
    if (!argument.empty()) return error(verb, "takes no argument");
    if (verb == "help") return say_(std::string(helpText));
    return sleepOrWake(verb == "sleep");
  }
  if (verb == "lock" || verb == "unlock") {
    if (!argument.empty()) return error(verb, "takes no argument");
    return lockOrUnlock(verb == "lock");
  }
  error(shortened(line.substr(0, space)), "unknown command (\"help\" lists them)");
}

void HeadlessCommands::power(std::string_view argument) {
  const std::string words = lowerCase(argument);
  std::optional<int> percent;
  bool onBattery = false;
  if (words == "ac") {
    onBattery = false;
  } else if (words.starts_with("battery ")) {
    onBattery = true;
    percent = numberIn(trimmed(std::string_view(words).substr(8)));
    if (!percent || *percent > 100) {
      return error("power", "the battery's charge is a whole number from 1 to 100");
    }
  } else {
    return error("power", "say \"power ac\" or \"power battery <percent>\"");
  }
  if (mac_.displayState.setPowerSource(onBattery, percent) != SimDisplayState::success) {
    return error("power", "the displays' file cannot be written");
  }
  say_(onBattery ? "power: battery " + std::to_string(*percent) : "power: ac");
}

void HeadlessCommands::thermal(std::string_view argument) {
  const std::string word = lowerCase(argument);
  for (const platform::ThermalState state : platform::allThermalStates) {
    if (word != SimDisplayState::thermalStateName(state)) continue;
    if (mac_.displayState.setThermalState(state) != SimDisplayState::success) {
      return error("thermal", "the displays' file cannot be written");
    }
    return say_("thermal: " + word);
  }
  error("thermal", "the state is nominal, fair, serious or critical");
}

void HeadlessCommands::status() {
  say_(statusLine(mac_.statusBar, mac_.application, *mac_.displayState.currentSnapshot(),
                  withColor_));
}

void HeadlessCommands::menu() {
  const platform::Menu* menu = installedMenu();
  if (menu == nullptr) return say_("menu: none installed");
  for (const std::string& line : menus::describe(*menu, mac_.application))
    say_("menu: " + line);
}

void HeadlessCommands::pick(std::string_view query) {
  if (query.empty()) return error("pick", "name an entry, as \"pick 1250\"");
  if (mac_.alerts.currentAlert() != nullptr) {
    return error("pick", "an alert is open; answer it first");
  }
  const platform::Menu* menu = installedMenu();
  const std::vector<FoundEntry> found =
      menu ? findEntries(*menu, query,
                         [this](const platform::MenuItem& entry) {
                           return menus::isEnabled(entry, mac_.application);
                         })
           : std::vector<FoundEntry>{};
  if (found.empty()) return error("pick", "no entry " + inQuotes(query));
  if (found.size() > 1) return error("pick", couldBe(query, found) + "; nothing picked");
  const platform::MenuItem picked = *found.front().item;  // the action replaces the menu
  // An alert the entry opens comes after this reply, not when it is answered.
  beforeAlert_ = "picked: " + picked.title;
  const menus::PickResult result = menus::pick(picked, mac_.application);
  const std::optional<std::string> reply = std::exchange(beforeAlert_, std::nullopt);
  switch (result) {
    case menus::PickResult::picked:
      if (reply) say_(*reply);
      break;
    case menus::PickResult::disabled:
      error("pick", inQuotes(picked.title) + " is disabled");
      break;
    case menus::PickResult::hasSubmenu:
      error("pick", inQuotes(picked.title) + " opens a submenu; name one of its entries, as \"" +
                        picked.title + " > …\"");
      break;
    case menus::PickResult::isSlider:
      error("pick", inQuotes(picked.title) + " is a slider; move it with \"slide <nits>\"");
      break;
    case menus::PickResult::notAnEntry:
      error("pick", "not an entry");
      break;
  }
}

void HeadlessCommands::slide(std::string_view argument) {
  if (argument.empty()) return error("slide", "name a level in nits, as \"slide 1100\"");
  double value = 0.0;
  const auto [end, problem] =
      std::from_chars(argument.data(), argument.data() + argument.size(), value);
  if (problem != std::errc() || end != argument.data() + argument.size() || !std::isfinite(value)) {
    return error("slide", inQuotes(argument) + " is not a number, as \"slide 1100\"");
  }
  if (mac_.alerts.currentAlert() != nullptr) {
    return error("slide", "an alert is open; answer it first");
  }
  const platform::Menu* menu = installedMenu();
  const platform::MenuItem* found = menu ? menus::findSlider(*menu) : nullptr;
  if (found == nullptr) return error("slide", "the menu has no slider");
  const platform::MenuItem entry = *found;  // the action replaces the menu
  switch (menus::slide(entry, value, platform::SliderMotion::released, mac_.application)) {
    case menus::SlideResult::moved:
      break;
    case menus::SlideResult::disabled:
      return error("slide", inQuotes(entry.title) + " is disabled");
    case menus::SlideResult::outOfRange:
      return error("slide", std::string(shortened(argument)) + " is outside the slider's range " +
                                menus::sliderRange(*entry.slider));
    case menus::SlideResult::notASlider:
      return error("slide", "the menu has no slider");
  }
  // Where it came to rest, as the menu built anew shows it.
  const platform::MenuItem* moved = installedMenu() ? menus::findSlider(*installedMenu()) : nullptr;
  say_("slid: " + (moved ? moved->slider->valueLabel : entry.slider->valueLabel));
}

void HeadlessCommands::alertShown() {
  if (const std::optional<std::string> reply = std::exchange(beforeAlert_, std::nullopt)) {
    say_(*reply);
  }
}

void HeadlessCommands::alertGone() {
  if (const std::optional<std::string> reply = std::exchange(afterAlert_, std::nullopt)) {
    say_(*reply);
  }
}

void HeadlessCommands::alert() {
  const platform::Alert* alert = mac_.alerts.currentAlert();
  if (alert == nullptr) return say_("alert: none");
  say_("alert: " + alert->messageText);
  sayLines("alert", alert->informativeText);
  for (std::size_t i = 0; i < alert->buttonTitles.size(); ++i)
    say_("alert: button " + std::to_string(i + 1) + ": " + alert->buttonTitles[i]);
}

void HeadlessCommands::answer(std::string_view argument) {
  const platform::Alert* alert = mac_.alerts.currentAlert();
  if (alert == nullptr) return error("answer", "no alert is open");
  const std::optional<int> button = argument.empty() ? 1 : numberIn(argument);
  if (!button) return error("answer", inQuotes(argument) + " is not a button number");
  const auto buttons = static_cast<int>(alert->buttonTitles.size());
  if (*button > buttons) {
    return error("answer", "the alert has no button " + std::to_string(*button) + " (it has " +
                               std::to_string(buttons) + ")");
  }
  const std::string title = alert->buttonTitles[static_cast<std::size_t>(*button - 1)];
  if (!mac_.alerts.answer(platform::alertFirstButtonReturn + *button - 1)) {
    return error("answer", "the alert was answered already");
  }
  afterAlert_ = "answered: " + title;
}

void HeadlessCommands::windows() {
  const auto windows = mac_.windows.visibleWindows();
  const std::shared_ptr<const SimDisplayState::Snapshot> displays =
      mac_.displayState.currentSnapshot();
  const bool edrShown = std::any_of(displays->displays.begin(), displays->displays.end(),
                                    [](const auto& display) { return display.edrWindowShown; });
  if (windows.empty() && !edrShown) return say_("windows: none");
  for (const SimDisplayState::DisplaySnapshot& display : displays->displays) {
    if (!display.edrWindowShown) continue;
    say_("window edr: 1x1 EDR window on display " + std::to_string(display.id) +
         " (borderless, ignores the mouse, on every Space" +
         (display.edrWindowExcludedFromCapture ? ", out of screen capture" : "") + "), drawn " +
         std::to_string(display.edrWindowDraws) +
         (display.edrWindowDraws == 1 ? " time" : " times") + ", headroom " +
         formatNumber(display.currentHeadroom));
  }
  for (const auto& window : windows) {
    const std::string prefix = "window " + std::to_string(window->number()) + ":";
    say_(prefix + " \"" + window->title() + "\" " + describeRect(window->frame()) +
         (window->isKey() ? ", key" : ""));
    if (!window->contentView()) continue;
    for (const platform::View& view : window->contentView()->subviews) {
      if (view.kind == platform::View::Kind::label) say_(prefix + "   " + view.text);
      if (view.kind == platform::View::Kind::button) say_(prefix + "   [" + view.text + "]");
    }
  }
}

void HeadlessCommands::press(std::string_view query) {
  if (query.empty()) return error("press", "name a button, as \"press copy\"");
  if (mac_.alerts.currentAlert() != nullptr) {
    return error("press", "an alert is open; answer it first");
  }
  const std::shared_ptr<SimWindow> window = mac_.windows.keyWindow();
  if (window == nullptr) return error("press", "no window is open");
  // The buttons are found as menu entries are: by any unique part of their titles.
  platform::Menu buttons;
  for (const platform::View& button : window->buttons()) {
    platform::MenuItem entry;
    entry.title = button.text;
    entry.action = button.action;
    buttons.items.push_back(std::move(entry));
  }
  const std::vector<FoundEntry> found =
      findEntries(buttons, query, [](const platform::MenuItem&) { return true; });
  if (found.empty()) {
    return error("press", "window " + std::to_string(window->number()) + " has no button " +
                              inQuotes(query));
  }
  if (found.size() > 1) return error("press", couldBe(query, found) + "; nothing pressed");
  const platform::MenuItem pressed = *found.front().item;
  // An alert the button opens comes after this reply, as after a pick's.
  beforeAlert_ = "pressed: " + pressed.title;
  if (pressed.action) mac_.application.sendMenuAction(*pressed.action, platform::MenuItemSender{});
  if (const std::optional<std::string> reply = std::exchange(beforeAlert_, std::nullopt)) {
    say_(*reply);
  }
}

void HeadlessCommands::close(std::string_view argument) {
  std::shared_ptr<SimWindow> window;
  if (argument.empty()) {
    window = mac_.windows.keyWindow();
    if (window == nullptr) return error("close", "no window is open");
  } else {
    const std::optional<int> number = numberIn(argument);
    if (!number) return error("close", inQuotes(argument) + " is not a window number");
    for (const auto& candidate : mac_.windows.visibleWindows()) {
      if (candidate->number() == *number) window = candidate;
    }
    if (window == nullptr) return error("close", "no window " + std::to_string(*number));
  }
  const std::string closed =
      "closed: window " + std::to_string(window->number()) + " \"" + window->title() + "\"";
  if (!window->performClose()) {
    return error("close", "window " + std::to_string(window->number()) + " cannot be closed");
  }
  say_(closed);
}

void HeadlessCommands::hotKey(std::string_view combination) {
  if (combination.empty()) {
    return error("hotkey", "name a combination, as \"hotkey ctrl+option+command+up\"");
  }
  switch (mac_.hotKeys.press(combination)) {
    case SimHotKeys::Press::delivered:
      return say_("hotkey: pressed " + std::string(shortened(combination)));
    case SimHotKeys::Press::heldByAnotherApp:
      return error("hotkey", inQuotes(combination) + " is held by another app (TakenHotKeys)");
    case SimHotKeys::Press::notHeld:
      return error("hotkey", "no app holds " + inQuotes(combination) +
                                 " (Keyboard Shortcuts is off, or it is not one of them)");
  }
}

// Each line of a text, so that the text can be put back together; a blank line is the word alone,
// as no line of the protocol ends in a space.
void HeadlessCommands::sayLines(std::string_view word, std::string_view text) {
  for (const std::string_view line : linesOf(text))
    say_(std::string(word) + (line.empty() ? ":" : ": " + std::string(line)));
}

void HeadlessCommands::diagnostics() {
  const std::string report = mac_.application.diagnosticReport();
  if (report.empty()) return error("diagnostics", "the app has not started");
  sayLines("diagnostics", withoutFinalLineBreak(report));
}

void HeadlessCommands::paste() {
  const std::optional<std::string> text = mac_.pasteboard.text();
  if (!text || text->empty()) return say_("paste: (empty)");
  sayLines("paste", withoutFinalLineBreak(*text));
}

void HeadlessCommands::lockOrUnlock(bool lock) {
  const std::string_view verb = lock ? "lock" : "unlock";
  if (lock == mac_.systemEvents.isLocked()) {
    return error(verb, lock ? "the screen is already locked" : "the screen is not locked");
  }
  if (lock) {
    mac_.systemEvents.lock();
    say_("lock: locked");
  } else {
    mac_.systemEvents.unlock();
    say_("unlock: unlocked");
  }
}

void HeadlessCommands::changeSpace() {
  mac_.systemEvents.changeSpace();
  say_("space: changed");
}

void HeadlessCommands::sleepOrWake(bool sleep) {
  const std::string_view verb = sleep ? "sleep" : "wake";
  if (sleep == mac_.systemEvents.isAsleep()) {
    return error(verb, sleep ? "the Mac is already asleep" : "the Mac is already awake");
  }
  if (sleep) {
    mac_.systemEvents.sleep();
    say_("sleep: asleep");
  } else {
    mac_.systemEvents.wake();
    say_("wake: awake");
  }
}

}  // namespace lumora::sim
