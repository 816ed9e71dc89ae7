#include "platform/macos/MacDisplays.h"

#import <AppKit/AppKit.h>
#import <CoreGraphics/CoreGraphics.h>

#include <algorithm>
#include <cstdint>
#include <limits>

#include "platform/TableResampling.h"

namespace lumora::macos {

namespace {

// More displays than a Mac can drive at once.
constexpr uint32_t maximumDisplays = 32;

// CGGetDisplayTransferByTable into tables of `capacity` entries: how many it wrote, 0 on an error.
std::size_t readAsIs(CGDirectDisplayID display, std::size_t capacity, float *red, float *green,
                     float *blue) {
  uint32_t sampleCount = 0;
  if (CGGetDisplayTransferByTable(display, static_cast<uint32_t>(capacity), red, green, blue,
                                  &sampleCount) != kCGErrorSuccess) {
    return 0;
  }
  return std::min<std::size_t>(sampleCount, capacity);
}

}  // namespace

MacDisplays::Scratch::Spans MacDisplays::Scratch::first(std::size_t size) {
  for (std::vector<float> *table : {&red, &green, &blue}) {
    if (table->size() < size) table->resize(size);
  }
  return {std::span<float>(red).first(size), std::span<float>(green).first(size),
          std::span<float>(blue).first(size)};
}

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

std::vector<platform::DisplayID> MacDisplays::onlineDisplays() {
  CGDirectDisplayID online[maximumDisplays];
  uint32_t count = 0;
  if (CGGetOnlineDisplayList(maximumDisplays, online, &count) != kCGErrorSuccess) return {};
  return std::vector<platform::DisplayID>(online, online + std::min(count, maximumDisplays));
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
  const std::size_t capacity = CGDisplayGammaTableCapacity(display);
  if (capacity < 2 || capacity == count || count == 0) {
    if (count > std::numeric_limits<uint32_t>::max()) return kCGErrorRangeCheck;
    return CGSetDisplayTransferByTable(display, static_cast<uint32_t>(count), red.data(),
                                       green.data(), blue.data());
  }
  const std::lock_guard lock(scratchMutex_);
  const Scratch::Spans atCapacity = scratch_.first(capacity);
  platform::resampleTable(red.first(count), atCapacity.red);
  platform::resampleTable(green.first(count), atCapacity.green);
  platform::resampleTable(blue.first(count), atCapacity.blue);
  return CGSetDisplayTransferByTable(display, static_cast<uint32_t>(capacity),
                                     atCapacity.red.data(), atCapacity.green.data(),
                                     atCapacity.blue.data());
}

std::size_t MacDisplays::readTransferTable(platform::DisplayID display, std::span<float> red,
                                           std::span<float> green, std::span<float> blue) {
  const std::size_t size = std::min({red.size(), green.size(), blue.size()});
  const std::size_t capacity = CGDisplayGammaTableCapacity(display);
  if (capacity < 2 || capacity == size || size == 0) {
    const std::size_t asked =
        std::min(size, static_cast<std::size_t>(std::numeric_limits<uint32_t>::max()));
    return readAsIs(display, asked, red.data(), green.data(), blue.data());
  }
  const std::lock_guard lock(scratchMutex_);
  const Scratch::Spans atCapacity = scratch_.first(capacity);
  const std::size_t read = readAsIs(display, capacity, atCapacity.red.data(),
                                    atCapacity.green.data(), atCapacity.blue.data());
  // Fewer than two entries are no curve to resample: they are handed on as they are.
  const std::size_t written = read < 2 ? std::min(read, size) : size;
  platform::resampleTable(atCapacity.red.first(read), red.first(written));
  platform::resampleTable(atCapacity.green.first(read), green.first(written));
  platform::resampleTable(atCapacity.blue.first(read), blue.first(written));
  return written;
}

void MacDisplays::restoreColorSyncSettings() { CGDisplayRestoreColorSyncSettings(); }

}  // namespace lumora::macos
