#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace lumora::sim {

// Why a write failed: the kind, to report each kind once, and the words for the user.
struct WriteFailure {
  enum class Kind {
    folder,
    readOnly,
    keptInPlace,
    folderReplaced,
    create,
    write,
    replace,
    exiting
  };
  Kind kind;
  int error = 0;  // errno, where there is one
  std::string reason;

  friend bool operator==(const WriteFailure& a, const WriteFailure& b) {
    return a.kind == b.kind && a.error == b.error;
  }
};

// Replaces the file's content at once: the bytes go to a temporary file beside it, which is
// flushed to disk and then renamed over it, so that the file is always either whole and old or
// whole and new. A symbolic link is followed and its target replaced; the file keeps its mode;
// a file without write permission is not written, and neither is anything but a regular file
// (a device, a FIFO, a folder). Makes the folder when it is missing. Returns
// why it failed, or none.
std::optional<WriteFailure> writeFileAtomically(const std::filesystem::path& path,
                                                std::string_view bytes);

// The file a path names, through any symbolic links; a dangling link names the file it would
// point to.
std::filesystem::path resolvedFile(const std::filesystem::path& path);

// Removes the temporary files that writers of `file` left behind in its folder when they ended
// in the middle of a write (killed, or their machine stopped), once those writers are gone.
void removeLeftoverTemporaryFiles(const std::filesystem::path& file);

// For a process that is about to end without unwinding: waits for a write in progress to finish,
// so that no temporary file is left, and refuses every write after it. Any thread.
void finishWritesForExit();

}  // namespace lumora::sim
