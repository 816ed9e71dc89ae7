#import "MacWindows.h"

#import <ServiceManagement/ServiceManagement.h>

#include <memory>

#include "MacImages.h"
#include "MacStrings.h"

namespace lumora::macos {
namespace {

NSRect toNSRect(const platform::Rect &rect) {
  return NSMakeRect(rect.x, rect.y, rect.width, rect.height);
}

NSView *makeView(const platform::View &view) {
  NSView *native = nil;
  switch (view.kind) {
    case platform::View::Kind::plain:
      native = [[NSView alloc] initWithFrame:toNSRect(view.frame)];
      break;
    case platform::View::Kind::separator: {
      NSBox *box = [[NSBox alloc] initWithFrame:toNSRect(view.frame)];
      box.boxType = NSBoxSeparator;
      native = box;
      break;
    }
    case platform::View::Kind::label: {
      NSTextField *label = [NSTextField labelWithString:toNSString(view.text)];
      label.frame = toNSRect(view.frame);
      if (view.font) {
        label.font = view.font->bold ? [NSFont boldSystemFontOfSize:view.font->size]
                                     : [NSFont systemFontOfSize:view.font->size];
      }
      if (view.textColor) label.textColor = makeColor(*view.textColor);
      native = label;
      break;
    }
  }
  if (view.wantsLayer) native.wantsLayer = YES;
  for (const platform::View &subview : view.subviews) [native addSubview:makeView(subview)];
  return native;
}

std::optional<std::string> describe(BOOL succeeded, NSError *error) {
  if (succeeded) return std::nullopt;
  return error != nil ? fromNSString(error.localizedDescription) : std::string("unknown error");
}

}  // namespace

MacWindow::~MacWindow() {
  for (id<NSObject> token : observers_) [NSNotificationCenter.defaultCenter removeObserver:token];
}

void MacWindow::setTitle(const std::string &title) { window_.title = toNSString(title); }

void MacWindow::center() { [window_ center]; }

void MacWindow::setReleasedWhenClosed(bool released) {
  window_.releasedWhenClosed = released ? YES : NO;
}

platform::Rect MacWindow::contentViewBounds() const {
  NSView *content = window_.contentView;
  const NSRect bounds = content.bounds;
  return {bounds.origin.x, bounds.origin.y, bounds.size.width, bounds.size.height};
}

void MacWindow::setContentView(const platform::View &view) { window_.contentView = makeView(view); }

void MacWindow::makeKeyAndOrderFront() { [window_ makeKeyAndOrderFront:nil]; }

bool MacWindow::isVisible() const { return window_.visible == YES; }

std::shared_ptr<platform::Window> MacWindows::makeWindow(const platform::Rect &contentRect,
                                                         unsigned styleMask,
                                                         platform::BackingStore backing,
                                                         bool defer) {
  NSWindow *window = [[NSWindow alloc] initWithContentRect:toNSRect(contentRect)
                                                 styleMask:static_cast<NSWindowStyleMask>(styleMask)
                                                   backing:static_cast<NSBackingStoreType>(backing)
                                                     defer:defer ? YES : NO];
  // Under ARC a window released when closed would be released twice.
  window.releasedWhenClosed = NO;
  return std::make_shared<MacWindow>(window);
}

void MacNotificationCenter::addWindowWillCloseObserver(const platform::Window &window,
                                                       std::function<void()> block) {
  const auto *macWindow = dynamic_cast<const MacWindow *>(&window);
  if (macWindow == nullptr) return;
  auto shared = std::make_shared<std::function<void()>>(std::move(block));
  // The registration lasts as long as the window: it is removed when the window goes.
  id<NSObject> token = [NSNotificationCenter.defaultCenter
      addObserverForName:NSWindowWillCloseNotification
                  object:macWindow->window()
                   queue:[NSOperationQueue mainQueue]
              usingBlock:^(NSNotification *) {
                // The block may let go of the window, and so of itself, while it runs.
                const auto keep = shared;
                (*keep)();
              }];
  macWindow->keepObserver(token);
}

std::optional<std::string> MacLoginItems::registerMainApp() {
  NSError *error = nil;
  const BOOL succeeded = [SMAppService.mainAppService registerAndReturnError:&error];
  return describe(succeeded, error);
}

std::optional<std::string> MacLoginItems::unregisterMainApp() {
  NSError *error = nil;
  const BOOL succeeded = [SMAppService.mainAppService unregisterAndReturnError:&error];
  return describe(succeeded, error);
}

}  // namespace lumora::macos
