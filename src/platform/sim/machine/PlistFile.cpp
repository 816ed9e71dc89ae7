#include "platform/sim/machine/PlistFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/sim/machine/AtomicFile.h"
#include "platform/sim/machine/FileDescriptor.h"

namespace lumora::sim {
namespace {

std::optional<std::string> readAll(int fd) {
  std::string contents;
  char buffer[8192];
  for (;;) {
    const ssize_t count = ::read(fd, buffer, sizeof buffer);
    if (count == 0) return contents;
    if (count < 0) {
      if (errno == EINTR) continue;
      return std::nullopt;
    }
    contents.append(buffer, static_cast<std::size_t>(count));
  }
}

}  // namespace

PlistFile::PlistFile(std::filesystem::path path, platform::Console& console,
                     std::function<bool(plist_t)> isUsable)
    : path_(std::move(path)), console_(console), isUsable_(std::move(isUsable)) {}

bool PlistFile::sameStamp(const Stamp& a, const Stamp& b) {
  return a.device == b.device && a.inode == b.inode && a.size == b.size &&
         a.modified.tv_sec == b.modified.tv_sec && a.modified.tv_nsec == b.modified.tv_nsec &&
         a.changed.tv_sec == b.changed.tv_sec && a.changed.tv_nsec == b.changed.tv_nsec;
}

PlistFile::Stamp PlistFile::stampOf(const struct stat& info) {
  Stamp stamp;
  stamp.device = info.st_dev;
  stamp.inode = info.st_ino;
  stamp.size = info.st_size;
  stamp.modified = info.st_mtim;
  stamp.changed = info.st_ctim;
  return stamp;
}

plist_t PlistFile::load() {
  // The stamp comes from the open file itself, so it always describes the bytes read.
  const FileDescriptor fd(::open(path_.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat info {};
  if (!fd.valid() || ::fstat(fd.get(), &info) != 0) {
    stamp_.reset();
    root_.reset();
    return nullptr;
  }
  const Stamp stamp = stampOf(info);
  if (stamp_ && sameStamp(*stamp_, stamp)) return root_.get();

  stamp_.reset();
  root_.reset();
  const std::optional<std::string> text = readAll(fd.get());
  if (!text) return nullptr;  // tried again at the next load
  ++parses_;
  PlistPtr parsed = fromXml(*text);
  if (!parsed || !isUsable_(parsed.get())) {
    keepAside();
    return nullptr;
  }
  stamp_ = stamp;
  root_ = std::move(parsed);
  return root_.get();
}

void PlistFile::keepAside() {
  // link and unlink instead of rename: link never replaces an earlier file kept aside.
  const std::string base = path_.string() + ".unreadable-" + std::to_string(::time(nullptr));
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string aside = attempt == 0 ? base : base + "-" + std::to_string(attempt);
    if (::link(path_.c_str(), aside.c_str()) == 0) {
      ::unlink(path_.c_str());
      console_.printErrorLine("Lumora Virir: " + path_.string() +
                              " is not a usable property list; it was kept as " + aside +
                              " and the defaults are used instead.");
      return;
    }
    if (errno != EEXIST) break;
  }
  console_.printErrorLine("Lumora Virir: " + path_.string() +
                          " is not a usable property list and could not be kept aside; the "
                          "defaults are used instead.");
}

bool PlistFile::save(PlistPtr root) {
  if (writeFileAtomically(path_, toXml(root.get()))) return false;
  struct stat info {};
  if (::stat(path_.c_str(), &info) == 0) {
    stamp_ = stampOf(info);
    root_ = std::move(root);
  } else {
    stamp_.reset();
    root_.reset();
  }
  return true;
}

}  // namespace lumora::sim
