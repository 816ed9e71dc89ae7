#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "platform/Console.h"
#include "platform/sim/machine/AtomicFile.h"
#include "platform/sim/machine/Plist.h"

namespace lumora::sim {

// A property-list file that people and other processes may also read and edit. It is parsed
// again only when it changed on disk, and written atomically. What the user wrote is never
// destroyed: a file that cannot be read whole, or is not usable, is kept aside under another name
// (or, where even that is refused, left as it is and never written), and said so once on
// standard error. A failed save is said once per kind of failure, with its reason, until a save
// succeeds again. Not thread-safe: its owner serialises the calls.
class PlistFile {
 public:
  // `isUsable` says whether a parsed root has the shape the owner needs.
  PlistFile(std::filesystem::path path, platform::Console& console,
            std::function<bool(plist_t)> isUsable);

  // The current root, owned by this object and valid until the next load or save; null when the
  // file is absent or was not usable.
  plist_t load();

  // Writes `root` as the file's new content and keeps it as the current root. Returns why it was
  // not written; the current root is then unchanged.
  std::optional<WriteFailure> save(PlistPtr root);

  // The file exists but could not be used or kept aside: it is left as it is and never written.
  bool isKeptInPlace() const { return keptInPlace_; }

  const std::filesystem::path& path() const { return path_; }
  // How many times the file was parsed; an unchanged file is not parsed again.
  int parseCount() const { return parses_; }

 private:
  struct Stamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;
    std::int64_t changedSeconds = 0;
    std::int64_t changedNanoseconds = 0;
    mode_t mode = 0;

    friend bool operator==(const Stamp& a, const Stamp& b) = default;
  };
  static Stamp stampOf(const struct stat& info);

  struct Reading {
    std::optional<std::string> text;  // none when the file could not be read
    std::string problem;              // why not
    Stamp stamp;                      // of the bytes read
  };
  Reading read() const;
  void setAside(const std::string& problem, const Stamp& stamp);
  void report(const std::string& line) const;

  std::filesystem::path path_;
  platform::Console& console_;
  std::function<bool(plist_t)> isUsable_;
  std::optional<Stamp> stamp_;  // of what root_ came from, or of the file kept in place
  PlistPtr root_;
  bool keptInPlace_ = false;
  std::optional<WriteFailure> lastFailure_;
  int parses_ = 0;
};

}  // namespace lumora::sim
