#pragma once

#import <AppKit/AppKit.h>

// The status menu's delegate: tells whether the menu is open, and when it has closed.
@interface LMVMenuWatcher : NSObject <NSMenuDelegate>
@property(nonatomic, readonly) BOOL open;
// Runs on the main queue after the menu has closed, unless it opened again meanwhile.
@property(nonatomic, copy) void (^closed)(void);
@end
