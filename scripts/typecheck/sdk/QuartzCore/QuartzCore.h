// The part of QuartzCore the macOS backend uses, for the Objective-C++ type check only (the
// checker has no QuartzCore). Copied from the macOS 13 SDK's CALayer.h and CAMetalLayer.h, with
// only the members used.
#ifndef LUMORA_TYPECHECK_QUARTZCORE_H
#define LUMORA_TYPECHECK_QUARTZCORE_H

#import <CoreGraphics/CoreGraphics.h>
#import <Foundation/Foundation.h>
#import <Metal/Metal.h>

NS_ASSUME_NONNULL_BEGIN

// CALayer.h.
@interface CALayer : NSObject
+ (instancetype)layer;
@property(getter=isOpaque) BOOL opaque;
@end

// CAMetalLayer.h.
@protocol CAMetalDrawable <MTLDrawable>
@property(readonly) id<MTLTexture> texture;
@end

@interface CAMetalLayer : CALayer
@property(nullable, retain) id<MTLDevice> device;
@property MTLPixelFormat pixelFormat;
@property BOOL framebufferOnly;
@property CGSize drawableSize;
@property(nullable) CGColorSpaceRef colorspace;
@property BOOL wantsExtendedDynamicRangeContent API_AVAILABLE(macos(10.11));
- (nullable id<CAMetalDrawable>)nextDrawable;
@end

NS_ASSUME_NONNULL_END

#endif
