#include "platform/macos/MacUserDefaults.h"

#import <Foundation/Foundation.h>

#include "platform/macos/MacStrings.h"

namespace lumora::macos {

bool MacUserDefaults::boolForKey(std::string_view key) {
  return [NSUserDefaults.standardUserDefaults boolForKey:toNSString(key)] == YES;
}

std::int64_t MacUserDefaults::integerForKey(std::string_view key) {
  return static_cast<std::int64_t>(
      [NSUserDefaults.standardUserDefaults integerForKey:toNSString(key)]);
}

double MacUserDefaults::doubleForKey(std::string_view key) {
  return [NSUserDefaults.standardUserDefaults doubleForKey:toNSString(key)];
}

bool MacUserDefaults::hasValueForKey(std::string_view key) {
  return [NSUserDefaults.standardUserDefaults objectForKey:toNSString(key)] != nil;
}

std::optional<std::string> MacUserDefaults::stringForKey(std::string_view key) {
  NSString *value = [NSUserDefaults.standardUserDefaults stringForKey:toNSString(key)];
  if (value == nil) return std::nullopt;
  return fromNSString(value);
}

void MacUserDefaults::setBool(std::string_view key, bool value) {
  [NSUserDefaults.standardUserDefaults setBool:value ? YES : NO forKey:toNSString(key)];
}

void MacUserDefaults::setInteger(std::string_view key, std::int64_t value) {
  [NSUserDefaults.standardUserDefaults setInteger:static_cast<NSInteger>(value)
                                           forKey:toNSString(key)];
}

void MacUserDefaults::setDouble(std::string_view key, double value) {
  [NSUserDefaults.standardUserDefaults setDouble:value forKey:toNSString(key)];
}

}  // namespace lumora::macos
