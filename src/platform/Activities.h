#pragma once

#include <memory>
#include <string_view>

namespace lumora::platform {

// An activity under way; it ends when this object goes.
class Activity {
 public:
  virtual ~Activity() = default;
};

// Work the user asked for and is waiting on (NSProcessInfo's activities): while one is open the
// system neither defers it nor naps the app, so its timers keep time. Main thread only.
class Activities {
 public:
  virtual ~Activities() = default;

  // Begins a user-initiated activity, said by `reason`, that lasts as long as the returned object.
  virtual std::unique_ptr<Activity> begin(std::string_view reason) = 0;
};

}  // namespace lumora::platform
