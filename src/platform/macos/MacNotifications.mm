#include "platform/macos/MacNotifications.h"

#import <AppKit/AppKit.h>

#include <memory>

#include "platform/macos/MacWindows.h"

namespace lumora::macos {

void MacNotificationCenter::addWindowWillCloseObserver(const platform::Window &window,
                                                       std::function<void()> block) {
  const auto *macWindow = dynamic_cast<const MacWindow *>(&window);
  if (macWindow == nullptr) return;
  auto shared = std::make_shared<std::function<void()>>(std::move(block));
  // The registration lasts as long as the window: it is removed when the window goes.
  id<NSObject> token =
      [NSNotificationCenter.defaultCenter addObserverForName:NSWindowWillCloseNotification
                                                      object:macWindow->window()
                                                       queue:[NSOperationQueue mainQueue]
                                                  usingBlock:^(NSNotification *) {
                                                    // The block may let go of the window, and so of
                                                    // itself, while it runs.
                                                    const auto keep = shared;
                                                    (*keep)();
                                                  }];
  macWindow->keepObserver(token);
}

}  // namespace lumora::macos
