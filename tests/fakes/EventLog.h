#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace lumora::testing {

// What the fakes were asked to do, in order, so that tests can check sequences across them.
class EventLog {
 public:
  // A quiet log records nothing and builds no text, so that benchmarks count only the app's work.
  explicit EventLog(bool quiet = false) : quiet_(quiet) {}

  // Records `event` followed by `detail`.
  void add(std::string_view event, std::string_view detail = {}) {
    if (quiet_) return;
    std::string text(event);
    text += detail;
    events_.push_back(std::move(text));
  }
  bool isRecording() const { return !quiet_; }
  const std::vector<std::string>& events() const { return events_; }
  void clear() { events_.clear(); }

  // Position of the first event equal to `event`, or -1.
  long indexOf(std::string_view event) const {
    const auto found = std::find(events_.begin(), events_.end(), event);
    return found == events_.end() ? -1 : static_cast<long>(found - events_.begin());
  }
  long count(std::string_view event) const {
    return static_cast<long>(std::count(events_.begin(), events_.end(), event));
  }
  // The events that start with `prefix`, in order.
  std::vector<std::string> matching(std::string_view prefix) const {
    std::vector<std::string> found;
    for (const std::string& event : events_) {
      if (event.starts_with(prefix)) found.push_back(event);
    }
    return found;
  }

 private:
  bool quiet_;
  std::vector<std::string> events_;
};

}  // namespace lumora::testing
