#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/StaticText.h"
#include "platform/SymbolImages.h"

namespace lumora::platform {

// A rectangle in points, origin at the bottom left.
struct Rect {
  double x = 0;
  double y = 0;
  double width = 0;
  double height = 0;

  friend bool operator==(const Rect&, const Rect&) = default;
};

// NSWindowStyleMask bits.
enum WindowStyle : unsigned {
  windowStyleTitled = 1u << 0,
  windowStyleClosable = 1u << 1,
  windowStyleMiniaturizable = 1u << 2,
  windowStyleResizable = 1u << 3,
};

// NSBackingStoreType.
enum class BackingStore { retained = 0, nonretained = 1, buffered = 2 };

// NSFont systemFontOfSize: or boldSystemFontOfSize:.
struct Font {
  bool bold = false;
  double size = 13.0;

  friend bool operator==(const Font&, const Font&) = default;
};

// A view and its subviews as a value: the platform builds native views from it.
struct View {
  enum class Kind {
    plain,      // NSView
    separator,  // NSBox of the separator type
    label,      // NSTextField labelWithString: (static, not editable or selectable, no border)
    button,     // NSButton of the push type, titled `text`: sends `action` to the delegate
  };

  Kind kind = Kind::plain;
  Rect frame;
  bool wantsLayer = false;
  std::string text;                     // labels
  std::optional<Font> font;             // labels; none: the label's default font
  std::optional<NamedColor> textColor;  // labels; none: the default colour
  // Buttons: the action's selector name, sent to the application's delegate as a menu entry's
  // is (with a sender of tag 0) when the button is pressed.
  std::optional<StaticText> action;
  std::vector<View> subviews;  // in order, front-most last

  friend bool operator==(const View&, const View&) = default;
};

// NSWindow. The owner keeps it; closing does not release it.
class Window {
 public:
  virtual ~Window() = default;

  virtual void setTitle(const std::string& title) = 0;
  virtual void center() = 0;
  virtual void setReleasedWhenClosed(bool released) = 0;
  // The bounds of the window's current content view.
  virtual Rect contentViewBounds() const = 0;
  virtual void setContentView(const View& view) = 0;
  virtual void makeKeyAndOrderFront() = 0;
  virtual bool isVisible() const = 0;
};

class Windows {
 public:
  virtual ~Windows() = default;

  // initWithContentRect:styleMask:backing:defer:
  virtual std::shared_ptr<Window> makeWindow(const Rect& contentRect, unsigned styleMask,
                                             BackingStore backing, bool defer) = 0;
};

}  // namespace lumora::platform
