#include "platform/sim/frontends/terminal/MinuteTicker.h"

#if __has_include(<sys/timerfd.h>)
#include <sys/timerfd.h>
#define LUMORA_HAS_TIMERFD 1
#endif

#include <cerrno>
#include <cstdint>
#include <ctime>

namespace lumora::sim::terminal {

std::string localTime(bool withDay) {
  // The precise clock: time() may still tell the last second of the old minute just as the
  // minute's timer fires.
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  std::tm local{};
  localtime_r(&now.tv_sec, &local);
  char text[64];
  const std::size_t length = withDay ? std::strftime(text, sizeof text, "%a %H:%M", &local)
                                     : std::strftime(text, sizeof text, "%H:%M", &local);
  return std::string(text, length);
}

#ifdef LUMORA_HAS_TIMERFD

MinuteTicker::MinuteTicker() : fd_(::timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC)) {
  arm();
}

void MinuteTicker::arm() {
  if (!fd_.valid()) return;
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  itimerspec period{};
  period.it_value.tv_sec = (now.tv_sec / 60 + 1) * 60;
  period.it_interval.tv_sec = 60;
  int flags = TFD_TIMER_ABSTIME;
#ifdef TFD_TIMER_CANCEL_ON_SET
  flags |= TFD_TIMER_CANCEL_ON_SET;
#endif
  ::timerfd_settime(fd_.get(), flags, &period, nullptr);
}

void MinuteTicker::acknowledge() {
  std::uint64_t ticks = 0;
  if (::read(fd_.get(), &ticks, sizeof ticks) < 0 && errno == ECANCELED) arm();
}

#else

MinuteTicker::MinuteTicker() = default;
void MinuteTicker::arm() {}
void MinuteTicker::acknowledge() {}

#endif

}  // namespace lumora::sim::terminal
