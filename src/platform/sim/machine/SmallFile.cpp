#include "platform/sim/machine/SmallFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/sim/machine/FileDescriptor.h"

namespace lumora::sim {

std::optional<std::string> readSmallFile(const std::filesystem::path& path,
                                         std::size_t maximumBytes) {
  const FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  struct stat info {};
  if (!fd.valid() || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  std::string text;
  char buffer[4096];
  for (;;) {
    const ssize_t count = ::read(fd.get(), buffer, sizeof buffer);
    if (count == 0) return text;
    if (count < 0 && errno == EINTR) continue;
    if (count < 0 || text.size() + static_cast<std::size_t>(count) > maximumBytes) {
      return std::nullopt;
    }
    text.append(buffer, static_cast<std::size_t>(count));
  }
}

}  // namespace lumora::sim
