#import "platform/macos/MacApplication.h"

#include <cstdint>
#include <string>

#include "platform/macos/MacMainMenu.h"
#include "platform/macos/MacMenuSlider.h"
#include "platform/macos/MacStrings.h"

namespace {

// The selector name a control's cell carries in its represented object; nil when it holds none.
NSString *cellSelector(NSControl *control) {
  NSCell *cell = control.cell;
  NSString *selector = cell.representedObject;
  return [selector isKindOfClass:[NSString class]] ? selector : nil;
}

}  // namespace

@implementation LMVDelegateBridge {
  std::weak_ptr<lumora::platform::ApplicationDelegate> _delegate;
  std::function<void(std::string_view)> _urlReceiver;
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

- (void)setURLReceiver:(std::function<void(std::string_view url)>)receiver {
  _urlReceiver = std::move(receiver);
}

// Implementing this makes AppKit hand over the URLs of the app's scheme (from `open`, Shortcuts,
// a link). Nothing here activates the app: a script's command should not take the focus.
- (void)application:(NSApplication *)application openURLs:(NSArray<NSURL *> *)urls {
  for (NSURL *url in urls) {
    if (_urlReceiver) _urlReceiver(lumora::macos::fromNSString(url.absoluteString));
  }
}

// Restorable state is decoded with secure coding only; without this answer macOS 14 warns at
// every launch.
- (BOOL)applicationSupportsSecureRestorableState:(NSApplication *)app {
  return YES;
}

// Every entry with an action sends this one message; the entry carries the core's selector name
// in its represented object, so the list of actions lives only in the core.
- (void)performMenuAction:(id)sender {
  const auto delegate = _delegate.lock();
  if (!delegate || ![sender isKindOfClass:[NSMenuItem class]]) return;
  NSMenuItem *item = sender;
  NSString *selector = item.representedObject;
  if (![selector isKindOfClass:[NSString class]]) return;
  lumora::platform::MenuItemSender menuSender;
  menuSender.tag = static_cast<std::int64_t>(item.tag);
  delegate->performMenuAction(lumora::macos::fromNSString(selector), menuSender);
}

// The slider carries the selector name in its cell, as entries do in theirs, and its value; the
// event that made it send tells whether the mouse still holds it.
- (void)performSliderAction:(id)sender {
  const auto delegate = _delegate.lock();
  if (!delegate || ![sender isKindOfClass:[NSSlider class]]) return;
  NSSlider *slider = sender;
  NSString *selector = cellSelector(slider);
  if (selector == nil) return;
  lumora::platform::MenuItemSender sliderSender;
  sliderSender.value = slider.doubleValue;
  sliderSender.motion = lumora::macos::currentSliderMotion();
  delegate->performMenuAction(lumora::macos::fromNSString(selector), sliderSender);
}

// A window's button carries the selector name in its cell, as the slider does, and sends a tag
// of 0, as the core's buttons are described.
- (void)performButtonAction:(id)sender {
  const auto delegate = _delegate.lock();
  if (!delegate || ![sender isKindOfClass:[NSButton class]]) return;
  NSString *selector = cellSelector(sender);
  if (selector == nil) return;
  delegate->performMenuAction(lumora::macos::fromNSString(selector),
                              lumora::platform::MenuItemSender{});
}

// An entry is enabled when the delegate answers its action.
- (BOOL)validateMenuItem:(NSMenuItem *)menuItem {
  const auto delegate = _delegate.lock();
  NSString *selector = menuItem.representedObject;
  if (!delegate || menuItem.action != @selector(performMenuAction:) ||
      ![selector isKindOfClass:[NSString class]]) {
    return NO;
  }
  return delegate->respondsToMenuAction(lumora::macos::fromNSString(selector));
}

@end

namespace lumora::macos {

MacApplication::MacApplication() : bridge_([[LMVDelegateBridge alloc] init]) {
  // Makes the one application object, as the first step of a Cocoa app's start.
  NSApplication *application = [NSApplication sharedApplication];
  // Without one, ⌘Q, ⌘W and ⌘C do nothing while the settings window is key.
  installMainMenu(application, @"Lumora Virir");
}

void MacApplication::setDelegate(std::weak_ptr<platform::ApplicationDelegate> delegate) {
  [bridge_ setDelegate:std::move(delegate)];
  NSApplication.sharedApplication.delegate = bridge_;
}

void MacApplication::stop() {
  NSApplication *application = NSApplication.sharedApplication;
  [application stop:nil];
  // stop: takes effect once an event has been handled: one that does nothing ends the loop now.
  NSEvent *wake = [NSEvent otherEventWithType:NSEventTypeApplicationDefined
                                     location:NSZeroPoint
                                modifierFlags:0
                                    timestamp:0
                                 windowNumber:0
                                      context:nil
                                      subtype:0
                                        data1:0
                                        data2:0];
  [application postEvent:wake atStart:YES];
}

bool launchedToDiagnose() {
  return [NSProcessInfo.processInfo.arguments containsObject:@"--diagnose"];
}

bool MacApplication::diagnoseRequested() const {
  return launchedToDiagnose();
}

void MacApplication::setActivationPolicy(platform::ActivationPolicy policy) {
  [NSApplication.sharedApplication
      setActivationPolicy:static_cast<NSApplicationActivationPolicy>(policy)];
}

void activateApplication(bool ignoringOtherApps) {
  NSApplication *application = NSApplication.sharedApplication;
#ifdef __MAC_14_0
  // From macOS 14 on the ignoring flag has no effect, and the settings window would stay behind
  // the frontmost app; activate is the request that replaces it.
  if (ignoringOtherApps) {
    if (@available(macOS 14, *)) {
      [application activate];
      return;
    }
  }
#endif
  [application activateIgnoringOtherApps:ignoringOtherApps ? YES : NO];
}

void MacApplication::activateIgnoringOtherApps(bool flag) { activateApplication(flag); }

void MacApplication::run() { [NSApplication.sharedApplication run]; }

void MacApplication::terminate() { [NSApplication.sharedApplication terminate:nil]; }

}  // namespace lumora::macos
