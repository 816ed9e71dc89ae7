#pragma once

#import <Foundation/Foundation.h>

#include <chrono>
#include <functional>

namespace lumora::macos::runloop {

// Runs the current run loop in `mode` until `done` answers true or `timeout` has passed; whether
// it did.
inline bool runUntil(const std::function<bool()> &done, std::chrono::duration<double> timeout,
                     NSString *mode = NSDefaultRunLoopMode) {
  NSDate *deadline = [NSDate dateWithTimeIntervalSinceNow:timeout.count()];
  while (!done()) {
    if (deadline.timeIntervalSinceNow <= 0) return false;
    @autoreleasepool {
      [NSRunLoop.currentRunLoop runMode:mode beforeDate:[NSDate dateWithTimeIntervalSinceNow:0.01]];
    }
  }
  return true;
}

// Runs the current run loop in `mode` for `duration`.
inline void runFor(std::chrono::duration<double> duration, NSString *mode = NSDefaultRunLoopMode) {
  runUntil([] { return false; }, duration, mode);
}

}  // namespace lumora::macos::runloop
