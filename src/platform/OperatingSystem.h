#pragma once

#include <compare>

namespace lumora::platform {

// NSOperatingSystemVersion.
struct OperatingSystemVersion {
  int major = 0;
  int minor = 0;
  int patch = 0;

  friend auto operator<=>(const OperatingSystemVersion&, const OperatingSystemVersion&) = default;
};

class OperatingSystem {
 public:
  virtual ~OperatingSystem() = default;

  // NSProcessInfo.operatingSystemVersion: the release of macOS the app runs on. Any thread.
  virtual OperatingSystemVersion version() = 0;
};

}  // namespace lumora::platform
