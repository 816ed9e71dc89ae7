#include "ui/SettingsWindow.h"

#include <string>

#include "ui/MenuActionList.h"

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
  rule.frame = {20, 130, 380, 1};
  content.subviews.push_back(rule);

  content.subviews.push_back(
      label({20, 95, 380, 20}, "About", platform::Font{.bold = true, .size = 13}, std::nullopt));
  content.subviews.push_back(
      label({20, 75, 380, 16}, versionLine, std::nullopt, platform::NamedColor::secondaryLabel));
  content.subviews.push_back(label({20, 55, 380, 16}, creditLine,
                                   platform::Font{.bold = false, .size = 11},
                                   platform::NamedColor::tertiaryLabel));

  // A push button's frame holds its bezel and a margin of about 6 points on each side: the bezel
  // lines up with the labels' left edge.
  platform::View copy;
  copy.kind = platform::View::Kind::button;
  copy.frame = {14, 13, 150, 32};
  copy.text = std::string(copyDiagnosticsTitle);
  copy.action = selectors::copyDiagnostics;
  content.subviews.push_back(copy);
  return content;
}

}  // namespace lumora::ui
