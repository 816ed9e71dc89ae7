#import "platform/macos/MacRunningCopies.h"

#include <signal.h>

#include <cerrno>

namespace lumora::macos {
namespace {

bool hasEnded(NSRunningApplication *application) {
  return application.terminated ||
         (::kill(application.processIdentifier, 0) != 0 && errno == ESRCH);
}

}  // namespace

platform::RunningCopy runningCopyOf(NSRunningApplication *application) {
  platform::RunningCopy copy;
  copy.processID = static_cast<int>(application.processIdentifier);
  NSDate *launched = application.launchDate;
  if (launched != nil) copy.launchTime = launched.timeIntervalSinceReferenceDate;
  copy.terminated = hasEnded(application);
  return copy;
}

bool endsWithin(NSRunningApplication *application, std::chrono::duration<double> limit) {
  NSDate *deadline = [NSDate dateWithTimeIntervalSinceNow:limit.count()];
  while (!hasEnded(application)) {
    if (deadline.timeIntervalSinceNow <= 0) return false;
    @autoreleasepool {
      [NSRunLoop.currentRunLoop runMode:NSDefaultRunLoopMode
                             beforeDate:[NSDate dateWithTimeIntervalSinceNow:0.05]];
    }
  }
  return true;
}

}  // namespace lumora::macos
