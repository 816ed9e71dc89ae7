#include "platform/macos/MacDisplays.h"

#import <AppKit/AppKit.h>
#import <CoreGraphics/CoreGraphics.h>

#include <algorithm>
#include <cstdint>
#include <limits>

namespace lumora::macos {

namespace {

// More displays than a Mac can drive at once.
constexpr uint32_t maximumDisplays = 32;

}  // namespace

platform::DisplayID MacDisplays::mainDisplayID() { return CGMainDisplayID(); }

std::optional<platform::DisplayID> MacDisplays::builtInDisplayID() {
  CGDirectDisplayID online[maximumDisplays];
  uint32_t count = 0;
  if (CGGetOnlineDisplayList(maximumDisplays, online, &count) != kCGErrorSuccess) {
    return std::nullopt;
  }
  for (uint32_t i = 0; i < count && i < maximumDisplays; ++i) {
    if (CGDisplayIsBuiltin(online[i])) return online[i];
  }
  return std::nullopt;
}

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

std::int32_t MacDisplays::setTransferTable(platform::DisplayID display, std::span<const float> red,
                                           std::span<const float> green,
                                           std::span<const float> blue) {
  const std::size_t count = std::min({red.size(), green.size(), blue.size()});
  if (count > std::numeric_limits<uint32_t>::max()) return kCGErrorRangeCheck;
  return CGSetDisplayTransferByTable(display, static_cast<uint32_t>(count), red.data(),
                                     green.data(), blue.data());
}

std::size_t MacDisplays::readTransferTable(platform::DisplayID display, std::span<float> red,
                                           std::span<float> green, std::span<float> blue) {
  const std::size_t capacity =
      std::min({red.size(), green.size(), blue.size(),
                static_cast<std::size_t>(std::numeric_limits<uint32_t>::max())});
  uint32_t sampleCount = 0;
  if (CGGetDisplayTransferByTable(display, static_cast<uint32_t>(capacity), red.data(),
                                  green.data(), blue.data(), &sampleCount) != kCGErrorSuccess) {
    return 0;
  }
  return std::min<std::size_t>(sampleCount, capacity);
}

void MacDisplays::restoreColorSyncSettings() { CGDisplayRestoreColorSyncSettings(); }

}  // namespace lumora::macos
