#include "platform/macos/MacExtendedDynamicRange.h"

#import <AppKit/AppKit.h>
#import <CoreGraphics/CoreGraphics.h>
#import <Metal/Metal.h>
#import <QuartzCore/QuartzCore.h>

#include "platform/macos/CFRef.h"

// Never key or main, so that showing it takes nothing from the app the user is in.
@interface LumoraEDRPanel : NSPanel
@end

@implementation LumoraEDRPanel
- (BOOL)canBecomeKeyWindow {
  return NO;
}
- (BOOL)canBecomeMainWindow {
  return NO;
}
@end

// Draws the layer: a clear to a value above 1.0 is all the content EDR needs.
@interface LumoraEDRDrawer : NSObject
- (instancetype)initWithLayer:(CAMetalLayer *)layer
                       device:(id<MTLDevice>)device
                   clearValue:(double)value;
- (void)draw;
- (void)stop;
@end

@implementation LumoraEDRDrawer {
  CAMetalLayer *_layer;
  id<MTLCommandQueue> _queue;
  double _clearValue;
  NSTimer *_timer;
}

- (instancetype)initWithLayer:(CAMetalLayer *)layer
                       device:(id<MTLDevice>)device
                   clearValue:(double)value {
  if ((self = [super init])) {
    _layer = layer;
    _queue = [device newCommandQueue];
    _clearValue = value;
    __weak LumoraEDRDrawer *weakSelf = self;
    _timer = [NSTimer timerWithTimeInterval:lumora::macos::MacExtendedDynamicRange::redrawInterval
                                    repeats:YES
                                      block:^(NSTimer *) {
                                        [weakSelf draw];
                                      }];
    _timer.tolerance = lumora::macos::MacExtendedDynamicRange::redrawInterval / 2;
    // Also while a menu is open or an alert runs, which would stop a default-mode timer.
    [NSRunLoop.mainRunLoop addTimer:_timer forMode:NSRunLoopCommonModes];
  }
  return self;
}

- (void)draw {
  if (_queue == nil) return;
  id<CAMetalDrawable> drawable = [_layer nextDrawable];
  if (drawable == nil) return;
  MTLRenderPassDescriptor *pass = [MTLRenderPassDescriptor renderPassDescriptor];
  pass.colorAttachments[0].texture = drawable.texture;
  pass.colorAttachments[0].loadAction = MTLLoadActionClear;
  pass.colorAttachments[0].storeAction = MTLStoreActionStore;
  pass.colorAttachments[0].clearColor =
      MTLClearColorMake(_clearValue, _clearValue, _clearValue, 1.0);
  id<MTLCommandBuffer> buffer = [_queue commandBuffer];
  id<MTLRenderCommandEncoder> encoder = [buffer renderCommandEncoderWithDescriptor:pass];
  [encoder endEncoding];
  [buffer presentDrawable:drawable];
  [buffer commit];
}

- (void)stop {
  [_timer invalidate];
  _timer = nil;
}

@end

namespace lumora::macos {
namespace {

NSScreen *screenOf(platform::DisplayID display) {
  for (NSScreen *screen in NSScreen.screens) {
    id number = screen.deviceDescription[@"NSScreenNumber"];
    if (![number isKindOfClass:[NSNumber class]]) continue;
    NSNumber *screenNumber = number;
    if (screenNumber.unsignedIntValue == display) return screen;
  }
  return nil;
}

}  // namespace

MacEDRWindow::~MacEDRWindow() {
  [drawer_ stop];
  [panel_ orderOut:nil];
  [panel_ close];
}

std::unique_ptr<platform::EDRWindow> MacExtendedDynamicRange::showEDRWindow(
    platform::DisplayID display) {
  NSScreen *screen = screenOf(display);
  if (screen == nil) return nullptr;
  // The GPU that drives this display, so that the content is drawn where it is shown.
  id<MTLDevice> device = CGDirectDisplayCopyCurrentMetalDevice(display);
  if (device == nil) device = MTLCreateSystemDefaultDevice();
  if (device == nil) return nullptr;

  const NSRect frame = NSMakeRect(NSMinX(screen.frame), NSMinY(screen.frame), 1, 1);
  LumoraEDRPanel *panel = [[LumoraEDRPanel alloc]
      initWithContentRect:frame
                styleMask:NSWindowStyleMaskBorderless | NSWindowStyleMaskNonactivatingPanel
                  backing:NSBackingStoreBuffered
                    defer:NO
                   screen:screen];
  panel.releasedWhenClosed = NO;
  panel.ignoresMouseEvents = YES;
  panel.hidesOnDeactivate = NO;
  panel.canHide = NO;
  panel.excludedFromWindowsMenu = YES;
  panel.hasShadow = NO;
  panel.opaque = NO;
  panel.backgroundColor = NSColor.clearColor;
  panel.level = NSStatusWindowLevel;
  // On every Space and over full-screen apps, left where it is by Mission Control and never in
  // the window cycle.
  NSWindowCollectionBehavior behavior = NSWindowCollectionBehaviorCanJoinAllSpaces;
  behavior |= NSWindowCollectionBehaviorStationary;
  behavior |= NSWindowCollectionBehaviorFullScreenAuxiliary;
  behavior |= NSWindowCollectionBehaviorIgnoresCycle;
  panel.collectionBehavior = behavior;

  CAMetalLayer *layer = [CAMetalLayer layer];
  layer.device = device;
  layer.wantsExtendedDynamicRangeContent = YES;
  layer.pixelFormat = MTLPixelFormatRGBA16Float;
  const CFRef<CGColorSpaceRef> linear(
      CGColorSpaceCreateWithName(kCGColorSpaceExtendedLinearDisplayP3));
  layer.colorspace = linear.get();
  layer.framebufferOnly = YES;
  layer.opaque = YES;
  layer.drawableSize = CGSizeMake(screen.backingScaleFactor, screen.backingScaleFactor);

  NSView *content = [[NSView alloc] initWithFrame:NSMakeRect(0, 0, 1, 1)];
  // A layer-hosting view: the layer is set before wantsLayer.
  content.layer = layer;
  content.wantsLayer = YES;
  panel.contentView = content;

  const double potential = screen.maximumPotentialExtendedDynamicRangeColorComponentValue;
  LumoraEDRDrawer *drawer =
      [[LumoraEDRDrawer alloc] initWithLayer:layer
                                      device:device
                                  clearValue:potential > 1.0 ? potential : fallbackClearValue];
  [drawer draw];
  [panel orderFrontRegardless];
  return std::make_unique<MacEDRWindow>(panel, drawer);
}

double MacExtendedDynamicRange::currentHeadroom(platform::DisplayID display) {
  NSScreen *screen = screenOf(display);
  if (screen == nil) return 1.0;
  return screen.maximumExtendedDynamicRangeColorComponentValue;
}

}  // namespace lumora::macos
