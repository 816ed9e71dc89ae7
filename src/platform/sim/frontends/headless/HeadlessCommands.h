#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/sim/SimMac.h"

namespace lumora::sim {

// What each headless command does, and its reply. Every line of a reply starts with one word and
// a colon that says what it is; an error is `error: <command>: <reason>`. Commands are read in any
// case.
class HeadlessCommands {
 public:
  using Say = std::function<void(std::string line)>;

  HeadlessCommands(SimMac& mac, bool withColor, Say say);

  void run(std::string_view line);
  // A line longer than `maximum`, the most a command may have: only its length is told.
  void refuseLongLine(std::size_t length, std::size_t maximum);

  // An alert came up while a command ran: a pick that opened it is answered first.
  void alertShown();
  // An alert went away: an answer to it is told now, once what it led to is done.
  void alertGone();
  // An answer waits for its alert to go: the commands after it wait too.
  bool awaitsAlertEnd() const { return afterAlert_.has_value(); }

  static constexpr std::string_view helpText =
      "commands: status | menu | pick <title or any unique part of it> (a submenu's entry as "
      "\"Deep Blacks > Medium\") | slide <nits, as 1100> | alert | answer [button number] | "
      "windows | press <a button's title or any unique part of it> | close [window number] | "
      "hotkey <combination, as ctrl+option+command+up> | sleep | "
      "wake | lock | unlock | space | diagnostics | paste | "
      "power ac | power battery <percent> | thermal nominal|fair|serious|critical | help";

 private:
  void error(std::string_view command, const std::string& reason);
  void status();
  void menu();
  void pick(std::string_view query);
  void slide(std::string_view argument);
  void alert();
  void answer(std::string_view argument);
  void windows();
  void press(std::string_view query);
  void close(std::string_view argument);
  void hotKey(std::string_view combination);
  void sleepOrWake(bool sleep);
  void lockOrUnlock(bool lock);
  void diagnostics();
  void paste();
  void sayLines(std::string_view word, std::string_view text);
  void changeSpace();
  void power(std::string_view argument);
  void thermal(std::string_view argument);
  const platform::Menu* installedMenu() const;

  SimMac& mac_;
  bool withColor_;
  Say say_;
  std::optional<std::string> beforeAlert_;  // the reply of the pick or press running now
  std::optional<std::string> afterAlert_;   // the reply of an answer, until its alert has gone
};

}  // namespace lumora::sim
