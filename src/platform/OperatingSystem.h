#pragma once

#include <compare>
#include <string>

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
  // The Mac's model identifier (sysctl hw.model, as "Mac15,7"); empty when it cannot be read.
  virtual std::string modelIdentifier() = 0;
  // Where the app runs from (NSBundle.mainBundle.bundlePath), and the user's home folder
  // (NSHomeDirectory), so that a report can show the one relative to the other.
  virtual std::string applicationPath() = 0;
  virtual std::string homeDirectory() = 0;
};

}  // namespace lumora::platform
