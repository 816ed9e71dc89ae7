#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Pasteboard.h"

namespace lumora::sim {

// The simulated Mac's general pasteboard: a plain-text file in the state folder, which people
// and scripts may read (`paste` prints it), written atomically.
class SimPasteboard final : public platform::Pasteboard {
 public:
  explicit SimPasteboard(std::filesystem::path file) : file_(std::move(file)) {}

  std::optional<std::string> copyText(std::string_view text) override;
  std::optional<std::string> text() override;

  const std::filesystem::path& path() const { return file_; }
  // More than any text the app copies: a larger file is not read.
  static constexpr std::size_t maximumBytes = 4 * 1024 * 1024;

 private:
  std::filesystem::path file_;
};

}  // namespace lumora::sim
