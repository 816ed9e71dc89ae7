#include "platform/sim/machine/PlistFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <thread>

#include "platform/sim/machine/FileDescriptor.h"
#include "platform/sim/machine/FileKind.h"
#include "platform/sim/machine/FolderClaims.h"
#include "platform/sim/machine/PlistText.h"

namespace lumora::sim {
namespace {

// Why a call failed, in words.
std::string because(int error) {
  return std::strerror(error);
}

// The file's bytes, at most `limit` of them; `tooLarge` says there were more.
std::optional<std::string> readAll(int fd, std::size_t limit, int& error, bool& tooLarge) {
  std::string contents;
  char buffer[65536];
  for (;;) {
    const ssize_t count = ::read(fd, buffer, sizeof buffer);
    if (count == 0) return contents;
    if (count < 0) {
      if (errno == EINTR) continue;
      error = errno;
      return std::nullopt;
    }
    if (contents.size() + static_cast<std::size_t>(count) > limit) {
      tooLarge = true;
      return std::nullopt;
    }
    contents.append(buffer, static_cast<std::size_t>(count));
  }
}

std::string tooLargeProblem() {
  return "is larger than " + std::to_string(maximumPlistFileBytes >> 20) + " MB";
}

// Why what is there is not even opened, or none for a regular file of a size the app reads.
std::optional<std::string> whyLeftUnopened(const struct stat& info) {
  if (!S_ISREG(info.st_mode)) return "is " + fileKindName(info.st_mode) + ", not a regular file";
  if (static_cast<std::uintmax_t>(info.st_size) > maximumPlistFileBytes) return tooLargeProblem();
  return std::nullopt;
}

}  // namespace

PlistFile::PlistFile(std::filesystem::path path, platform::Console& console,
                     std::function<bool(plist_t)> isUsable)
    : path_(std::move(path)), console_(console), isUsable_(std::move(isUsable)) {}

PlistFile::Stamp PlistFile::stampOf(const struct stat& info) {
  Stamp stamp;
  stamp.device = info.st_dev;
  stamp.inode = info.st_ino;
  stamp.size = info.st_size;
  stamp.modifiedSeconds = info.st_mtim.tv_sec;
  stamp.modifiedNanoseconds = info.st_mtim.tv_nsec;
  stamp.changedSeconds = info.st_ctim.tv_sec;
  stamp.changedNanoseconds = info.st_ctim.tv_nsec;
  stamp.mode = info.st_mode;
  return stamp;
}

void PlistFile::report(const std::string& line) const {
  console_.printErrorLine("Lumora Virir: " + line);
}

PlistFile::Reading PlistFile::read() const {
  Reading reading;
  // A tool that rewrites the file in place may be halfway through: a reading during which the
  // file changed is taken again, once.
  for (int attempt = 0; attempt < 2; ++attempt) {
    reading = Reading{};
    // Non-blocking, so that a FIFO put there between the look and the open cannot hold the app
    // in open(): what was opened is looked at before anything is read.
    const FileDescriptor fd(::open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat before {};
    if (!fd.valid() || ::fstat(fd.get(), &before) != 0) {
      reading.problem = because(errno);
      struct stat info {};
      if (::stat(path_.c_str(), &info) == 0) reading.stamp = stampOf(info);
      return reading;
    }
    reading.stamp = stampOf(before);
    if (const std::optional<std::string> problem = whyLeftUnopened(before)) {
      reading.problem = *problem;
      reading.leaveInPlace = true;
      return reading;
    }
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags >= 0) ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK);
    int error = 0;
    bool tooLarge = false;
    reading.text = readAll(fd.get(), maximumPlistFileBytes, error, tooLarge);
    if (tooLarge) {
      reading.problem = tooLargeProblem();
      reading.leaveInPlace = true;
      return reading;
    }
    if (!reading.text) reading.problem = because(error);
    struct stat after {};
    struct stat now {};
    if (::fstat(fd.get(), &after) == 0 && ::stat(path_.c_str(), &now) == 0 &&
        stampOf(after) == reading.stamp && stampOf(now) == reading.stamp) {
      return reading;
    }
  }
  return reading;
}

void PlistFile::followPasses(const std::atomic<std::uint64_t>& passNumber) {
  passNumber_ = &passNumber;
  passThread_ = std::this_thread::get_id();
}

bool PlistFile::defersStoresHere() const {
  return passNumber_ != nullptr && std::this_thread::get_id() == passThread_;
}

void PlistFile::replaceRoot(PlistPtr root) {
  root_ = std::move(root);
  ++version_;
}

