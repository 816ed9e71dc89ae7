#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace lumora::sim {

// The bytes of a small regular file, read whole; none when it is not a regular file, cannot be
// read, or holds more than `maximumBytes`. Opened without blocking, as anything may have been put
// in its place (a FIFO is not waited on).
std::optional<std::string> readSmallFile(const std::filesystem::path& path,
                                         std::size_t maximumBytes);

}  // namespace lumora::sim
