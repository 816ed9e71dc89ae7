#pragma once

#include <poll.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/Timers.h"
#include "platform/sim/machine/FileDescriptor.h"

namespace lumora::sim {

// The simulated Mac's main run loop, on the thread that runs it. It serves the main queue,
// timers and performs in the default mode, and readable file descriptors (the front end's input).
// While a modal session runs, timers and performs wait, and so does the main queue when the
// session was started from one of its tasks (the queue is serial); while a menu is being tracked,
// timers and performs wait too.
class EventLoop final {
 public:
  using Clock = std::chrono::steady_clock;

  EventLoop();
  EventLoop(const EventLoop&) = delete;
  EventLoop& operator=(const EventLoop&) = delete;

  // The main queue; from any thread.
  void async(std::function<void()> work);

  std::shared_ptr<platform::Timer> scheduledTimer(std::chrono::duration<double> interval,
                                                  bool repeats, std::function<void()> block);

  // Runs `work` in a later pass, in the default mode as timers are (not during a modal session or
  // while a menu is open), and not as a task of the queue: as a perform of a Mac's run loop. The
  // pass that asked ends first, so what it stored is written by then. Main thread.
  void performInLaterPass(std::function<void()> work);
  // Some work asked for a later pass has not run yet.
  bool hasPerformsWaiting() const { return !performs_.empty(); }

  // Calls `onReadable` on the main thread whenever `fd` can be read, in every mode.
  void watchReadable(int fd, std::function<void()> onReadable);
  void unwatch(int fd);
  // Runs after every pass that fired timers.
  void setAfterTimersFired(std::function<void()> observer);
  // Runs at the end of every pass, in every mode.
  void setAfterPass(std::function<void()> observer) { afterPass_ = std::move(observer); }
  // Runs at the end of every pass, before the afterPass observer, and once more when the loop
  // ends: for the stores, which write what a pass changed.
  void addEndOfPass(std::function<void()> work) { endOfPass_.push_back(std::move(work)); }
  // Ends what runs outside a pass (the launch) as a pass ends: the stores write what it changed.
  void finishPass() {
    for (const auto& work : endOfPass_)
      work();
  }
  // Counts the passes, for what is looked at once per pass.
  const std::atomic<std::uint64_t>& passNumber() const { return passNumber_; }
  // A menu is open: timers wait until it closes.
  void setTrackingMenu(bool tracking) { trackingMenu_ = tracking; }

  // Runs until stop.
  void run();
  // From any thread; also ends every modal session.
  void stop();
  bool isStopped() const { return stopped_; }

  // Runs a modal session until `done` is true; false when the loop was stopped first.
  bool runModal(const std::function<bool()>& done);

  // One pass for tests: handles what is ready, waiting at most `wait` for something to be.
  void runOnce(Clock::duration wait);

 private:
  struct ScheduledTimer;
  enum class Mode { normal, modal };

  void pass(Mode mode, std::optional<Clock::duration> maxWait);
  void passWork(Mode mode, std::optional<Clock::duration> maxWait);
  bool mayRunQueue(Mode mode) const { return mode == Mode::normal || runningTasks_ == 0; }
  bool mayFireTimers(Mode mode) const { return mode == Mode::normal && !trackingMenu_; }
  bool hasQueuedWork();
  void runQueuedWork();
  bool hasPerformsDue() const;
  void runPerformsDue();
  std::optional<Clock::time_point> nextTimerDue() const;
  void fireDueTimers();
  void wake();

  FileDescriptor wakeRead_;
  FileDescriptor wakeWrite_;
  std::mutex queueMutex_;
  std::deque<std::function<void()>> queue_;
  std::vector<std::shared_ptr<ScheduledTimer>> timers_;
  struct Perform {
    std::uint64_t askedInPass;
    std::function<void()> work;
  };
  std::vector<Perform> performs_;
  struct Watch {
    int fd;
    std::function<void()> onReadable;
  };
  std::vector<Watch> watches_;
  std::vector<pollfd> pollFds_;  // kept between passes, so that a pass allocates nothing
  std::function<void()> afterTimersFired_;
  std::function<void()> afterPass_;
  std::vector<std::function<void()>> endOfPass_;
  std::atomic<std::uint64_t> passNumber_{0};
  std::atomic<bool> stopped_{false};
  int runningTasks_ = 0;
  bool trackingMenu_ = false;
};

}  // namespace lumora::sim
