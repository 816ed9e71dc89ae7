#include "platform/sim/machine/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>

#include "platform/sim/machine/FileKind.h"

namespace lumora::sim {
namespace {

constexpr const char* lockFileName = "instance.lock";

// Whether another process holds the lock on `fd`.
bool heldElsewhere(int fd) {
  return ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
}

// The process the lock file names, or 0. Only a regular file is opened, never a link.
pid_t holderNamedIn(int folder, const char* name) {
  struct stat info {};
  if (::fstatat(folder, name, &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(info.st_mode)) return 0;
  const FileDescriptor fd(::openat(folder, name, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
  char text[24] = {};
  if (!fd.valid() || ::pread(fd.get(), text, sizeof text - 1, 0) <= 0) return 0;
  return static_cast<pid_t>(std::strtol(text, nullptr, 10));
}

// The lock file, opened for locking, or why it cannot be: a link is never followed (it could
// point anywhere), and only a regular file is opened, so that a device or FIFO put there is
// neither opened nor blocked on.
FileDescriptor openLockFile(int folder, const char* name, std::string& whyNot) {
  struct stat info {};
  if (::fstatat(folder, name, &info, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISREG(info.st_mode)) {
    whyNot = "it is " + fileKindName(info.st_mode);
    return FileDescriptor();
  }
  FileDescriptor fd(
      ::openat(folder, name, O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644));
  if (!fd.valid()) {
    whyNot = std::strerror(errno);
    return fd;
  }
  if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
    whyNot = "it is not a regular file";
    return FileDescriptor();
  }
  return fd;
}

}  // namespace

InstanceLock::Attempt InstanceLock::acquire(const std::filesystem::path& folder,
                                            bool createFolder) {
  Attempt attempt;
  if (createFolder) {
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
  }
  InstanceLock lock;
  lock.folder_ =
      FileDescriptor(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK));
  struct stat info {};
  if (lock.folder_.valid() && ::fstat(lock.folder_.get(), &info) == 0) {
    lock.device_ = info.st_dev;
    lock.inode_ = info.st_ino;
  } else {
    lock.folder_.reset();
  }
  // A folder that can be written but not read is locked through its file alone.
  const int at = lock.folder_.valid() ? lock.folder_.get() : AT_FDCWD;
  const std::string name = lock.folder_.valid() ? lockFileName : (folder / lockFileName).string();
  // The folder first: two starts at once meet there, and exactly one goes on.
  if (lock.folder_.valid() && heldElsewhere(lock.folder_.get())) {
    attempt.holder = holderNamedIn(at, name.c_str());
    return attempt;
  }

  std::string whyNot;
  lock.file_ = openLockFile(at, name.c_str(), whyNot);
  if (lock.file_.valid() && heldElsewhere(lock.file_.get())) {
    attempt.holder = holderNamedIn(at, name.c_str());
    return attempt;
  }
  if (!lock.file_.valid() && lock.folder_.valid()) {
    attempt.note = (folder / lockFileName).string() + " cannot be used as the lock (" + whyNot +
                   "); the folder itself is locked instead.";
  } else if (lock.file_.valid()) {
    // The holder's number, for the message a second start gives.
    const std::string pid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(lock.file_.get(), 0) == 0) {
      [[maybe_unused]] const ssize_t written =
          ::pwrite(lock.file_.get(), pid.data(), pid.size(), 0);
    }
  }
  attempt.lock = std::move(lock);
  return attempt;
}

}  // namespace lumora::sim
