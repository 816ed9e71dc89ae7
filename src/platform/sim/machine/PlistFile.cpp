#include "platform/sim/machine/PlistFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/sim/machine/FileDescriptor.h"
#include "platform/sim/machine/PlistText.h"

namespace lumora::sim {
namespace {

// Why a call failed, in words.
std::string because(int error) {
  return std::strerror(error);
}

std::optional<std::string> readAll(int fd, int& error) {
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
    contents.append(buffer, static_cast<std::size_t>(count));
  }
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
    const FileDescriptor fd(::open(path_.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat before {};
    if (!fd.valid() || ::fstat(fd.get(), &before) != 0) {
      reading.problem = because(errno);
      struct stat info {};
      if (::stat(path_.c_str(), &info) == 0) reading.stamp = stampOf(info);
      return reading;
    }
    reading.stamp = stampOf(before);
    int error = 0;
    reading.text = readAll(fd.get(), error);
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

plist_t PlistFile::load() {
  struct stat info {};
  if (::stat(path_.c_str(), &info) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) {
      stamp_.reset();
      root_.reset();
      keptInPlace_ = false;
      return nullptr;
    }
    // The file cannot even be looked at (its folder is closed): it is left alone.
    if (!keptInPlace_) report(path_.string() + " cannot be looked at (" + because(errno) +
                              "); the defaults are used and nothing is saved to it.");
    stamp_.reset();
    root_.reset();
    keptInPlace_ = true;
    return nullptr;
  }
  if (stamp_ && *stamp_ == stampOf(info)) return root_.get();

  const Reading reading = read();
  if (!reading.text) {
    setAside("cannot be read (" + reading.problem + ")", reading.stamp);
    return nullptr;
  }
  ++parses_;
  if (const std::optional<std::string> problem = whyNotReadWhole(*reading.text)) {
    setAside("cannot be read whole: it holds " + *problem, reading.stamp);
    return nullptr;
  }
  PlistPtr parsed = fromXml(*reading.text);
  if (!parsed) {
    setAside("is not a property list", reading.stamp);
    return nullptr;
  }
  if (!isUsable_(parsed.get())) {
    setAside("does not hold what the app keeps there", reading.stamp);
    return nullptr;
  }
  stamp_ = reading.stamp;
  root_ = std::move(parsed);
  keptInPlace_ = false;
  return root_.get();
}

void PlistFile::setAside(const std::string& problem, const Stamp& stamp) {
  root_.reset();
  // The file a link points to is the one kept, in its own folder.
  const std::filesystem::path target = resolvedFile(path_);
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
  report(path_.string() + " " + problem + ", and it could not be kept aside (" + because(error) +
         "); it is left as it is, the defaults are used, and nothing is saved to it.");
  stamp_ = stamp;
  keptInPlace_ = true;
}

std::optional<WriteFailure> PlistFile::save(PlistPtr root) {
  // A file left in place is never written over, until the user changes or removes it.
  if (keptInPlace_) load();
  if (keptInPlace_) {
    return WriteFailure{WriteFailure::Kind::keptInPlace, 0,
                        "the file there could not be used and is left as it is"};
  }
  const std::optional<WriteFailure> failure = writeFileAtomically(path_, toXml(root.get()));
  if (failure) {
    const bool reported = lastFailure_ && *lastFailure_ == *failure;
    if (!reported && failure->kind != WriteFailure::Kind::exiting) {
      report("cannot save " + path_.string() + ": " + failure->reason + "; nothing was changed.");
    }
    lastFailure_ = failure;
    return failure;
  }
  lastFailure_.reset();
  struct stat info {};
  if (::stat(path_.c_str(), &info) == 0) {
    stamp_ = stampOf(info);
    root_ = std::move(root);
  } else {
    stamp_.reset();
    root_.reset();
  }
  return std::nullopt;
}

}  // namespace lumora::sim
