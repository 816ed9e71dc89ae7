#include "platform/macos/MacMainQueue.h"

#import <dispatch/dispatch.h>

#include <memory>
#include <utility>

namespace lumora::macos {

void MacMainQueue::async(std::function<void()> work) {
  auto shared = std::make_shared<std::function<void()>>(std::move(work));
  dispatch_async(dispatch_get_main_queue(), ^{
    (*shared)();
  });
}

}  // namespace lumora::macos
