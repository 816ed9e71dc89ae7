// The power-source calls the macOS backend makes, for the Objective-C++ type check only (the
// checker has no IOKit). Copied from the macOS 13 SDK's IOKit/ps/IOPowerSources.h.
#ifndef LUMORA_TYPECHECK_IOPOWERSOURCES_H
#define LUMORA_TYPECHECK_IOPOWERSOURCES_H

#include <CoreFoundation/CoreFoundation.h>

CF_EXTERN_C_BEGIN
CF_ASSUME_NONNULL_BEGIN

typedef void (*IOPowerSourceCallbackType)(void *_Nullable context);

CF_EXPORT CFTypeRef _Nullable IOPSCopyPowerSourcesInfo(void);
CF_EXPORT CFArrayRef _Nullable IOPSCopyPowerSourcesList(CFTypeRef blob);
CF_EXPORT CFDictionaryRef _Nullable IOPSGetPowerSourceDescription(CFTypeRef blob, CFTypeRef ps);
CF_EXPORT CFRunLoopSourceRef _Nullable IOPSNotificationCreateRunLoopSource(
    IOPowerSourceCallbackType callback, void *_Nullable context);

CF_ASSUME_NONNULL_END
CF_EXTERN_C_END

#endif
