#pragma once

#import <Foundation/Foundation.h>

#include <string>
#include <string_view>

#include "platform/macos/CFRef.h"

namespace lumora::macos {

// Never nil: text that is not valid UTF-8 becomes the empty string, since AppKit's string
// parameters are nonnull.
inline NSString *toNSString(std::string_view text) {
  NSString *string = [[NSString alloc] initWithBytes:text.data()
                                              length:text.size()
                                            encoding:NSUTF8StringEncoding];
  return string != nil ? string : @"";
}

inline std::string fromNSString(NSString *text) {
  const char *utf8 = text.UTF8String;
  return utf8 != nullptr ? std::string(utf8) : std::string();
}

inline CFRef<CFStringRef> makeCFString(std::string_view text) {
  const std::string terminated(text);
  return CFRef<CFStringRef>(
      CFStringCreateWithCString(kCFAllocatorDefault, terminated.c_str(), kCFStringEncodingUTF8));
}

}  // namespace lumora::macos
