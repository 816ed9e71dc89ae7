#include "platform/macos/MacExtendedDynamicRange.h"

#import <AppKit/AppKit.h>
#import <CoreGraphics/CoreGraphics.h>
#import <Metal/Metal.h>
#import <QuartzCore/QuartzCore.h>

#include "platform/macos/CFRef.h"
#include "platform/macos/EDRWindowPlacement.h"

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

@implementation LumoraEDRDrawer {
  __weak NSPanel *_panel;
  CAMetalLayer *_layer;
  id<MTLCommandQueue> _queue;
  BOOL _screensAsleep;
  NSMutableArray<id<NSObject>> *_windowTokens;
  NSMutableArray<id<NSObject>> *_workspaceTokens;
}

- (instancetype)initWithPanel:(NSPanel *)panel
                        layer:(CAMetalLayer *)layer
                       device:(id<MTLDevice>)device {
  if ((self = [super init])) {
    _panel = panel;
    _layer = layer;
    _queue = [device newCommandQueue];
    _windowTokens = [NSMutableArray array];
    _workspaceTokens = [NSMutableArray array];
    __weak LumoraEDRDrawer *weakSelf = self;
    NSOperationQueue *main = NSOperationQueue.mainQueue;
    [_windowTokens addObject:[NSNotificationCenter.defaultCenter
                                 addObserverForName:NSWindowDidChangeOcclusionStateNotification
                                             object:panel
                                              queue:main
                                         usingBlock:^(NSNotification *) {
                                           [weakSelf drawPendingFrame];
                                         }]];
    NSNotificationCenter *workspace = NSWorkspace.sharedWorkspace.notificationCenter;
    [_workspaceTokens addObject:[workspace addObserverForName:NSWorkspaceScreensDidSleepNotification
                                                       object:nil
                                                        queue:main
                                                   usingBlock:^(NSNotification *) {
                                                     [weakSelf setScreensAsleep:YES];
                                                   }]];
    [_workspaceTokens addObject:[workspace addObserverForName:NSWorkspaceScreensDidWakeNotification
                                                       object:nil
                                                        queue:main
                                                   usingBlock:^(NSNotification *) {
                                                     [weakSelf setScreensAsleep:NO];
                                                   }]];
  }
  return self;
}

- (void)setScreensAsleep:(BOOL)asleep {
  _screensAsleep = asleep;
  [self drawPendingFrame];
}

- (void)drawWhenPossible {
  _framePending = YES;
  [self drawPendingFrame];
}

- (void)drawPendingFrame {
  if (!_framePending) return;
  NSPanel *panel = _panel;
  const bool visible = panel != nil && (panel.occlusionState & NSWindowOcclusionStateVisible) != 0;
  if (!lumora::macos::edrWindowMayDraw(visible, _screensAsleep)) return;
  _framePending = NO;
  [self drawFrame];
}

- (void)drawFrame {
  if (_queue == nil) return;
  id<CAMetalDrawable> drawable = [_layer nextDrawable];
  if (drawable == nil) return;
  const double value = lumora::macos::MacExtendedDynamicRange::clearValue;
  MTLRenderPassDescriptor *pass = [MTLRenderPassDescriptor renderPassDescriptor];
  pass.colorAttachments[0].texture = drawable.texture;
  pass.colorAttachments[0].loadAction = MTLLoadActionClear;
  pass.colorAttachments[0].storeAction = MTLStoreActionStore;
  pass.colorAttachments[0].clearColor = MTLClearColorMake(value, value, value, 1.0);
  id<MTLCommandBuffer> buffer = [_queue commandBuffer];
  id<MTLRenderCommandEncoder> encoder = [buffer renderCommandEncoderWithDescriptor:pass];
  [encoder endEncoding];
  [buffer presentDrawable:drawable];
  [buffer commit];
  ++_framesDrawn;
}

- (void)stop {
  _framePending = NO;
  for (id<NSObject> token in _windowTokens)
    [NSNotificationCenter.defaultCenter removeObserver:token];
  NSNotificationCenter *workspace = NSWorkspace.sharedWorkspace.notificationCenter;
  for (id<NSObject> token in _workspaceTokens) [workspace removeObserver:token];
  [_windowTokens removeAllObjects];
  [_workspaceTokens removeAllObjects];
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

void MacEDRWindow::redraw() {
  // Back in front, in case a full-screen app or a Space change left it behind.
  [panel_ orderFrontRegardless];
  [drawer_ drawWhenPossible];
}

std::unique_ptr<platform::EDRWindow> MacExtendedDynamicRange::showEDRWindow(
    platform::DisplayID display) {
  NSScreen *screen = screenOf(display);
  if (screen == nil) return nullptr;
  // The GPU that drives this display, so that the content is drawn where it is shown.
  id<MTLDevice> device = CGDirectDisplayCopyCurrentMetalDevice(display);
  if (device == nil) device = MTLCreateSystemDefaultDevice();
  if (device == nil) return nullptr;

  const NSRect screenFrame = screen.frame;
  const platform::Rect content = edrWindowContentRect(platform::Rect{
      .x = NSMinX(screenFrame),
      .y = NSMinY(screenFrame),
      .width = NSWidth(screenFrame),
      .height = NSHeight(screenFrame),
  });
  LumoraEDRPanel *panel = [[LumoraEDRPanel alloc]
      initWithContentRect:NSMakeRect(content.x, content.y, content.width, content.height)
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
  // Never in a screenshot, a recording or a window picker.
  panel.sharingType = NSWindowSharingNone;
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

  NSView *contentView = [[NSView alloc] initWithFrame:NSMakeRect(0, 0, 1, 1)];
  // A layer-hosting view: the layer is set before wantsLayer.
  contentView.layer = layer;
  contentView.wantsLayer = YES;
  panel.contentView = contentView;

  LumoraEDRDrawer *drawer = [[LumoraEDRDrawer alloc] initWithPanel:panel layer:layer device:device];
  [panel orderFrontRegardless];
  // Drawn once it is on screen; the occlusion state follows the ordering.
  [drawer drawWhenPossible];
  return std::make_unique<MacEDRWindow>(panel, drawer);
}

double MacExtendedDynamicRange::potentialHeadroom(platform::DisplayID display) {
  NSScreen *screen = screenOf(display);
  if (screen == nil) return 1.0;
  return screen.maximumPotentialExtendedDynamicRangeColorComponentValue;
}

double MacExtendedDynamicRange::currentHeadroom(platform::DisplayID display) {
  NSScreen *screen = screenOf(display);
  if (screen == nil) return 1.0;
  return screen.maximumExtendedDynamicRangeColorComponentValue;
}

}  // namespace lumora::macos
