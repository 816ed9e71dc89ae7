// macOS SDK declarations that the Objective-C++ type checker's AppKit headers lack, each copied
// from the macOS 13 SDK with its source. Used only by the type check (`-include`), never by a
// real build.
#import <AppKit/AppKit.h>

NS_ASSUME_NONNULL_BEGIN

// AppKit/NSImage.h: @property (getter=isTemplate) BOOL template;  (macOS 10.5)
// `template` is a C++ keyword, so Objective-C++ code calls the setter by name.
@interface NSImage (LumoraSDKAdditions)
- (void)setTemplate:(BOOL)isTemplate;
@end

NS_ASSUME_NONNULL_END
