#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace lumora::sim {

// Replaces the file's content at once: the bytes go to a temporary file in the same folder,
// which is then renamed over the file. Makes the folder when it is missing. Returns why it
// failed, or none.
std::optional<std::string> writeFileAtomically(const std::filesystem::path& path,
                                               std::string_view bytes);

}  // namespace lumora::sim
