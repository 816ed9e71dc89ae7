#include "platform/macos/MacPresetDictionary.h"

#include "platform/macos/MacStrings.h"

namespace lumora::macos {

MacPresetDictionary::MacPresetDictionary(CFRef<CFDictionaryRef> dictionary)
    : immutable_(std::move(dictionary)) {}

MacPresetDictionary::MacPresetDictionary(CFRef<CFMutableDictionaryRef> dictionary)
    : mutable_(std::move(dictionary)) {}

CFDictionaryRef MacPresetDictionary::dictionary() const {
  return mutable_ ? mutable_.get() : immutable_.get();
}

std::unique_ptr<platform::MutablePresetDictionary> MacPresetDictionary::mutableCopy() const {
  CFRef<CFMutableDictionaryRef> copy(
      CFDictionaryCreateMutableCopy(kCFAllocatorDefault, 0, dictionary()));
  if (!copy) return nullptr;
  return std::make_unique<MacPresetDictionary>(std::move(copy));
}

std::optional<double> MacPresetDictionary::numberValue(std::string_view key) const {
  const CFRef<CFStringRef> cfKey = makeCFString(key);
  if (!cfKey) return std::nullopt;
  const CFTypeRef value = CFDictionaryGetValue(dictionary(), cfKey.get());
  if (value == nullptr || CFGetTypeID(value) != CFNumberGetTypeID()) return std::nullopt;
  double number = 0.0;
  // False when the number has no exact double, as a very large integer.
  if (!CFNumberGetValue(static_cast<CFNumberRef>(value), kCFNumberFloat64Type, &number)) {
    return std::nullopt;
  }
  return number;
}

std::optional<std::string> MacPresetDictionary::stringValue(std::string_view key) const {
  const CFRef<CFStringRef> cfKey = makeCFString(key);
  if (!cfKey) return std::nullopt;
  const CFTypeRef value = CFDictionaryGetValue(dictionary(), cfKey.get());
  if (value == nullptr || CFGetTypeID(value) != CFStringGetTypeID()) return std::nullopt;
  return fromNSString((__bridge NSString *)value);
}

void MacPresetDictionary::set(std::string_view key, CFTypeRef value) {
  if (!mutable_ || value == nullptr) return;
  const CFRef<CFStringRef> cfKey = makeCFString(key);
  if (!cfKey) return;
  CFDictionarySetValue(mutable_.get(), cfKey.get(), value);
}

void MacPresetDictionary::setString(std::string_view key, std::string_view value) {
  const CFRef<CFStringRef> string = makeCFString(value);
  set(key, string.get());
}

void MacPresetDictionary::setDouble(std::string_view key, double value) {
  const CFRef<CFNumberRef> number(
      CFNumberCreate(kCFAllocatorDefault, kCFNumberFloat64Type, &value));
  set(key, number.get());
}

void MacPresetDictionary::setInteger(std::string_view key, std::int64_t value) {
  const CFRef<CFNumberRef> number(CFNumberCreate(kCFAllocatorDefault, kCFNumberSInt64Type, &value));
  set(key, number.get());
}

void MacPresetDictionary::setData(std::string_view key, std::span<const std::uint8_t> bytes) {
  const CFRef<CFDataRef> data(
      CFDataCreate(kCFAllocatorDefault, bytes.data(), static_cast<CFIndex>(bytes.size())));
  set(key, data.get());
}

}  // namespace lumora::macos
