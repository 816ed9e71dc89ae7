#include "platform/macos/MacPower.h"

#import <Foundation/Foundation.h>
#import <IOKit/ps/IOPSKeys.h>
#import <IOKit/ps/IOPowerSources.h>

#include <algorithm>
#include <cmath>
#include <optional>

#include "platform/macos/CFRef.h"

namespace lumora::macos {
namespace {

platform::ThermalState thermalState() {
  switch (NSProcessInfo.processInfo.thermalState) {
    case NSProcessInfoThermalStateNominal:
      return platform::ThermalState::nominal;
    case NSProcessInfoThermalStateFair:
      return platform::ThermalState::fair;
    case NSProcessInfoThermalStateSerious:
      return platform::ThermalState::serious;
    case NSProcessInfoThermalStateCritical:
      return platform::ThermalState::critical;
  }
  return platform::ThermalState::nominal;
}

std::optional<double> numberIn(CFDictionaryRef description, CFStringRef key) {
  const void *value = CFDictionaryGetValue(description, key);
  if (value == nullptr || CFGetTypeID(value) != CFNumberGetTypeID()) return std::nullopt;
  double number = 0;
  if (!CFNumberGetValue(static_cast<CFNumberRef>(value), kCFNumberDoubleType, &number)) {
    return std::nullopt;
  }
  return number;
}

bool stringIs(CFDictionaryRef description, CFStringRef key, CFStringRef expected) {
  const void *value = CFDictionaryGetValue(description, key);
  return value != nullptr && CFEqual(value, expected);
}

// The first internal battery that is there; the Mac has no battery without one.
void readBattery(platform::PowerState &state) {
  const CFRef<CFTypeRef> info(IOPSCopyPowerSourcesInfo());
  if (!info) return;
  const CFRef<CFArrayRef> sources(IOPSCopyPowerSourcesList(info.get()));
  if (!sources) return;
  const CFIndex count = CFArrayGetCount(sources.get());
  for (CFIndex i = 0; i < count; ++i) {
    CFDictionaryRef description =
        IOPSGetPowerSourceDescription(info.get(), CFArrayGetValueAtIndex(sources.get(), i));
    if (description == nullptr) continue;
    if (!stringIs(description, CFSTR(kIOPSTypeKey), CFSTR(kIOPSInternalBatteryType))) continue;
    const void *present = CFDictionaryGetValue(description, CFSTR(kIOPSIsPresentKey));
    if (present != nullptr && present == kCFBooleanFalse) continue;
    state.hasBattery = true;
    state.onBattery =
        stringIs(description, CFSTR(kIOPSPowerSourceStateKey), CFSTR(kIOPSBatteryPowerValue));
    const std::optional<double> current = numberIn(description, CFSTR(kIOPSCurrentCapacityKey));
    const std::optional<double> maximum = numberIn(description, CFSTR(kIOPSMaxCapacityKey));
    if (current && maximum && *maximum > 0 && std::isfinite(*current / *maximum)) {
      state.batteryPercent =
          static_cast<int>(std::lround(std::clamp(*current / *maximum * 100.0, 0.0, 100.0)));
    }
    return;
  }
}

platform::PowerState readState() {
  platform::PowerState state;
  readBattery(state);
  state.thermalState = thermalState();
  return state;
}

}  // namespace

// What the notifications reach: it outlives neither its owner's run-loop source nor the blocks
// queued for it, which hold it weakly.
struct MacPower::Watch {
  std::function<void()> changed;
  platform::PowerState told;
  CFRef<CFRunLoopSourceRef> source;
  id thermalObserver = nil;

  void check() {
    const platform::PowerState now = readState();
    if (now == told) return;
    told = now;
    if (changed) changed();
  }
};

MacPower::MacPower() : watch_(std::make_shared<Watch>()) {}

MacPower::~MacPower() {
  // No callback may reach the watch once it is gone.
  if (watch_->source) CFRunLoopSourceInvalidate(watch_->source.get());
  if (watch_->thermalObserver != nil) {
    [NSNotificationCenter.defaultCenter removeObserver:watch_->thermalObserver];
  }
}

platform::PowerState MacPower::currentState() { return readState(); }

void MacPower::observe(std::function<void()> changed) {
  watch_->changed = std::move(changed);
  watch_->told = readState();
  if (!watch_->source) {
    // The run loop calls back on the main thread; the context is the watch, which stays until
    // the source is invalidated.
    watch_->source = CFRef<CFRunLoopSourceRef>(IOPSNotificationCreateRunLoopSource(
        [](void *context) { static_cast<Watch *>(context)->check(); }, watch_.get()));
    if (watch_->source) {
      CFRunLoopAddSource(CFRunLoopGetMain(), watch_->source.get(), kCFRunLoopCommonModes);
    }
  }
  if (watch_->thermalObserver == nil) {
    const std::weak_ptr<Watch> weakWatch = watch_;
    watch_->thermalObserver = [NSNotificationCenter.defaultCenter
        addObserverForName:NSProcessInfoThermalStateDidChangeNotification
                    object:nil
                     queue:nil
                usingBlock:^(NSNotification *) {
                  // Posted on whichever thread changed it: the app hears of it on the main one.
                  dispatch_async(dispatch_get_main_queue(), ^{
                    if (const std::shared_ptr<Watch> watch = weakWatch.lock()) watch->check();
                  });
                }];
  }
}

}  // namespace lumora::macos
