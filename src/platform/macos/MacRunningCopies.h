#pragma once

#import <AppKit/AppKit.h>

#include <chrono>

#include "platform/RunningCopies.h"

namespace lumora::macos {

platform::RunningCopy runningCopyOf(NSRunningApplication* application);

// Whether `application` has ended, or ends within `limit`: a copy that is quitting does not count
// as running. Runs the current run loop meanwhile, which brings the system's news of it.
bool endsWithin(NSRunningApplication* application, std::chrono::duration<double> limit);

}  // namespace lumora::macos
