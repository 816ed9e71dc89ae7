#include "display/EventTrail.h"

#include <charconv>

namespace lumora {
namespace {

// As printf's %g with `precision` digits, or %.<precision>f when `fixed`.
std::string number(double value, int precision = 6, bool fixed = false) {
  char text[32];
  const auto format = fixed ? std::chars_format::fixed : std::chars_format::general;
  const std::to_chars_result end =
      std::to_chars(text, text + sizeof text, value, format, precision);
  return std::string(text, end.ptr);
}

std::string withDetail(std::string_view what, std::string_view detail) {
  std::string line(what);
  if (!detail.empty()) line += ": " + std::string(detail);
  return line;
}

std::string eventText(const EventTrail::Record& record) {
  using Event = EventTrail::Event;
  switch (record.event) {
    case Event::methodChosen:
      return std::string(record.value > 0.5 ? "method: EDR headroom" : "method: presets") +
             (record.detail.empty() ? "" : ", " + std::string(record.detail));
    case Event::methodSwitched:
      return withDetail("switched to EDR headroom", record.detail);
    case Event::presetWritten:
      return "preset written: " + number(record.value) + " nits";
    case Event::presetRefused:
      return "preset refused: " + number(record.value) + " nits";
    case Event::presetRemoved:
      return "preset removed by macOS: " + number(record.value) + " nits";
    case Event::headroomAsked:
      return record.value > 0.5 ? "headroom asked for" : "headroom asked for again";
    case Event::headroomArrived:
      return "headroom arrived: " + number(record.value) + ", after " +
             number(record.extra, 1, true) + " s";
    case Event::headroomLost:
      return "headroom lost: " + number(record.value);
    case Event::headroomGivenUp:
      return withDetail("headroom given up", record.detail);
    case Event::tableLoaded:
      return "table loaded: boost " + number(record.value, 3);
    case Event::tableNotApplied:
      return "table not applied: boost " + number(record.value, 3) + " did not read back";
    case Event::tableReplaced:
      return "table replaced by another app";
    case Event::boostStopped:
      return "boost given up to another app";
    case Event::paused:
      return withDetail("paused", record.detail);
    case Event::resumed:
      return "resumed";
    case Event::willSleep:
      return "sleep";
    case Event::didWake:
      return "wake";
    case Event::screensDidSleep:
      return "screens sleep";
    case Event::screensDidWake:
      return "screens wake";
    case Event::screenLocked:
      return "lock";
    case Event::screenUnlocked:
      return "unlock";
    case Event::activeSpaceChanged:
      return "Space change";
    case Event::displaysReconfigured:
      return "display reconfiguration";
    case Event::alertShown:
      return withDetail("alert", record.detail);
    case Event::checkStarted:
      return "display check at " + number(record.value) + " nits";
    case Event::checkEnded:
      return withDetail("display check", record.detail);
  }
  return "event";
}

}  // namespace

EventTrail::EventTrail(Clock clock) : clock_(std::move(clock)), launch_(clock_()) {}

void EventTrail::record(Event event, double value, double extra, std::string_view detail) {
  records_[next_] = Record{
      .at = clock_() - launch_, .event = event, .value = value, .extra = extra, .detail = detail};
  next_ = (next_ + 1) % capacity;
  if (count_ < capacity) ++count_;
}

void EventTrail::update(Event event, double value, double extra) {
  if (count_ > 0) {
    Record& newest = records_[(next_ + capacity - 1) % capacity];
    if (newest.event == event) {
      newest = Record{
          .at = clock_() - launch_, .event = event, .value = value, .extra = extra, .detail = {}};
      return;
    }
  }
  record(event, value, extra);
}

void EventTrail::forEach(const std::function<void(const Record&)>& visit) const {
  const std::size_t oldest = (next_ + capacity - count_) % capacity;
  for (std::size_t i = 0; i < count_; ++i)
    visit(records_[(oldest + i) % capacity]);
}

std::string EventTrail::describe(const Record& record) {
  const double seconds = std::chrono::duration<double>(record.at).count();
  std::string at = number(seconds, 1, true);
  // In a column: the times of a long run line up.
  if (at.size() < 8) at.insert(0, 8 - at.size(), ' ');
  return at + " s  " + eventText(record);
}

}  // namespace lumora
