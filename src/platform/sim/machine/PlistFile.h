#pragma once

#include <sys/stat.h>

#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>

#include "platform/Console.h"
#include "platform/sim/machine/Plist.h"

namespace lumora::sim {

// A property-list file that other processes may also read and edit. It is parsed again only when
// it changed on disk, and written atomically (a temporary file in the same folder, then a
// rename). Not thread-safe: its owner serialises the calls.
class PlistFile {
 public:
  // `isUsable` says whether a parsed root has the shape the owner needs; a file that does not
  // parse or is not usable is moved aside (never overwritten), reported once on standard error,
  // and reads as absent.
  PlistFile(std::filesystem::path path, platform::Console& console,
            std::function<bool(plist_t)> isUsable);

  // The current root, owned by this object and valid until the next load or save; null when the
  // file is absent or was unusable.
  plist_t load();

  // Writes `root` as the file's new content and keeps it as the current root. Returns false when
  // the file could not be written; the current root is then unchanged.
  bool save(PlistPtr root);

  const std::filesystem::path& path() const { return path_; }
  // How many times the file was parsed; an unchanged file is not parsed again.
  int parseCount() const { return parses_; }

 private:
  struct Stamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};
  };
  static bool sameStamp(const Stamp& a, const Stamp& b);
  static Stamp stampOf(const struct stat& info);

  void keepAside();

  std::filesystem::path path_;
  platform::Console& console_;
  std::function<bool(plist_t)> isUsable_;
  std::optional<Stamp> stamp_;
  PlistPtr root_;
  int parses_ = 0;
};

}  // namespace lumora::sim
