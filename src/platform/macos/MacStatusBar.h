#pragma once

#import <AppKit/AppKit.h>

#include "platform/StatusBar.h"
#include "platform/macos/MacApplication.h"

namespace lumora::macos {

// Builds native menus from menu values; entries with an action send it to `target`.
NSMenu* makeMenu(const platform::Menu& menu, id target);

class MacStatusButton final : public platform::StatusButton {
 public:
  explicit MacStatusButton(NSStatusItem* item) : item_(item) {}

  void setTitle(std::string_view title) override;
  void setImage(const std::optional<platform::SymbolImage>& image) override;
  void setContentTintColor(std::optional<platform::NamedColor> color) override;

 private:
  __weak NSStatusItem* item_;
};

class MacStatusItem final : public platform::StatusItem {
 public:
  MacStatusItem(NSStatusItem* item, LMVDelegateBridge* target);
  ~MacStatusItem() override;

  platform::StatusButton* button() override;
  void setMenu(platform::Menu menu) override;

 private:
  // The status bar does not keep its items: this does, for as long as the owner keeps this.
  NSStatusItem* item_;
  __weak LMVDelegateBridge* target_;
  MacStatusButton button_;
};

class MacStatusBar final : public platform::StatusBar {
 public:
  explicit MacStatusBar(MacApplication& application) : application_(application) {}

  std::unique_ptr<platform::StatusItem> statusItemWithLength(double length) override;

 private:
  MacApplication& application_;
};

}  // namespace lumora::macos