void PlistFile::forgetRoot() {
  // Not written: what the file holds is the truth again, read at the next load.
  pending_ = false;
  stamp_.reset();
  lookedYet_ = false;
  replaceRoot(nullptr);
}

plist_t PlistFile::load() {
  refresh();
  return root_.get();
}

void PlistFile::refresh() {
  // What was stored stands until it is written.
  if (pending_) return;
  if (folderReplaced_) {
    // Only to lock a folder made in its place; what the app holds stays as it is.
    FolderClaims::process().check(path_.parent_path());
    return;
  }
  if (defersStoresHere()) {
    const std::uint64_t pass = passNumber_->load(std::memory_order_relaxed);
    if (lookedYet_ && lookedInPass_ == pass) return;
    lookedYet_ = true;
    lookedInPass_ = pass;
  }
  struct stat info {};
  if (::stat(path_.c_str(), &info) != 0) {
    const int error = errno;
    if (folderWasReplaced()) return;
    if (root_ || stamp_) replaceRoot(nullptr);
    stamp_.reset();
    if (error == ENOENT || error == ENOTDIR) {
      keptInPlace_ = false;
      return;
    }
    // The file cannot even be looked at (its folder is closed): it is left alone.
    if (!keptInPlace_) {
      report(path_.string() + " cannot be looked at (" + because(error) +
             "); the defaults are used and nothing is saved to it.");
    }
    keptInPlace_ = true;
    return;
  }
  if (stamp_ && *stamp_ == stampOf(info)) return;
  if (folderWasReplaced()) return;

  // Only a regular file is opened: a device or FIFO may block, or never end.
  if (const std::optional<std::string> problem = whyLeftUnopened(info)) {
    replaceRoot(nullptr);
    return leaveInPlace(*problem, stampOf(info));
  }
  Reading reading = read();
  // Touched but not changed: the root already holds what the bytes say, so they are not parsed.
  if (root_ && reading.text && *reading.text == rootText_) {
    stamp_ = reading.stamp;
    return;
  }
  replaceRoot(nullptr);
  if (!reading.text) {
    if (reading.leaveInPlace) return leaveInPlace(reading.problem, reading.stamp);
    return setAside("cannot be read (" + reading.problem + ")", reading.stamp);
  }
  ++parses_;
  if (const std::optional<std::string> problem = whyNotReadWhole(*reading.text)) {
    return setAside("cannot be read whole (" + *problem + ")", reading.stamp);
  }
  PlistPtr parsed = fromXml(*reading.text);
  if (!parsed) return setAside("is not a property list", reading.stamp);
  if (!isUsable_(parsed.get())) {
    return setAside("does not hold what the app keeps there", reading.stamp);
  }
  stamp_ = reading.stamp;
  keptInPlace_ = false;
  rootText_ = std::move(*reading.text);
  replaceRoot(std::move(parsed));
}

bool PlistFile::folderWasReplaced() {
  const FolderClaims::Check check = FolderClaims::process().check(path_.parent_path());
  if (!check.replaced) return false;
  if (check.news) report(*check.news);
  folderReplaced_ = true;
  pending_ = false;
  return true;
}

void PlistFile::leaveInPlace(const std::string& problem, const Stamp& stamp) {
  if (!keptInPlace_) {
    report(path_.string() + " " + problem +
           "; it is left as it is, the defaults are used, and nothing is saved to it.");
  }
  stamp_ = stamp;
  keptInPlace_ = true;
}

void PlistFile::setAside(const std::string& problem, const Stamp& stamp) {
  // The file a link points to is the one kept, in its own folder.
  const std::filesystem::path target = resolvedFile(path_);
  // Only the regular file that was read is moved: whatever took its place meanwhile stays.
  struct stat info {};
  if (::lstat(target.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
      info.st_dev != stamp.device || info.st_ino != stamp.inode) {
    return leftUnmoved(problem, "it changed while it was read", stamp);
  }
  // link and unlink instead of rename: link never replaces an earlier file kept aside.
  const std::string base = target.string() + ".unreadable-" + std::to_string(::time(nullptr));
  int error = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string aside = attempt == 0 ? base : base + "-" + std::to_string(attempt);
    if (::link(target.c_str(), aside.c_str()) == 0) {
      ::unlink(target.c_str());
      report(path_.string() + " " + problem + "; it was kept as " + aside +
             " and the defaults are used instead.");
      stamp_.reset();
      keptInPlace_ = false;
      return;
    }
    error = errno;
    if (error != EEXIST) break;
  }
  leftUnmoved(problem, because(error), stamp);
}

