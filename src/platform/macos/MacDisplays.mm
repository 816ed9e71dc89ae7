#include "platform/macos/MacDisplays.h"

#import <AppKit/AppKit.h>
#import <CoreGraphics/CoreGraphics.h>

#include <algorithm>
#include <cstdint>
#include <limits>

namespace lumora::macos {

platform::DisplayID MacDisplays::mainDisplayID() { return CGMainDisplayID(); }

std::optional<platform::Screen> MacDisplays::mainScreen() {
  NSScreen *screen = NSScreen.mainScreen;
  if (screen == nil) return std::nullopt;
  platform::Screen description;
  id number = screen.deviceDescription[@"NSScreenNumber"];
  if ([number isKindOfClass:[NSNumber class]]) {
    NSNumber *value = number;
    const char type = value.objCType[0];
    if (type == 'd' || type == 'f') {
      description.screenNumber = value.doubleValue;
    } else {
      description.screenNumber = static_cast<std::int64_t>(value.longLongValue);
    }
  }
  return description;
}

void MacDisplays::setTransferTable(platform::DisplayID display, std::span<const float> red,
                                   std::span<const float> green, std::span<const float> blue) {
  const std::size_t count = std::min({red.size(), green.size(), blue.size()});
  if (count > std::numeric_limits<uint32_t>::max()) return;
  CGSetDisplayTransferByTable(display, static_cast<uint32_t>(count), red.data(), green.data(),
                              blue.data());
}

void MacDisplays::restoreColorSyncSettings() { CGDisplayRestoreColorSyncSettings(); }

}  // namespace lumora::macos
