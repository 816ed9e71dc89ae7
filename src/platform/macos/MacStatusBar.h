#pragma once

#import <AppKit/AppKit.h>

#include <optional>
#include <string>

#include "platform/StatusBar.h"
#include "platform/macos/MacApplication.h"
#include "platform/macos/MacMenuWatcher.h"

namespace lumora::macos {

// Builds native menus from menu values; entries with an action send it to `target`. An entry is
// enabled as its value says or, where the value leaves it open, as AppKit's automatic enabling
// would decide: when `target` answers its action, or when it opens a submenu.
NSMenu* makeMenu(const platform::Menu& menu, LMVDelegateBridge* target);

// The status item's button. The app refreshes it every second, mostly with what it already
// shows, so each of title, image and tint is set only when it differs from the last value set.
class MacStatusButton final : public platform::StatusButton {
 public:
  explicit MacStatusButton(NSStatusItem* item) : item_(item) {}

  void setTitle(std::string_view title) override;
  void setImage(const std::optional<platform::SymbolImage>& image) override;
  void setContentTintColor(std::optional<platform::NamedColor> color) override;

 private:
  // The value last set on the button; none before the first.
  template <typename Value>
  class LastSet {
   public:
    // Whether `value` differs from the value last set, which it then becomes.
    template <typename Argument>
    bool replaceWith(const Argument& value) {
      if (value_ && *value_ == value) return false;
      value_.emplace(value);
      return true;
    }

   private:
    std::optional<Value> value_;
  };

  __weak NSStatusItem* item_;
  LastSet<std::string> title_;
  LastSet<std::optional<platform::SymbolImage>> image_;
  LastSet<std::optional<platform::NamedColor>> tint_;
};

class MacStatusItem final : public platform::StatusItem {
 public:
  MacStatusItem(NSStatusItem* item, LMVDelegateBridge* target);
  ~MacStatusItem() override;

  platform::StatusButton* button() override;
  // Builds the native menu only when the value differs from the one shown; while the menu is
  // open, updates it in place or waits for it to close.
  void setMenu(platform::Menu menu) override;

  NSStatusItem* statusItem() const { return item_; }
  LMVMenuWatcher* menuWatcher() const { return watcher_; }

 private:
  void install(platform::Menu menu);

  // The status bar does not keep its items: this does, for as long as the owner keeps this.
  NSStatusItem* item_;
  __weak LMVDelegateBridge* target_;
  MacStatusButton button_;
  // A menu's delegate is weak: this keeps it.
  LMVMenuWatcher* watcher_;
  // The value the native menu shows, and one that waits for the open menu to close.
  std::optional<platform::Menu> menu_;
  std::optional<platform::Menu> pending_;
};

class MacStatusBar final : public platform::StatusBar {
 public:
  explicit MacStatusBar(MacApplication& application) : application_(application) {}

  std::unique_ptr<platform::StatusItem> statusItemWithLength(double length) override;

 private:
  MacApplication& application_;
};

}  // namespace lumora::macos
