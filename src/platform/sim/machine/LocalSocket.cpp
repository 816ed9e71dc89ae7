#include "platform/sim/machine/LocalSocket.h"

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace lumora::sim {
namespace {

// What the exit paths need to remove the socket, prepared when it was made: they only compare
// and unlink.
struct ExitRemoval {
  char path[sizeof(sockaddr_un::sun_path)];
  dev_t device;
  ino_t inode;
  std::atomic<bool> armed;
};
constinit ExitRemoval exitRemoval{};

void removeAtExit() {
  removeListeningSocketForExit();
}

std::string reason(int error) {
  return std::strerror(error);
}

// Each missing folder down to `folder` is made with mode 0700.
bool makeFolders(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> missing;
  struct stat status {};
  for (std::filesystem::path each = folder; !each.empty() && ::lstat(each.c_str(), &status) != 0;
       each = each.parent_path()) {
    if (errno != ENOENT || each == each.parent_path()) return false;
    missing.push_back(each);
  }
  for (auto each = missing.rbegin(); each != missing.rend(); ++each) {
    if (::mkdir(each->c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  return true;
}

// The folder is this user's own, a folder and not a link, and only its owner may enter it.
std::string checkPrivateFolder(const std::filesystem::path& folder) {
  if (!makeFolders(folder)) return folder.string() + " cannot be made (" + reason(errno) + ")";
  struct stat status {};
  if (::lstat(folder.c_str(), &status) != 0) return folder.string() + ": " + reason(errno);
  if (!S_ISDIR(status.st_mode)) return folder.string() + " is not a folder";
  if (status.st_uid != ::geteuid()) return folder.string() + " belongs to another user";
  if ((status.st_mode & 07777) != 0700 && ::chmod(folder.c_str(), 0700) != 0) {
    return folder.string() + " cannot be kept to its owner (" + reason(errno) + ")";
  }
  return {};
}

// Clears the path for a new socket: a socket no app answers at is removed.
std::string clearStaleSocket(const std::filesystem::path& path, const sockaddr_un& address) {
  struct stat status {};
  if (::lstat(path.c_str(), &status) != 0) {
    return errno == ENOENT ? std::string() : path.string() + ": " + reason(errno);
  }
  if (!S_ISSOCK(status.st_mode)) return path.string() + " is not a socket; it is left as it is";
  const FileDescriptor probe = connectToSocket(address);
  if (probe.valid() || errno == EAGAIN) {
    return "another Lumora Virir answers at " + path.string();
  }
  if (errno != ECONNREFUSED) return path.string() + ": " + reason(errno);
  if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
    return "the stale socket " + path.string() + " cannot be removed (" + reason(errno) + ")";
  }
  return {};
}

}  // namespace

std::optional<sockaddr_un> socketAddress(const std::filesystem::path& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string& text = path.native();
  if (text.empty() || text.size() >= sizeof address.sun_path) return std::nullopt;
  std::memcpy(address.sun_path, text.c_str(), text.size() + 1);
  return address;
}

FileDescriptor connectToSocket(const sockaddr_un& address) {
  FileDescriptor fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (!fd.valid()) return fd;
  if (::connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    const int error = errno;
    fd.reset();
    errno = error;
  }
  return fd;
}

std::optional<uid_t> peerUser(int fd) {
  ucred credentials{};
  socklen_t length = sizeof credentials;
  if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &length) != 0 ||
      length != sizeof credentials) {
    return std::nullopt;
  }
  return credentials.uid;
}

std::unique_ptr<ListeningSocket> ListeningSocket::open(const std::filesystem::path& path,
                                                       std::string& problem) {
  const std::optional<sockaddr_un> address = socketAddress(path);
  if (!address) {
    problem = "the path " + path.string() + " is too long for a socket (" +
              std::to_string(path.native().size()) + " bytes; at most " +
              std::to_string(sizeof(sockaddr_un::sun_path) - 1) + ")";
    return nullptr;
  }
  if (exitRemoval.armed.load()) {
    problem = "this process already listens";
    return nullptr;
  }
  problem = checkPrivateFolder(path.parent_path());
  if (problem.empty()) problem = clearStaleSocket(path, *address);
  if (!problem.empty()) return nullptr;

  FileDescriptor fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  const bool bound = fd.valid() && ::bind(fd.get(), reinterpret_cast<const sockaddr*>(&*address),
                                          sizeof *address) == 0;
  struct stat made {};
  // Only its owner may enter the folder, so the moment before the chmod shows it to nobody.
  if (!bound || ::chmod(path.c_str(), 0600) != 0 || ::listen(fd.get(), 16) != 0 ||
      ::lstat(path.c_str(), &made) != 0) {
    problem = "the socket " + path.string() + " cannot be made (" + reason(errno) + ")";
    if (bound) ::unlink(path.c_str());
    return nullptr;
  }
  std::memcpy(exitRemoval.path, address->sun_path, sizeof exitRemoval.path);
  exitRemoval.device = made.st_dev;
  exitRemoval.inode = made.st_ino;
  exitRemoval.armed.store(true);
  static const bool removedAtExit = std::atexit(&removeAtExit) == 0;
  static_cast<void>(removedAtExit);
  return std::unique_ptr<ListeningSocket>(new ListeningSocket(std::move(fd)));
}

ListeningSocket::~ListeningSocket() {
  removeListeningSocketForExit();
}

FileDescriptor ListeningSocket::accept() {
  return FileDescriptor(::accept4(fd_.get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
}

void removeListeningSocketForExit() {
  if (!exitRemoval.armed.exchange(false)) return;
  struct stat status {};
  // Only the socket this process made: not one a later app put in its place.
  if (::lstat(exitRemoval.path, &status) == 0 && status.st_dev == exitRemoval.device &&
      status.st_ino == exitRemoval.inode) {
    ::unlink(exitRemoval.path);
  }
}

}  // namespace lumora::sim
