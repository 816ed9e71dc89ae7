#import "platform/macos/MacWindows.h"

#import <dispatch/dispatch.h>

#include <memory>

#include "platform/macos/MacApplication.h"
#include "platform/macos/MacStrings.h"
#include "platform/macos/MacSymbolImages.h"

namespace lumora::macos {
namespace {

NSRect toNSRect(const platform::Rect &rect) {
  return NSMakeRect(rect.x, rect.y, rect.width, rect.height);
}

NSView *makeView(const platform::View &view, LMVDelegateBridge *target) {
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
    case platform::View::Kind::button: {
      // The standard push button, as the factory method makes it (the bezel's name changed in
      // the macOS 14 SDK; the default needs neither); the bridge reads the action from its cell.
      NSButton *button = [NSButton buttonWithTitle:toNSString(view.text)
                                            target:target
                                            action:@selector(performButtonAction:)];
      button.frame = toNSRect(view.frame);
      NSCell *cell = button.cell;
      cell.representedObject = view.action ? toNSString(*view.action) : nil;
      native = button;
      break;
    }
  }
  if (view.wantsLayer) native.wantsLayer = YES;
  for (const platform::View &subview : view.subviews) {
    [native addSubview:makeView(subview, target)];
  }
  return native;
}

}  // namespace

MacWindow::~MacWindow() {
  // The window's will-close observer may be what lets go of this object, while -[NSWindow close]
  // is still running. The observers go now, so that no later close reaches them, but the window
  // and the observers' blocks stay alive until the main queue runs again, after the current
  // event.
  NSNotificationCenter *center = NSNotificationCenter.defaultCenter;
  NSMutableArray *tokens = [NSMutableArray arrayWithCapacity:observers_.size()];
  for (id<NSObject> token : observers_) {
    [center removeObserver:token];
    [tokens addObject:token];
  }
  NSWindow *window = window_;
  dispatch_async(dispatch_get_main_queue(), ^{
    // The last references, released when this block is.
    (void)window;
    (void)tokens;
  });
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

void MacWindow::setContentView(const platform::View &view) {
  window_.contentView = makeView(view, target_);
}

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
  return std::make_shared<MacWindow>(window, target_);
}

}  // namespace lumora::macos
