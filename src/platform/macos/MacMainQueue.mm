#include "platform/macos/MacMainQueue.h"

#import <Foundation/Foundation.h>
#import <dispatch/dispatch.h>

#include <memory>
#include <utility>

// Carries work to a perform of the main run loop, which keeps it until then.
@interface LMVDeferredWork : NSObject
- (instancetype)initWithWork:(std::function<void()>)work;
- (void)run;
@end

@implementation LMVDeferredWork {
  std::function<void()> _work;
}

- (instancetype)initWithWork:(std::function<void()>)work {
  if ((self = [super init])) _work = std::move(work);
  return self;
}

- (void)run {
  if (_work) _work();
}

@end

namespace lumora::macos {

void MacMainQueue::async(std::function<void()> work) {
  auto shared = std::make_shared<std::function<void()>>(std::move(work));
  dispatch_async(dispatch_get_main_queue(), ^{
    (*shared)();
  });
}

void MacMainQueue::performOnNextTurn(std::function<void()> work) {
  LMVDeferredWork *deferred = [[LMVDeferredWork alloc] initWithWork:std::move(work)];
  // A run-loop perform, not a block of the main queue: a modal session it starts still drains
  // the queue. The default mode only, so it waits while a menu is tracked.
  [deferred performSelectorOnMainThread:@selector(run)
                             withObject:nil
                          waitUntilDone:NO
                                  modes:@[ NSDefaultRunLoopMode ]];
}

}  // namespace lumora::macos
