#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace lumora::testing {

// What the fakes were asked to do, in order, so that tests can check sequences across them.
class EventLog {
 public:
  void add(std::string event) { events_.push_back(std::move(event)); }
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
  std::vector<std::string> events_;
};

}  // namespace lumora::testing
