#pragma once

#import <AppKit/AppKit.h>

#include "platform/ExtendedDynamicRange.h"

@class LumoraEDRDrawer;

namespace lumora::macos {

// The window shown; it is taken down when this object goes.
class MacEDRWindow final : public platform::EDRWindow {
 public:
  MacEDRWindow(NSPanel *panel, LumoraEDRDrawer *drawer) : panel_(panel), drawer_(drawer) {}
  MacEDRWindow(const MacEDRWindow &) = delete;
  MacEDRWindow &operator=(const MacEDRWindow &) = delete;
  ~MacEDRWindow() override;

  NSPanel *panel() const { return panel_; }

 private:
  NSPanel *panel_;
  LumoraEDRDrawer *drawer_;
};

// The EDR window: a 1x1-point non-activating panel whose content is a CAMetalLayer that wants
// extended dynamic range, in half floats and extended linear Display P3, cleared to a value
// above 1.0 and drawn again a few times a second by a timer of its own.
class MacExtendedDynamicRange final : public platform::ExtendedDynamicRange {
 public:
  std::unique_ptr<platform::EDRWindow> showEDRWindow(platform::DisplayID display) override;
  double currentHeadroom(platform::DisplayID display) override;

  // How often the layer is drawn again; macOS keeps headroom only while EDR content is live.
  static constexpr double redrawInterval = 0.2;  // seconds
  // What the layer is cleared to where the screen says nothing of its potential headroom.
  static constexpr double fallbackClearValue = 4.0;
};

}  // namespace lumora::macos
