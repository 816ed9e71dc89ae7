#include "platform/macos/MacPasteboard.h"

#import <AppKit/AppKit.h>

#include "platform/macos/MacStrings.h"

namespace lumora::macos {

std::optional<std::string> MacPasteboard::copyText(std::string_view text) {
  NSPasteboard *pasteboard = NSPasteboard.generalPasteboard;
  [pasteboard clearContents];
  if ([pasteboard setString:toNSString(text) forType:NSPasteboardTypeString]) return std::nullopt;
  return "the general pasteboard did not take the text";
}

std::optional<std::string> MacPasteboard::text() {
  NSString *text = [NSPasteboard.generalPasteboard stringForType:NSPasteboardTypeString];
  if (text == nil) return std::nullopt;
  return fromNSString(text);
}

}  // namespace lumora::macos
