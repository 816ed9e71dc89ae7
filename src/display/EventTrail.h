#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace lumora {

// The last events that changed what the display shows, each with its time since launch: what a
// diagnosis tells of this run. A fixed ring of small records, written without allocating and
// never to a file (the app keeps no log). Main thread only.
class EventTrail {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;
  static constexpr std::size_t capacity = 50;

  enum class Event : std::uint8_t {
    methodChosen,     // detail: by what; value: 0 presets, 1 headroom
    methodSwitched,   // detail: why
    presetWritten,    // value: nits
    presetRefused,    // value: nits
    presetRemoved,    // value: the level it held
    headroomAsked,    // value: 1 for a request, 0 for asking again
    headroomArrived,  // value: the headroom; extra: seconds since it was asked for
    headroomLost,     // value: the headroom left
    headroomGivenUp,  // detail: why
    tableLoaded,      // value: its boost
    tableNotApplied,  // value: the boost that did not read back
    tableReplaced,    // another app's table found over the boost
    boostStopped,     // given up to another app
    paused,           // detail: the reason
    resumed,
    systemChanged,  // detail: what changed (sleep, wake, lock, a Space change…)
    alertShown,     // detail: its title
    checkStarted,   // value: the level tried
    checkEnded,     // detail: the outcome
  };

  struct Record {
    std::chrono::steady_clock::duration at{};  // since launch
    Event event = Event::methodChosen;
    double value = 0.0;
    double extra = 0.0;
    // A text with static storage: nothing is copied.
    std::string_view detail;
  };

  explicit EventTrail(Clock clock);

  // `detail` must outlive the process: a literal or a constant.
  void record(Event event, double value = 0.0, double extra = 0.0, std::string_view detail = {});
  void record(Event event, std::string_view detail) { record(event, 0.0, 0.0, detail); }
  // The same, but a newest record of the same event is replaced rather than followed: for what
  // may come once a second (the boost following the headroom), so it does not push the rest out.
  void update(Event event, double value = 0.0, double extra = 0.0);

  std::size_t size() const { return count_; }
  // The records, oldest first.
  void forEach(const std::function<void(const Record&)>& visit) const;
  std::chrono::steady_clock::duration sinceLaunch() const { return clock_() - launch_; }

  // One line for a record, as "12.3 s  headroom arrived: 3.2, after 0.5 s".
  static std::string describe(const Record& record);

 private:
  Clock clock_;
  std::chrono::steady_clock::time_point launch_;
  std::array<Record, capacity> records_{};
  std::size_t next_ = 0;
  std::size_t count_ = 0;
};

}  // namespace lumora
