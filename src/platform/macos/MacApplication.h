#pragma once

#import <AppKit/AppKit.h>

#include <functional>
#include <memory>
#include <string_view>

#include "platform/Application.h"

// Stands in for the C++ delegate wherever AppKit wants an Objective-C object: the application's
// delegate and the target of every menu action. It only forwards.
@interface LMVDelegateBridge : NSObject <NSApplicationDelegate>
- (void)setDelegate:(std::weak_ptr<lumora::platform::ApplicationDelegate>)delegate;
// The action of every menu entry that has one.
- (void)performMenuAction:(id)sender;
// The action of a slider in a menu entry, sent continuously while it is dragged.
- (void)performSliderAction:(id)sender;
// The action of a push button in a window; its cell carries the selector name.
- (void)performButtonAction:(id)sender;
// Whether the delegate answers the entry's action.
- (BOOL)validateMenuItem:(NSMenuItem *)menuItem;
// Where the URLs of application:openURLs: go, one by one; none drops them.
- (void)setURLReceiver:(std::function<void(std::string_view url)>)receiver;
- (void)application:(NSApplication *)application openURLs:(NSArray<NSURL *> *)urls;
@end

namespace lumora::macos {

// Makes this app the active one. Ignoring other apps, it comes in front of the frontmost one: on
// macOS 14 and later through -activate, the request that replaces the ignoring flag.
void activateApplication(bool ignoringOtherApps);

// Whether the process was started with --diagnose.
bool launchedToDiagnose();

class MacApplication final : public platform::Application {
 public:
  MacApplication();

  void setDelegate(std::weak_ptr<platform::ApplicationDelegate> delegate) override;
  void setActivationPolicy(platform::ActivationPolicy policy) override;
  void activateIgnoringOtherApps(bool flag) override;
  void run() override;
  void terminate() override;
  void stop() override;
  bool diagnoseRequested() const override;

  // The target for menu entries' actions.
  LMVDelegateBridge *bridge() const { return bridge_; }

 private:
  // NSApplication.delegate is weak: this keeps the bridge alive.
  LMVDelegateBridge *bridge_;
};

}  // namespace lumora::macos
