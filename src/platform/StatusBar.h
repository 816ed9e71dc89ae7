#pragma once

#include <memory>
#include <optional>
#include <string_view>

#include "platform/Menu.h"
#include "platform/SymbolImages.h"

namespace lumora::platform {

// NSVariableStatusItemLength: the item sizes itself to its image or title.
inline constexpr double variableStatusItemLength = -1.0;

// The button that draws a status item (NSStatusBarButton).
class StatusButton {
 public:
  virtual ~StatusButton() = default;

  virtual void setTitle(std::string_view title) = 0;
  // none removes the image.
  virtual void setImage(const std::optional<SymbolImage>& image) = 0;
  // none clears the tint. The tint colours the title; symbol images keep their own colours.
  virtual void setContentTintColor(std::optional<NamedColor> color) = 0;
};

// An item in the system menu bar. Clicking it opens its menu.
class StatusItem {
 public:
  virtual ~StatusItem() = default;

  // The item's button; may be absent.
  virtual StatusButton* button() = 0;
  // Replaces the item's menu.
  virtual void setMenu(Menu menu) = 0;
};

// NSStatusBar.systemStatusBar. The item stays in the menu bar while its owner keeps it.
class StatusBar {
 public:
  virtual ~StatusBar() = default;

  virtual std::unique_ptr<StatusItem> statusItemWithLength(double length) = 0;
};

}  // namespace lumora::platform
