#include "platform/sim/machine/AtomicFile.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>

#include "platform/sim/machine/FileDescriptor.h"

namespace lumora::sim {
namespace {

bool writeAll(int fd, std::string_view bytes) {
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t count = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (count < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    written += static_cast<std::size_t>(count);
  }
  return true;
}

std::string failure(const std::filesystem::path& path, int error) {
  return "cannot write " + path.string() + ": " + std::strerror(error);
}

}  // namespace

std::optional<std::string> writeFileAtomically(const std::filesystem::path& path,
                                               std::string_view bytes) {
  std::error_code folderError;
  std::filesystem::create_directories(path.parent_path(), folderError);
  if (folderError) return failure(path, folderError.value());

  std::filesystem::path temporaryName = ".";
  temporaryName += path.filename();
  temporaryName += ".XXXXXX";
  std::string temporary = (path.parent_path() / temporaryName).string();
  const FileDescriptor fd(::mkstemp(temporary.data()));
  if (!fd.valid()) return failure(path, errno);
  if (!writeAll(fd.get(), bytes) || ::fsync(fd.get()) != 0 ||
      ::rename(temporary.c_str(), path.c_str()) != 0) {
    const int error = errno;
    ::unlink(temporary.c_str());
    return failure(path, error);
  }
  return std::nullopt;
}

}  // namespace lumora::sim
