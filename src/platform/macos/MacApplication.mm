#import "MacApplication.h"

#include <string>

#include "MacStrings.h"

@implementation LMVDelegateBridge {
  std::weak_ptr<lumora::platform::ApplicationDelegate> _delegate;
}

- (void)setDelegate:(std::weak_ptr<lumora::platform::ApplicationDelegate>)delegate {
  _delegate = std::move(delegate);
}

- (void)applicationDidFinishLaunching:(NSNotification *)notification {
  if (const auto delegate = _delegate.lock()) delegate->applicationDidFinishLaunching();
}

- (void)applicationWillTerminate:(NSNotification *)notification {
  if (const auto delegate = _delegate.lock()) delegate->applicationWillTerminate();
}

- (void)forwardAction:(SEL)action sender:(id)sender {
  const auto delegate = _delegate.lock();
  if (!delegate) return;
  lumora::platform::MenuItemSender menuSender;
  if ([sender isKindOfClass:[NSMenuItem class]]) {
    menuSender.tag = static_cast<std::int64_t>(static_cast<NSMenuItem *>(sender).tag);
  }
  delegate->performMenuAction(lumora::macos::fromNSString(NSStringFromSelector(action)),
                              menuSender);
}

// Entries are enabled for the actions the delegate answers.
- (BOOL)validateMenuItem:(NSMenuItem *)menuItem {
  const auto delegate = _delegate.lock();
  if (!delegate || menuItem.action == nullptr) return NO;
  return delegate->respondsToMenuAction(
      lumora::macos::fromNSString(NSStringFromSelector(menuItem.action)));
}

// One method for each selector of ui/MenuSelectors.h; a test checks that the lists agree.
- (void)setNits:(id)sender {
  [self forwardAction:_cmd sender:sender];
}
- (void)toggleXDR {
  [self forwardAction:_cmd sender:nil];
}
- (void)toggleAutoEnable {
  [self forwardAction:_cmd sender:nil];
}
- (void)toggleLaunchAtLogin {
  [self forwardAction:_cmd sender:nil];
}
- (void)toggleSimpleIcon {
  [self forwardAction:_cmd sender:nil];
}
- (void)setDeepBlacksLevel:(id)sender {
  [self forwardAction:_cmd sender:sender];
}
- (void)resetAllTweaks {
  [self forwardAction:_cmd sender:nil];
}
- (void)checkForUpdates {
  [self forwardAction:_cmd sender:nil];
}
- (void)openSettings {
  [self forwardAction:_cmd sender:nil];
}
- (void)quit {
  [self forwardAction:_cmd sender:nil];
}

@end

namespace lumora::macos {

MacApplication::MacApplication() : bridge_([[LMVDelegateBridge alloc] init]) {
  // Makes the one application object, as the first step of a Cocoa app's start.
  [NSApplication sharedApplication];
}

void MacApplication::setDelegate(std::weak_ptr<platform::ApplicationDelegate> delegate) {
  [bridge_ setDelegate:std::move(delegate)];
  NSApplication.sharedApplication.delegate = bridge_;
}

void MacApplication::setActivationPolicy(platform::ActivationPolicy policy) {
  [NSApplication.sharedApplication
      setActivationPolicy:static_cast<NSApplicationActivationPolicy>(policy)];
}

void MacApplication::activateIgnoringOtherApps(bool flag) {
  [NSApplication.sharedApplication activateIgnoringOtherApps:flag ? YES : NO];
}

void MacApplication::run() { [NSApplication.sharedApplication run]; }

void MacApplication::terminate() { [NSApplication.sharedApplication terminate:nil]; }

}  // namespace lumora::macos
