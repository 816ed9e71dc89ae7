#include "platform/sim/machine/AtomicFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <system_error>

#include "platform/sim/machine/FileDescriptor.h"
#include "platform/sim/machine/FileKind.h"
#include "platform/sim/machine/ProcessIdentity.h"

namespace lumora::sim {
namespace {

namespace fs = std::filesystem;

// Held for the whole of every write, so that the exit path can wait for one in progress.
std::mutex writes;
bool exiting = false;  // guarded by `writes`

WriteFailure failure(WriteFailure::Kind kind, int error, const std::string& what) {
  return WriteFailure{
      kind, error, what + (error != 0 ? std::string(": ") + std::strerror(error) : std::string())};
}

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

}  // namespace

fs::path resolvedFile(const fs::path& path) {
  fs::path current = path;
  for (int hops = 0; hops < 40; ++hops) {
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(current, error))) return current;
    const fs::path target = fs::read_symlink(current, error);
    if (error) return current;
    current = target.is_absolute() ? target : current.parent_path() / target;
  }
  return current;
}

namespace {

// What a new file gets, as open(2) would give it.
mode_t newFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return static_cast<mode_t>(0666 & ~mask);
}

// ".display.plist.<pid>-<start time>." followed by mkstemp's six characters: the writer can be
// told from the name, so a later start can tell whether it is gone.
std::string temporaryPrefix(const fs::path& file) {
  std::string prefix(1, '.');
  prefix += file.filename().string();
  prefix += '.';
  return prefix;
}

std::string temporaryPattern(const fs::path& file) {
  const ProcessIdentity self = ProcessIdentity::current();
  return (file.parent_path() / (temporaryPrefix(file) + std::to_string(self.pid) + "-" +
                                std::to_string(self.startTime) + ".XXXXXX"))
      .string();
}

// The writer named by a temporary file's name, when it has one.
std::optional<ProcessIdentity> writerOf(std::string_view suffix) {
  const std::size_t dash = suffix.find('-');
  const std::size_t dot = suffix.find('.', dash == std::string_view::npos ? 0 : dash);
  if (dash == std::string_view::npos || dot == std::string_view::npos || suffix.size() - dot != 7) {
    return std::nullopt;
  }
  const std::string pid(suffix.substr(0, dash));
  const std::string start(suffix.substr(dash + 1, dot - dash - 1));
  if (pid.empty() || start.empty() || pid.find_first_not_of("0123456789") != std::string::npos ||
      start.find_first_not_of("0123456789") != std::string::npos || pid.size() > 9 ||
      start.size() > 18) {
    return std::nullopt;
  }
  return ProcessIdentity{static_cast<pid_t>(std::stol(pid)), std::stoll(start)};
}

}  // namespace

std::optional<WriteFailure> writeFileAtomically(const fs::path& path, std::string_view bytes) {
  const std::lock_guard lock(writes);
  if (exiting) return WriteFailure{WriteFailure::Kind::exiting, 0, "the app is ending"};

  const fs::path target = resolvedFile(path);
  std::error_code folderError;
  fs::create_directories(target.parent_path(), folderError);
  if (folderError) {
    return failure(WriteFailure::Kind::folder, folderError.value(),
                   "cannot make the folder " + target.parent_path().string());
  }

  struct stat existing {};
  const bool exists = ::stat(target.c_str(), &existing) == 0;
  // A device, FIFO or folder there is never renamed over: only a regular file is replaced.
  if (exists && !S_ISREG(existing.st_mode)) {
    return WriteFailure{WriteFailure::Kind::replace, S_ISDIR(existing.st_mode) ? EISDIR : EINVAL,
                        "cannot replace " + fileKindName(existing.st_mode)};
  }
  if (exists && (existing.st_mode & S_IWUSR) == 0) {
    return WriteFailure{WriteFailure::Kind::readOnly, 0, "the file is read-only"};
  }
  const mode_t mode = exists ? static_cast<mode_t>(existing.st_mode & 07777) : newFileMode();

  std::string temporary = temporaryPattern(target);
  const FileDescriptor fd(::mkstemp(temporary.data()));
  if (!fd.valid()) {
    return failure(WriteFailure::Kind::create, errno,
                   "cannot make a file in " + target.parent_path().string());
  }
  ::fchmod(fd.get(), mode);
  if (!writeAll(fd.get(), bytes) || ::fsync(fd.get()) != 0) {
    const int error = errno;
    ::unlink(temporary.c_str());
    return failure(WriteFailure::Kind::write, error, "cannot write");
  }
  if (::rename(temporary.c_str(), target.c_str()) != 0) {
    const int error = errno;
    ::unlink(temporary.c_str());
    return failure(WriteFailure::Kind::replace, error, "cannot replace the file");
  }
  return std::nullopt;
}

void removeLeftoverTemporaryFiles(const fs::path& file) {
  const fs::path target = resolvedFile(file);
  const std::string prefix = temporaryPrefix(target);
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(target.parent_path(), error)) {
    const std::string name = entry.path().filename().string();
    if (!name.starts_with(prefix) || !entry.is_regular_file(error)) continue;
    const std::string suffix = name.substr(prefix.size());
    if (const std::optional<ProcessIdentity> writer = writerOf(suffix)) {
      if (!writer->isRunning()) fs::remove(entry.path(), error);
      continue;
    }
    // Earlier versions named them with mkstemp's six characters alone; their writers are long
    // gone once the file has not changed for a while.
    const bool earlierNaming = suffix.size() == 6 && suffix.find('.') == std::string::npos;
    const auto age = fs::file_time_type::clock::now() - entry.last_write_time(error);
    if (earlierNaming && !error && age > std::chrono::minutes(10)) fs::remove(entry.path(), error);
  }
}

void finishWritesForExit() {
  const std::lock_guard lock(writes);
  exiting = true;
}

}  // namespace lumora::sim
