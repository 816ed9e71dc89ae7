#include "platform/sim/machine/FileKind.h"

#include <sys/stat.h>

namespace lumora::sim {

std::string fileKindName(mode_t mode) {
  if (S_ISREG(mode)) return "a regular file";
  if (S_ISDIR(mode)) return "a directory";
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISSOCK(mode)) return "a socket";
  if (S_ISCHR(mode)) return "a character device";
  if (S_ISBLK(mode)) return "a block device";
  if (S_ISLNK(mode)) return "a symbolic link";
  return "an unknown kind of file";
}

}  // namespace lumora::sim
