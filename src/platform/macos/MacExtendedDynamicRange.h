#pragma once

#import <AppKit/AppKit.h>
#import <Metal/Metal.h>
#import <QuartzCore/QuartzCore.h>

#include "platform/ExtendedDynamicRange.h"

// Draws the layer when asked: a clear to a value above 1.0 is all the content EDR needs. A frame
// asked for while the window cannot be seen is drawn once it can.
@interface LumoraEDRDrawer : NSObject
- (instancetype)initWithPanel:(NSPanel *)panel
                        layer:(CAMetalLayer *)layer
                       device:(id<MTLDevice>)device;
- (void)drawWhenPossible;
- (void)stop;
// Frames drawn, for the tests.
@property(readonly) NSUInteger framesDrawn;
@property(readonly) BOOL framePending;
@end

namespace lumora::macos {

// The window shown; it is taken down when this object goes.
class MacEDRWindow final : public platform::EDRWindow {
 public:
  MacEDRWindow(NSPanel *panel, LumoraEDRDrawer *drawer) : panel_(panel), drawer_(drawer) {}
  MacEDRWindow(const MacEDRWindow &) = delete;
  MacEDRWindow &operator=(const MacEDRWindow &) = delete;
  ~MacEDRWindow() override;

  void redraw() override;

  NSPanel *panel() const { return panel_; }
  LumoraEDRDrawer *drawer() const { return drawer_; }

 private:
  NSPanel *panel_;
  LumoraEDRDrawer *drawer_;
};

// The EDR window: a 1x1-point non-activating panel in the top-left corner of the display's
// screen, kept out of screen capture, whose content is a CAMetalLayer that wants extended dynamic
// range, in half floats and extended linear Display P3, cleared to a value just above 1.0. It is
// drawn once when shown and once for each redraw, never by a timer.
class MacExtendedDynamicRange final : public platform::ExtendedDynamicRange {
 public:
  std::unique_ptr<platform::EDRWindow> showEDRWindow(platform::DisplayID display) override;
  double currentHeadroom(platform::DisplayID display) override;
  double potentialHeadroom(platform::DisplayID display) override;

  // What the layer is cleared to: the least EDR content, so that the one pixel is as dim as it
  // can be while macOS still gives the display headroom for it. A Mac must confirm that this
  // value brings the headroom on every release the app supports (1/64 above SDR white is exact in
  // half floats).
  static constexpr double clearValue = 1.0 + 1.0 / 64.0;
};

}  // namespace lumora::macos
