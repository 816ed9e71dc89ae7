// macOS SDK declarations that the Objective-C++ type checker's AppKit headers lack, each copied
// from the macOS 13 SDK with its source. Used only by the type check (`-include`), never by a
// real build.
#import <AppKit/AppKit.h>

// Availability.h (macOS 14 SDK): #define __MAC_14_0 140000
// The check stands for an SDK that knows macOS 14, so that code for 14 and later is checked too.
#ifndef __MAC_14_0
#define __MAC_14_0 140000
#endif

NS_ASSUME_NONNULL_BEGIN

// AppKit/NSApplication.h: - (void)activate API_AVAILABLE(macos(14.0));
@interface NSApplication (LumoraSDKAdditions)
- (void)activate API_AVAILABLE(macos(14.0));
@end

// AppKit/NSAlert.h: - (void)layout;  (macOS 10.5): lays the alert out now, not just before display.
@interface NSAlert (LumoraSDKAdditions)
- (void)layout;
@end

// AppKit/NSImage.h: @property (getter=isTemplate) BOOL template;  (macOS 10.5)
// `template` is a C++ keyword, so Objective-C++ code calls the setter by name.
@interface NSImage (LumoraSDKAdditions)
- (void)setTemplate:(BOOL)isTemplate;
- (BOOL)isTemplate;
// AppKit/NSImage.h: @property (nullable, copy) NSString *accessibilityDescription;  (macOS 10.10)
@property(nullable, copy) NSString *accessibilityDescription;
@end

// AppKit/NSView.h: @property (nullable, strong) CALayer *layer;  (macOS 10.5)
@class CALayer;
@interface NSView (LumoraSDKAdditions)
@property(nullable, strong) CALayer *layer;
@end

// AppKit/NSScreen.h: @property (readonly) CGFloat maximumExtendedDynamicRangeColorComponentValue
// API_AVAILABLE(macos(10.11)); @property (readonly) CGFloat
// maximumPotentialExtendedDynamicRangeColorComponentValue API_AVAILABLE(macos(10.15));
@interface NSScreen (LumoraSDKAdditions)
@property(readonly) CGFloat maximumExtendedDynamicRangeColorComponentValue;
@property(readonly) CGFloat maximumPotentialExtendedDynamicRangeColorComponentValue;
@end

// Foundation/NSProcessInfo.h: typedef struct { NSInteger majorVersion; NSInteger minorVersion;
// NSInteger patchVersion; } NSOperatingSystemVersion; @property (readonly)
// NSOperatingSystemVersion operatingSystemVersion API_AVAILABLE(macos(10.10));
typedef struct {
  NSInteger majorVersion;
  NSInteger minorVersion;
  NSInteger patchVersion;
} NSOperatingSystemVersion;
@interface NSProcessInfo (LumoraSDKAdditions)
@property(readonly) NSOperatingSystemVersion operatingSystemVersion;
@end

// Foundation/NSProcessInfo.h: typedef NS_ENUM(NSInteger, NSProcessInfoThermalState) { Nominal,
// Fair, Serious, Critical }; @property (readonly) NSProcessInfoThermalState thermalState
// API_AVAILABLE(macos(10.10.3)); FOUNDATION_EXTERN NSNotificationName const
// NSProcessInfoThermalStateDidChangeNotification API_AVAILABLE(macos(10.10.3));
typedef NS_ENUM(NSInteger, NSProcessInfoThermalState) {
  NSProcessInfoThermalStateNominal,
  NSProcessInfoThermalStateFair,
  NSProcessInfoThermalStateSerious,
  NSProcessInfoThermalStateCritical
};
@interface NSProcessInfo (LumoraSDKThermalAdditions)
@property(readonly) NSProcessInfoThermalState thermalState;
@end
FOUNDATION_EXPORT NSNotificationName const NSProcessInfoThermalStateDidChangeNotification;

// AppKit/NSWorkspace.h: APPKIT_EXTERN NSNotificationName NSWorkspaceScreensDidWakeNotification
// API_AVAILABLE(macos(10.6));
APPKIT_EXPORT NSNotificationName NSWorkspaceScreensDidWakeNotification;
// AppKit/NSWorkspace.h: APPKIT_EXTERN NSNotificationName NSWorkspaceScreensDidSleepNotification
// API_AVAILABLE(macos(10.6)); APPKIT_EXTERN NSNotificationName
// NSWorkspaceActiveSpaceDidChangeNotification API_AVAILABLE(macos(10.6));
APPKIT_EXPORT NSNotificationName NSWorkspaceScreensDidSleepNotification;
APPKIT_EXPORT NSNotificationName NSWorkspaceActiveSpaceDidChangeNotification;

