#pragma once

#include <sys/types.h>

#include <string>

namespace lumora::sim {

// What a file that is not a regular one is, for the line that says why it is left alone:
// "a directory", "a FIFO", "a socket", "a character device", "a block device", "a symbolic link".
std::string fileKindName(mode_t mode);

}  // namespace lumora::sim
