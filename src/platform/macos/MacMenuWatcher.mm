#import "platform/macos/MacMenuWatcher.h"

@implementation LMVMenuWatcher

- (void)menuWillOpen:(NSMenu *)menu {
  _open = YES;
}

- (void)menuDidClose:(NSMenu *)menu {
  _open = NO;
  // After the tracking has ended, not from inside it.
  __weak LMVMenuWatcher *weakSelf = self;
  dispatch_async(dispatch_get_main_queue(), ^{
    LMVMenuWatcher *strongSelf = weakSelf;
    if (strongSelf != nil && !strongSelf.open && strongSelf.closed) strongSelf.closed();
  });
}

// Optional in AppKit, required by the type checker's headers: each does what AppKit does without
// it (no confinement of its own is NSZeroRect).
- (void)menu:(NSMenu *)menu willHighlightItem:(NSMenuItem *)item {
}

- (NSRect)confinementRectForMenu:(NSMenu *)menu onScreen:(NSScreen *)screen {
  return NSZeroRect;
}

@end