// AppKit/NSWindow.h: typedef NS_ENUM(NSUInteger, NSWindowSharingType) { NSWindowSharingNone = 0,
// NSWindowSharingReadOnly = 1, NSWindowSharingReadWrite = 2 }; @property NSWindowSharingType
// sharingType API_AVAILABLE(macos(10.5));
typedef NS_ENUM(NSUInteger, NSWindowSharingType) {
  NSWindowSharingNone = 0,
  NSWindowSharingReadOnly = 1,
  NSWindowSharingReadWrite = 2
};
// AppKit/NSWindow.h: typedef NS_OPTIONS(NSUInteger, NSWindowOcclusionState) {
// NSWindowOcclusionStateVisible = 1UL << 1 } API_AVAILABLE(macos(10.9)); @property (readonly)
// NSWindowOcclusionState occlusionState API_AVAILABLE(macos(10.9)); APPKIT_EXTERN
// NSNotificationName const NSWindowDidChangeOcclusionStateNotification API_AVAILABLE(macos(10.9));
typedef NS_OPTIONS(NSUInteger, NSWindowOcclusionState) {
  NSWindowOcclusionStateVisible = 1UL << 1
};
@interface NSWindow (LumoraSDKSharingAdditions)
@property NSWindowSharingType sharingType;
@property(readonly) NSWindowOcclusionState occlusionState;
@end
APPKIT_EXPORT NSNotificationName const NSWindowDidChangeOcclusionStateNotification;

// AppKit/NSEvent.h: typedef NS_ENUM(NSUInteger, NSEventType) { NSEventTypeLeftMouseDown = 1,
// NSEventTypeLeftMouseUp = 2, ... NSEventTypeLeftMouseDragged = 6, ...
// NSEventTypeApplicationDefined = 15, ... };  (names: macOS 10.12)
enum : NSEventType {
  NSEventTypeLeftMouseDown = 1,
  NSEventTypeLeftMouseUp = 2,
  NSEventTypeLeftMouseDragged = 6,
  NSEventTypeApplicationDefined = 15,
};

// AppKit/NSMenuItem.h: @property (nullable, strong) NSView *view;  (macOS 10.5)
@interface NSMenuItem (LumoraSDKSliderAdditions)
@property(nullable, strong) NSView *view;
@end

// AppKit/NSSliderCell.h: - (void)drawTickMarks API_AVAILABLE(macos(10.9));
@interface NSSliderCell (LumoraSDKAdditions)
- (void)drawTickMarks;
@end

// AppKit/NSAccessibilityProtocols.h, protocol NSAccessibility, which NSView adopts:
// @property (nullable, copy) NSString *accessibilityLabel API_AVAILABLE(macos(10.10));
@interface NSView (LumoraSDKAccessibilityAdditions)
@property(nullable, copy) NSString *accessibilityLabel;
@end

// AppKit/NSPasteboard.h: - (NSInteger)clearContents API_AVAILABLE(macos(10.6));
// APPKIT_EXTERN NSPasteboardType const NSPasteboardTypeString API_AVAILABLE(macos(10.6));
@interface NSPasteboard (LumoraSDKAdditions)
- (NSInteger)clearContents;
@end
APPKIT_EXPORT NSString *const NSPasteboardTypeString;

// AppKit/NSPasteboard.h: typedef NSString * NSPasteboardType NS_TYPED_EXTENSIBLE_ENUM;
// @property (nullable, readonly, copy) NSArray<NSPasteboardItem *> *pasteboardItems
// API_AVAILABLE(macos(10.6)); - (BOOL)writeObjects:(NSArray<id<NSPasteboardWriting>> *)objects
// API_AVAILABLE(macos(10.6));
typedef NSString *NSPasteboardType;
@interface NSPasteboard (LumoraSDKItemAdditions)
@property(nullable, readonly, copy) NSArray<NSPasteboardItem *> *pasteboardItems;
- (BOOL)writeObjects:(NSArray<id<NSPasteboardWriting>> *)objects;
@end

// AppKit/NSButton.h: + (instancetype)buttonWithTitle:(NSString *)title target:(nullable id)target
// action:(nullable SEL)action API_AVAILABLE(macos(10.12));
@interface NSButton (LumoraSDKAdditions)
+ (instancetype)buttonWithTitle:(NSString *)title
                         target:(nullable id)target
                         action:(nullable SEL)action;
@end

NS_ASSUME_NONNULL_END

CF_EXTERN_C_BEGIN
CF_IMPLICIT_BRIDGING_ENABLED
CF_ASSUME_NONNULL_BEGIN

// CoreFoundation/CFDictionary.h (macOS 13 SDK).
typedef const void *_Nullable (*CFDictionaryRetainCallBack)(CFAllocatorRef _Nullable allocator,
                                                            const void *_Nullable value);
typedef void (*CFDictionaryReleaseCallBack)(CFAllocatorRef _Nullable allocator,
                                            const void *_Nullable value);
typedef CFStringRef _Nullable (*CFDictionaryCopyDescriptionCallBack)(const void *_Nullable value);
typedef Boolean (*CFDictionaryEqualCallBack)(const void *_Nullable value1,
                                             const void *_Nullable value2);
