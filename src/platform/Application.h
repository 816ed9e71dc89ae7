#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace lumora::platform {

// NSApplicationActivationPolicy.
enum class ActivationPolicy { regular = 0, accessory = 1, prohibited = 2 };

// How a slider in a menu came to send its value.
enum class SliderMotion {
  // Let go there, or set there at once: the value holds.
  released,
  // Still held by the mouse: more values follow, the last one released.
  dragged,
  // Moved a step by a key, from the value it showed, to a stop it reached on the way.
  stepped,
};

// What a menu entry, or the slider in one, passes along with its action.
struct MenuItemSender {
  std::int64_t tag = 0;  // NSMenuItem.tag (NSInteger)
  double value = 0.0;    // a slider's NSSlider.doubleValue
  SliderMotion motion = SliderMotion::released;
};

// The application's delegate (NSApplicationDelegate), which is also the target of every menu
// action. The platform calls it on the main thread only.
class ApplicationDelegate {
 public:
  virtual void applicationDidFinishLaunching() = 0;
  virtual void applicationWillTerminate() = 0;

  // Whether the delegate answers the action's selector; menus enable entries by it.
  virtual bool respondsToMenuAction(std::string_view selector) const = 0;
  virtual void performMenuAction(std::string_view selector, const MenuItemSender& sender) = 0;

  // The diagnosis of this run as plain text, for a front end that shows it. Nothing is written.
  virtual std::string diagnosticReport() = 0;

 protected:
  ~ApplicationDelegate() = default;
};

// NSApplication.sharedApplication.
class Application {
 public:
  virtual ~Application() = default;

  // The application does not own its delegate.
  virtual void setDelegate(std::weak_ptr<ApplicationDelegate> delegate) = 0;
  virtual void setActivationPolicy(ActivationPolicy policy) = 0;
  virtual void activateIgnoringOtherApps(bool flag) = 0;

  // Runs the main event loop. applicationDidFinishLaunching comes first. The process normally
  // ends inside; should the loop end, run returns.
  virtual void run() = 0;

  // Calls applicationWillTerminate, then ends the process.
  virtual void terminate() = 0;
  // NSApplication stop:: the loop ends once the current event is handled, and run returns,
  // without terminating.
  virtual void stop() = 0;

  // The process was started to check the display and print a diagnosis (--diagnose), not to run
  // as a menu-bar app.
  virtual bool diagnoseRequested() const = 0;
};

}  // namespace lumora::platform