void PlistFile::leftUnmoved(const std::string& problem, const std::string& why,
                            const Stamp& stamp) {
  report(path_.string() + " " + problem + ", and it could not be kept aside (" + why +
         "); it is left as it is, the defaults are used, and nothing is saved to it.");
  stamp_ = stamp;
  keptInPlace_ = true;
}

void PlistFile::noteFailure(const WriteFailure& failure) {
  const bool reported = lastFailure_ && *lastFailure_ == failure;
  if (!reported && failure.kind != WriteFailure::Kind::exiting &&
      failure.kind != WriteFailure::Kind::keptInPlace) {
    report("cannot save " + path_.string() + ": " + failure.reason + "; nothing was changed.");
  }
  lastFailure_ = failure;
}

std::optional<WriteFailure> PlistFile::whyNotWritable() {
  const std::filesystem::path target = resolvedFile(path_);
  struct stat info {};
  if (::stat(target.c_str(), &info) == 0) {
    if (!S_ISREG(info.st_mode)) {
      return WriteFailure{WriteFailure::Kind::replace, S_ISDIR(info.st_mode) ? EISDIR : EINVAL,
                          "cannot replace " + fileKindName(info.st_mode)};
    }
    if ((info.st_mode & S_IWUSR) == 0) {
      return WriteFailure{WriteFailure::Kind::readOnly, 0, "the file is read-only"};
    }
  }
  // The nearest folder that is there must be one, and open for writing.
  std::filesystem::path folder = target.parent_path();
  int looked = ::stat(folder.c_str(), &info);
  while (looked != 0 && errno == ENOENT && folder.has_relative_path()) {
    folder = folder.parent_path();
    looked = ::stat(folder.c_str(), &info);
  }
  const auto cannotCreateIn = [](const std::filesystem::path& where, int error) {
    return WriteFailure{WriteFailure::Kind::create, error,
                        "cannot make a file in " + where.string() + ": " + because(error)};
  };
  if (looked != 0) return cannotCreateIn(folder, errno);
  if (!S_ISDIR(info.st_mode)) {
    return WriteFailure{
        WriteFailure::Kind::folder, ENOTDIR,
        "cannot make the folder " + target.parent_path().string() + ": " + because(ENOTDIR)};
  }
  if (::access(folder.c_str(), W_OK | X_OK) != 0) return cannotCreateIn(folder, errno);
  return std::nullopt;
}

std::optional<WriteFailure> PlistFile::write() {
  if (folderReplaced_ || folderWasReplaced()) return folderReplacedFailure();
  std::string text = toXml(root_.get());
  const std::optional<WriteFailure> failure = writeFileAtomically(path_, text);
  if (failure) {
    noteFailure(*failure);
    return failure;
  }
  rootText_ = std::move(text);
  ++writes_;
  lastFailure_.reset();
  struct stat info {};
  if (::stat(path_.c_str(), &info) == 0) {
    stamp_ = stampOf(info);
  } else {
    stamp_.reset();
  }
  return std::nullopt;
}

std::optional<WriteFailure> PlistFile::whyNotStorable() {
  if (folderReplaced_ || folderWasReplaced()) return folderReplacedFailure();
  // A file left in place is never written over, until the user changes or removes it.
  if (keptInPlace_) {
    lookedYet_ = false;
    refresh();
  }
  if (keptInPlace_) {
    return WriteFailure{WriteFailure::Kind::keptInPlace, 0,
                        "the file there could not be used and is left as it is"};
  }
  if (!defersStoresHere()) return std::nullopt;
  const std::optional<WriteFailure> failure = whyNotWritable();
  if (failure) noteFailure(*failure);
  return failure;
}

std::optional<WriteFailure> PlistFile::store(PlistPtr root) {
  if (std::optional<WriteFailure> failure = whyNotStorable()) return failure;
  replaceRoot(std::move(root));
  return storeChanged();
}

std::optional<WriteFailure> PlistFile::storeChanged() {
  ++version_;
  if (defersStoresHere()) {
    pending_ = true;
    return std::nullopt;
  }
  pending_ = false;
  const std::optional<WriteFailure> failure = write();
  if (failure) failedToWrite();
  return failure;
}

void PlistFile::flush() {
  if (!pending_) return;
  pending_ = false;
  if (write()) failedToWrite();
}

void PlistFile::failedToWrite() {
  // In a replaced folder there is no file to go back to: what the app holds stays.
  if (!folderReplaced_) forgetRoot();
}

WriteFailure PlistFile::folderReplacedFailure() {
  return WriteFailure{WriteFailure::Kind::folderReplaced, 0,
                      "its folder was replaced while the app ran"};
}

}  // namespace lumora::sim
