#include "display/EventTrail.h"

#include "display/NumberText.h"

namespace lumora {
namespace {

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
      return "preset written: " + numberText(record.value) + " nits";
    case Event::presetRefused:
      return "preset refused: " + numberText(record.value) + " nits";
    case Event::presetRemoved:
      return "preset removed by macOS: " + numberText(record.value) + " nits";
    case Event::headroomAsked:
      return record.value > 0.5 ? "headroom asked for" : "headroom asked for again";
    case Event::headroomArrived:
      return "headroom arrived: " + numberText(record.value) + ", after " +
             decimalText(record.extra, 1) + " s";
    case Event::headroomLost:
      return "headroom lost: " + numberText(record.value);
    case Event::headroomGivenUp:
      return withDetail("headroom given up", record.detail);
    case Event::tableLoaded:
      return "table loaded: boost " + numberText(record.value, 3);
    case Event::tableNotApplied:
      return "table not applied: boost " + numberText(record.value, 3) + " did not read back";
    case Event::tableReplaced:
      return "table replaced by another app";
    case Event::boostStopped:
      return "boost given up to another app";
    case Event::paused:
      return withDetail("paused", record.detail);
    case Event::resumed:
      return "resumed";
    case Event::systemChanged:
      return std::string(record.detail);
    case Event::alertShown:
      return withDetail("alert", record.detail);
    case Event::checkStarted:
      return "display check at " + numberText(record.value) + " nits";
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
  std::string at = secondsText(record.at);
  // In a column: the times of a long run line up.
  constexpr std::size_t column = 10;
  if (at.size() < column) at.insert(0, column - at.size(), ' ');
  return at + "  " + eventText(record);
}

}  // namespace lumora
