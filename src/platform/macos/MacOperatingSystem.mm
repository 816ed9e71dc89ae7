#include "platform/macos/MacOperatingSystem.h"

#import <Foundation/Foundation.h>

namespace lumora::macos {

platform::OperatingSystemVersion MacOperatingSystem::version() {
  const NSOperatingSystemVersion version = NSProcessInfo.processInfo.operatingSystemVersion;
  return platform::OperatingSystemVersion{
      .major = static_cast<int>(version.majorVersion),
      .minor = static_cast<int>(version.minorVersion),
      .patch = static_cast<int>(version.patchVersion),
  };
}

}  // namespace lumora::macos
