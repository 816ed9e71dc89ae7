#include "platform/sim/machine/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <system_error>

namespace lumora::sim {

std::optional<InstanceLock> InstanceLock::acquire(const std::filesystem::path& folder,
                                                  pid_t& holder) {
  holder = 0;
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);
  const std::filesystem::path path = folder / "instance.lock";
  FileDescriptor fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644));
  if (!fd.valid()) return InstanceLock(FileDescriptor());
  if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
    if (errno != EWOULDBLOCK) return InstanceLock(FileDescriptor());
    char text[24] = {};
    if (::pread(fd.get(), text, sizeof text - 1, 0) > 0) {
      holder = static_cast<pid_t>(std::strtol(text, nullptr, 10));
    }
    return std::nullopt;
  }
  // The holder's number, for the message a second start gives.
  const std::string pid = std::to_string(::getpid()) + "\n";
  if (::ftruncate(fd.get(), 0) == 0) {
    [[maybe_unused]] const ssize_t written = ::pwrite(fd.get(), pid.data(), pid.size(), 0);
  }
  return InstanceLock(std::move(fd));
}

}  // namespace lumora::sim
