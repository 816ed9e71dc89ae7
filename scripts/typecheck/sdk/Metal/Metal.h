// The part of Metal the macOS backend uses, for the Objective-C++ type check only (the checker
// has no Metal). Copied from the macOS 13 SDK's Metal headers (MTLDevice.h, MTLCommandQueue.h,
// MTLCommandBuffer.h, MTLRenderCommandEncoder.h, MTLRenderPass.h, MTLPixelFormat.h,
// MTLDrawable.h, MTLTexture.h), with only the members used.
#ifndef LUMORA_TYPECHECK_METAL_H
#define LUMORA_TYPECHECK_METAL_H

#import <CoreGraphics/CoreGraphics.h>
#import <Foundation/Foundation.h>

NS_ASSUME_NONNULL_BEGIN

// MTLPixelFormat.h: MTLPixelFormatRGBA16Float = 115.
typedef NS_ENUM(NSUInteger, MTLPixelFormat) {
  MTLPixelFormatInvalid = 0,
  MTLPixelFormatBGRA8Unorm = 80,
  MTLPixelFormatRGBA16Float = 115,
};

// MTLRenderPass.h.
typedef NS_ENUM(NSUInteger, MTLLoadAction) {
  MTLLoadActionDontCare = 0,
  MTLLoadActionLoad = 1,
  MTLLoadActionClear = 2,
};
typedef NS_ENUM(NSUInteger, MTLStoreAction) {
  MTLStoreActionDontCare = 0,
  MTLStoreActionStore = 1,
};
typedef struct {
  double red;
  double green;
  double blue;
  double alpha;
} MTLClearColor;
static inline MTLClearColor MTLClearColorMake(double red, double green, double blue, double alpha) {
  MTLClearColor color = {red, green, blue, alpha};
  return color;
}

@protocol MTLTexture <NSObject>
@end

// MTLDrawable.h.
@protocol MTLDrawable <NSObject>
- (void)present;
@end

@interface MTLRenderPassColorAttachmentDescriptor : NSObject <NSCopying>
@property(nullable, nonatomic, strong) id<MTLTexture> texture;
@property(nonatomic) MTLLoadAction loadAction;
@property(nonatomic) MTLStoreAction storeAction;
@property(nonatomic) MTLClearColor clearColor;
@end

@interface MTLRenderPassColorAttachmentDescriptorArray : NSObject
- (MTLRenderPassColorAttachmentDescriptor *)objectAtIndexedSubscript:(NSUInteger)attachmentIndex;
@end

@interface MTLRenderPassDescriptor : NSObject <NSCopying>
+ (MTLRenderPassDescriptor *)renderPassDescriptor;
@property(readonly) MTLRenderPassColorAttachmentDescriptorArray *colorAttachments;
@end

@protocol MTLCommandEncoder <NSObject>
- (void)endEncoding;
@end

@protocol MTLRenderCommandEncoder <MTLCommandEncoder>
@end

@protocol MTLCommandBuffer <NSObject>
- (nullable id<MTLRenderCommandEncoder>)renderCommandEncoderWithDescriptor:
    (MTLRenderPassDescriptor *)renderPassDescriptor;
- (void)presentDrawable:(id<MTLDrawable>)drawable;
- (void)commit;
@end

@protocol MTLCommandQueue <NSObject>
- (nullable id<MTLCommandBuffer>)commandBuffer;
@end

@protocol MTLDevice <NSObject>
- (nullable id<MTLCommandQueue>)newCommandQueue;
@end

// MTLDevice.h.
extern id<MTLDevice> _Nullable MTLCreateSystemDefaultDevice(void) NS_RETURNS_RETAINED;
extern id<MTLDevice> _Nullable CGDirectDisplayCopyCurrentMetalDevice(CGDirectDisplayID display)
    NS_RETURNS_RETAINED;

NS_ASSUME_NONNULL_END

#endif
