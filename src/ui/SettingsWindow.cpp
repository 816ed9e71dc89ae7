#include "ui/SettingsWindow.h"

#include <string>

namespace lumora::ui {
namespace {

platform::View label(platform::Rect frame, std::string_view text,
                     std::optional<platform::Font> font,
                     std::optional<platform::NamedColor> color) {
  platform::View view;
  view.kind = platform::View::Kind::label;
  view.frame = frame;
  view.text = std::string(text);
  view.font = font;
  view.textColor = color;
  return view;
}

}  // namespace

platform::View settingsContentView(const platform::Rect& bounds) {
  platform::View content;
  content.kind = platform::View::Kind::plain;
  content.frame = bounds;
  content.wantsLayer = true;

  platform::View rule;
  rule.kind = platform::View::Kind::separator;
  rule.frame = {20, 90, 380, 1};
  content.subviews.push_back(rule);

  content.subviews.push_back(
      label({20, 55, 380, 20}, "About", platform::Font{.bold = true, .size = 13}, std::nullopt));
  content.subviews.push_back(
      label({20, 35, 380, 16}, versionLine, std::nullopt, platform::NamedColor::secondaryLabel));
  content.subviews.push_back(label({20, 15, 380, 16}, creditLine,
                                   platform::Font{.bold = false, .size = 11},
                                   platform::NamedColor::tertiaryLabel));
  return content;
}

}  // namespace lumora::ui