typedef CFHashCode (*CFDictionaryHashCallBack)(const void *_Nullable value);
typedef struct {
  CFIndex version;
  CFDictionaryRetainCallBack _Nullable retain;
  CFDictionaryReleaseCallBack _Nullable release;
  CFDictionaryCopyDescriptionCallBack _Nullable copyDescription;
  CFDictionaryEqualCallBack _Nullable equal;
  CFDictionaryHashCallBack _Nullable hash;
} CFDictionaryKeyCallBacks;
typedef struct {
  CFIndex version;
  CFDictionaryRetainCallBack _Nullable retain;
  CFDictionaryReleaseCallBack _Nullable release;
  CFDictionaryCopyDescriptionCallBack _Nullable copyDescription;
  CFDictionaryEqualCallBack _Nullable equal;
} CFDictionaryValueCallBacks;
CF_EXPORT const CFDictionaryKeyCallBacks kCFTypeDictionaryKeyCallBacks;
CF_EXPORT const CFDictionaryValueCallBacks kCFTypeDictionaryValueCallBacks;
CF_EXPORT CFMutableDictionaryRef
CFDictionaryCreateMutable(CFAllocatorRef _Nullable allocator, CFIndex capacity,
                          const CFDictionaryKeyCallBacks *_Nullable keyCallBacks,
                          const CFDictionaryValueCallBacks *_Nullable valueCallBacks);

// CoreFoundation/CFArray.h, CFRunLoop.h, CFBase.h (macOS 13 SDK).
typedef const struct CF_BRIDGED_TYPE(NSArray) __CFArray *CFArrayRef;
CF_EXPORT CFIndex CFArrayGetCount(CFArrayRef theArray);
CF_EXPORT const void *_Nullable CFArrayGetValueAtIndex(CFArrayRef theArray, CFIndex idx);
typedef struct CF_BRIDGED_MUTABLE_TYPE(id) __CFRunLoop *CFRunLoopRef;
typedef struct CF_BRIDGED_MUTABLE_TYPE(id) __CFRunLoopSource *CFRunLoopSourceRef;
typedef CFStringRef CFRunLoopMode;
CF_EXPORT CFRunLoopRef CFRunLoopGetMain(void);
CF_EXPORT const CFRunLoopMode kCFRunLoopCommonModes;
CF_EXPORT void CFRunLoopAddSource(CFRunLoopRef rl, CFRunLoopSourceRef source, CFRunLoopMode mode);
CF_EXPORT void CFRunLoopSourceInvalidate(CFRunLoopSourceRef source);
CF_EXPORT Boolean CFEqual(CFTypeRef cf1, CFTypeRef cf2);

// CoreFoundation/CFNumber.h (macOS 13 SDK).
CF_EXPORT CFNumberType CFNumberGetType(CFNumberRef number);

// CoreGraphics/CGDisplayConfiguration.h (macOS 13 SDK).
typedef CF_OPTIONS(uint32_t, CGDisplayChangeSummaryFlags) {
  kCGDisplayBeginConfigurationFlag = (1 << 0),
  kCGDisplayMovedFlag = (1 << 1),
  kCGDisplaySetMainFlag = (1 << 2),
  kCGDisplaySetModeFlag = (1 << 3),
  kCGDisplayAddFlag = (1 << 4),
  kCGDisplayRemoveFlag = (1 << 5),
  kCGDisplayEnabledFlag = (1 << 8),
  kCGDisplayDisabledFlag = (1 << 9),
  kCGDisplayMirrorFlag = (1 << 10),
  kCGDisplayUnMirrorFlag = (1 << 11),
  kCGDisplayDesktopShapeChangedFlag = (1 << 12)
};
typedef void (*CGDisplayReconfigurationCallBack)(CGDirectDisplayID display,
                                                 CGDisplayChangeSummaryFlags flags,
                                                 void *_Nullable userInfo);
CG_EXTERN CGError CGDisplayRegisterReconfigurationCallback(
    CGDisplayReconfigurationCallBack _Nullable callback, void *_Nullable userInfo);
CG_EXTERN CGError CGDisplayRemoveReconfigurationCallback(
    CGDisplayReconfigurationCallBack _Nullable callback, void *_Nullable userInfo);

// mach/arm/boolean.h (macOS 13 SDK, arm64): typedef int boolean_t;
typedef int boolean_t;

// CoreGraphics/CGDirectDisplay.h (macOS 13 SDK).
CG_EXTERN CGError CGGetOnlineDisplayList(uint32_t maxDisplays,
                                         CGDirectDisplayID *_Nullable onlineDisplays,
                                         uint32_t *_Nullable displayCount);
CG_EXTERN boolean_t CGDisplayIsBuiltin(CGDirectDisplayID display);

// CoreGraphics/CGColorSpace.h (macOS 13 SDK).
typedef struct CF_BRIDGED_TYPE(id) CGColorSpace *CGColorSpaceRef;
CG_EXTERN const CFStringRef kCGColorSpaceExtendedLinearDisplayP3;
CG_EXTERN CGColorSpaceRef _Nullable CGColorSpaceCreateWithName(CFStringRef _Nullable name);

CF_ASSUME_NONNULL_END
CF_IMPLICIT_BRIDGING_DISABLED
CF_EXTERN_C_END
