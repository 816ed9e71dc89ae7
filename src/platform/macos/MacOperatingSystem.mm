#include "platform/macos/MacOperatingSystem.h"

#import <Foundation/Foundation.h>
#include <sys/sysctl.h>

#include <vector>

#include "platform/macos/MacStrings.h"

namespace lumora::macos {

platform::OperatingSystemVersion MacOperatingSystem::version() {
  const NSOperatingSystemVersion version = NSProcessInfo.processInfo.operatingSystemVersion;
  return platform::OperatingSystemVersion{
      .major = static_cast<int>(version.majorVersion),
      .minor = static_cast<int>(version.minorVersion),
      .patch = static_cast<int>(version.patchVersion),
  };
}

std::string MacOperatingSystem::modelIdentifier() {
  std::size_t size = 0;
  if (sysctlbyname("hw.model", nullptr, &size, nullptr, 0) != 0 || size == 0) return {};
  std::vector<char> model(size);
  if (sysctlbyname("hw.model", model.data(), &size, nullptr, 0) != 0) return {};
  return std::string(model.data(), strnlen(model.data(), size));
}

std::string MacOperatingSystem::applicationPath() {
  return fromNSString(NSBundle.mainBundle.bundlePath);
}

std::string MacOperatingSystem::homeDirectory() { return fromNSString(NSHomeDirectory()); }

}  // namespace lumora::macos
