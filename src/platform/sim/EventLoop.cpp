#include "platform/sim/EventLoop.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <stdexcept>

namespace lumora::sim {

struct EventLoop::ScheduledTimer final : platform::Timer {
  Clock::time_point due;
  Clock::duration interval;
  bool repeats = false;
  bool valid = true;
  std::function<void()> block;

  void invalidate() override { valid = false; }
  bool isValid() const override { return valid; }
};

namespace {

// As NSTimer: an interval that is not positive becomes 0.1 ms. Non-finite or huge intervals are
// capped before the conversion, which would otherwise be undefined.
EventLoop::Clock::duration timerInterval(std::chrono::duration<double> seconds) {
  constexpr double shortest = 0.0001;
  constexpr double longest = 1.0e9;
  double value = seconds.count();
  if (!(value > shortest)) value = shortest;  // also NaN
  if (!(value < longest)) value = longest;
  return std::chrono::duration_cast<EventLoop::Clock::duration>(
      std::chrono::duration<double>(value));
}

int pollTimeout(std::optional<EventLoop::Clock::duration> wait) {
  if (!wait) return -1;
  if (*wait <= EventLoop::Clock::duration::zero()) return 0;
  const auto milliseconds = std::chrono::ceil<std::chrono::milliseconds>(*wait).count();
  return static_cast<int>(std::min<decltype(milliseconds)>(milliseconds, 60'000));
}

}  // namespace

EventLoop::EventLoop() {
  int fds[2];
  if (::pipe(fds) != 0) throw std::runtime_error("cannot make the event loop's wake pipe");
  wakeRead_ = FileDescriptor(fds[0]);
  wakeWrite_ = FileDescriptor(fds[1]);
  for (const int fd : fds) {
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);
  }
}

void EventLoop::wake() {
  const char byte = 1;
  // A full pipe already holds a wake-up; nothing is lost when this write fails.
  [[maybe_unused]] const ssize_t ignored = ::write(wakeWrite_.get(), &byte, 1);
}

void EventLoop::async(std::function<void()> work) {
  {
    const std::lock_guard lock(queueMutex_);
    queue_.push_back(std::move(work));
  }
  wake();
}

std::shared_ptr<platform::Timer> EventLoop::scheduledTimer(std::chrono::duration<double> interval,
                                                           bool repeats,
                                                           std::function<void()> block) {
  auto timer = std::make_shared<ScheduledTimer>();
  timer->interval = timerInterval(interval);
  timer->due = Clock::now() + timer->interval;
  timer->repeats = repeats;
  timer->block = std::move(block);
  timers_.push_back(timer);
  return timer;
}

void EventLoop::performInLaterPass(std::function<void()> work) {
  performs_.push_back(Perform{passNumber_.load(std::memory_order_relaxed), std::move(work)});
}

bool EventLoop::hasPerformsDue() const {
  const std::uint64_t pass = passNumber_.load(std::memory_order_relaxed);
  return std::any_of(performs_.begin(), performs_.end(),
                     [pass](const Perform& perform) { return perform.askedInPass < pass; });
}

void EventLoop::runPerformsDue() {
  const std::uint64_t pass = passNumber_.load(std::memory_order_relaxed);
  // Work may ask for more performs, or run a modal session: each is taken out before it runs.
  for (std::size_t i = 0; i < performs_.size() && !stopped_;) {
    if (performs_[i].askedInPass >= pass) {
      ++i;
      continue;
    }
    const std::function<void()> work = std::move(performs_[i].work);
    performs_.erase(performs_.begin() + static_cast<std::ptrdiff_t>(i));
    work();
  }
}

void EventLoop::watchReadable(int fd, std::function<void()> onReadable) {
  watches_.push_back(Watch{fd, std::move(onReadable)});
}

void EventLoop::unwatch(int fd) {
  std::erase_if(watches_, [fd](const Watch& watch) { return watch.fd == fd; });
}

void EventLoop::setAfterTimersFired(std::function<void()> observer) {
  afterTimersFired_ = std::move(observer);
}

void EventLoop::run() {
  while (!stopped_)
    pass(Mode::normal, std::nullopt);
  finishPass();
}

void EventLoop::stop() {
  stopped_ = true;
  wake();
}

bool EventLoop::runModal(const std::function<bool()>& done) {
  while (!stopped_ && !done())
    pass(Mode::modal, std::nullopt);
  return done();
}

void EventLoop::runOnce(Clock::duration wait) {
  pass(Mode::normal, wait);
}

bool EventLoop::hasQueuedWork() {
  const std::lock_guard lock(queueMutex_);
  return !queue_.empty();
}

std::optional<EventLoop::Clock::time_point> EventLoop::nextTimerDue() const {
  std::optional<Clock::time_point> next;
  for (const auto& timer : timers_) {
    if (timer->valid && (!next || timer->due < *next)) next = timer->due;
  }
  return next;
}

void EventLoop::pass(Mode mode, std::optional<Clock::duration> maxWait) {
  passNumber_.fetch_add(1, std::memory_order_relaxed);
  passWork(mode, maxWait);
  finishPass();
  if (afterPass_ && !stopped_) afterPass_();
}

void EventLoop::passWork(Mode mode, std::optional<Clock::duration> maxWait) {
  std::optional<Clock::duration> wait = maxWait;
  if ((mayRunQueue(mode) && hasQueuedWork()) || (mayFireTimers(mode) && hasPerformsDue())) {
    wait = Clock::duration::zero();
  } else if (mayFireTimers(mode)) {
    if (const std::optional<Clock::time_point> due = nextTimerDue()) {
      const Clock::duration untilDue = *due - Clock::now();
      if (!wait || untilDue < *wait) wait = untilDue;
    }
  }

  std::vector<pollfd>& fds = pollFds_;
  fds.clear();
  fds.push_back(pollfd{wakeRead_.get(), POLLIN, 0});
  for (const Watch& watch : watches_)
    fds.push_back(pollfd{watch.fd, POLLIN, 0});
  const std::size_t watched = watches_.size();
  const int ready = ::poll(fds.data(), fds.size(), pollTimeout(wait));
  if (ready < 0 && errno != EINTR) return;

  if (ready > 0 && (fds[0].revents & POLLIN) != 0) {
    char buffer[64];
    while (::read(wakeRead_.get(), buffer, sizeof buffer) > 0) {
    }
  }
  if (ready > 0) {
    // A callback may add or remove watches: each is found again by its descriptor.
    for (std::size_t i = 0; i < watched && !stopped_; ++i) {
      if ((fds[i + 1].revents & (POLLIN | POLLHUP | POLLERR)) == 0) continue;
      const int fd = fds[i + 1].fd;
      const auto watch = std::find_if(watches_.begin(), watches_.end(),
                                      [fd](const Watch& candidate) { return candidate.fd == fd; });
      if (watch == watches_.end()) continue;
      const std::function<void()> onReadable = watch->onReadable;
      onReadable();
    }
  }
  if (stopped_) return;
  if (mayRunQueue(mode)) runQueuedWork();
  if (stopped_) return;
  if (mayFireTimers(mode)) runPerformsDue();
  if (stopped_) return;
  if (mayFireTimers(mode)) fireDueTimers();
}

void EventLoop::runQueuedWork() {
  // Even an empty deque allocates: none is made while nothing is queued.
  if (!hasQueuedWork()) return;
  std::deque<std::function<void()>> work;
  {
    const std::lock_guard lock(queueMutex_);
    work.swap(queue_);
  }
  while (!work.empty() && !stopped_) {
    std::function<void()> task = std::move(work.front());
    work.pop_front();
    ++runningTasks_;
    task();
    --runningTasks_;
  }
  if (!work.empty()) {
    // Stopped in the middle: keep the rest in order in front of anything queued since.
    const std::lock_guard lock(queueMutex_);
    queue_.insert(queue_.begin(), std::make_move_iterator(work.begin()),
                  std::make_move_iterator(work.end()));
  }
}

void EventLoop::fireDueTimers() {
  std::erase_if(timers_, [](const auto& timer) { return !timer->valid; });
  const Clock::time_point now = Clock::now();
  bool fired = false;
  // A block may schedule timers: only those there before are looked at, each held meanwhile.
  const std::size_t scheduled = timers_.size();
  for (std::size_t i = 0; i < scheduled && i < timers_.size(); ++i) {
    const std::shared_ptr<ScheduledTimer> timer = timers_[i];
    if (!timer->valid || timer->due > now || stopped_) continue;
    if (timer->repeats) {
      // Missed firings are skipped, not made up for.
      timer->due += timer->interval;
      if (timer->due <= now) timer->due = now + timer->interval;
    } else {
      timer->valid = false;
    }
    fired = true;
    timer->block();
  }
  if (fired && afterTimersFired_ && !stopped_) afterTimersFired_();
}

}  // namespace lumora::sim
