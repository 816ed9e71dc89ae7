#pragma once

#include <sys/stat.h>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "platform/Console.h"
#include "platform/sim/machine/AtomicFile.h"
#include "platform/sim/machine/Plist.h"

namespace lumora::sim {

// Far above any file the app writes (its display file is 36 KB): a bigger one is not read into
// memory, and an endless one (a link to /dev/zero) is not read without end.
inline constexpr std::size_t maximumPlistFileBytes = 64u << 20;

// A property-list file that people and other processes may also read and edit. It is parsed
// again only when it changed on disk, and written atomically. What the user wrote is never
// destroyed: a file that cannot be read whole, or is not usable, is kept aside under another name
// (or, where even that is refused, left as it is and never written), and said so once on
// standard error. Only a regular file is read, kept aside or replaced: anything else in its place
// (a FIFO, a device, a folder, or a link to one), and a file larger than maximumPlistFileBytes,
// is left exactly as it is, said once, and never written. Nothing here blocks on what is there.
// A failed save is said once per kind of failure, with its reason, until a save succeeds again.
// In a folder claimed by this process (FolderClaims) that was replaced while the app ran, the
// file keeps what it holds and nothing more is read or saved. Not thread-safe: its owner
// serialises the calls.
class PlistFile {
 public:
  // `isUsable` says whether a parsed root has the shape the owner needs.
  PlistFile(std::filesystem::path path, platform::Console& console,
            std::function<bool(plist_t)> isUsable);

  // From now on the file is looked at on disk at most once per pass of the run loop counted by
  // `passNumber`, and what the calling thread stores is written once, by flush() at the end of
  // the pass. Stores from other threads are still written at once.
  void followPasses(const std::atomic<std::uint64_t>& passNumber);

  // The current root, valid until the next load or store; null when the file is absent or was
  // not usable. Its owner may change it in place, and then calls storeChanged.
  plist_t load();
  // Changes whenever the current root is replaced or changed.
  std::uint64_t version() const { return version_; }

  // Makes `root` the file's content and the current root: written at once, or at the next flush
  // when stores are deferred. Returns why it cannot be written; the current root is then what the
  // file holds.
  std::optional<WriteFailure> store(PlistPtr root);
  // The same for the current root, changed in place (check whyNotStorable before changing it).
  // When it cannot be written, the current root is what the file holds again.
  std::optional<WriteFailure> storeChanged();
  // Writes what was stored since the last flush. Should that fail, the current root goes back to
  // what the file holds.
  void flush();
  // Whether a store from this thread waits for the next flush.
  bool defersStoresHere() const;
  // Why a store would not be written, where that can be known before: the file is kept in place,
  // or (for a deferred store) the file or its folder cannot be written. Said once, as a failed
  // save is.
  std::optional<WriteFailure> whyNotStorable();

  // The file exists but could not be used or kept aside: it is left as it is and never written.
  bool isKeptInPlace() const { return keptInPlace_; }

  const std::filesystem::path& path() const { return path_; }
  // How many times the file was parsed; an unchanged file is not parsed again.
  int parseCount() const { return parses_; }
  // How many times it was written.
  int writeCount() const { return writes_; }

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
    bool leaveInPlace = false;        // not a regular file, or too large: never moved
    Stamp stamp;                      // of the bytes read
  };
  Reading read() const;
  void refresh();
  bool folderWasReplaced();
  void setAside(const std::string& problem, const Stamp& stamp);
  void leaveInPlace(const std::string& problem, const Stamp& stamp);
  void leftUnmoved(const std::string& problem, const std::string& why, const Stamp& stamp);
  void failedToWrite();
  static WriteFailure folderReplacedFailure();
  void replaceRoot(PlistPtr root);
  void forgetRoot();
  std::optional<WriteFailure> whyNotWritable();
  std::optional<WriteFailure> write();
  void noteFailure(const WriteFailure& failure);
  void report(const std::string& line) const;

  std::filesystem::path path_;
  platform::Console& console_;
  std::function<bool(plist_t)> isUsable_;
  std::optional<Stamp> stamp_;  // of what root_ came from, or of the file kept in place
  PlistPtr root_;
  std::string rootText_;  // the bytes root_ was read from or written as
  std::uint64_t version_ = 0;
  bool keptInPlace_ = false;
  bool folderReplaced_ = false;
  bool pending_ = false;  // stored, not yet written
  std::optional<WriteFailure> lastFailure_;
  const std::atomic<std::uint64_t>* passNumber_ = nullptr;
  std::uint64_t lookedInPass_ = 0;
  bool lookedYet_ = false;
  std::thread::id passThread_;
  int parses_ = 0;
  int writes_ = 0;
};

}  // namespace lumora::sim
