#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/Console.h"

// What the harnesses share: a folder of their own for the files they read and write, and a
// console that counts what would reach standard error.
namespace lumora::fuzz {

class CountingConsole final : public platform::Console {
 public:
  void printLine(std::string_view) override {}
  void printErrorLine(std::string_view) override { ++errors; }
  int errors = 0;
};

// A fresh, empty folder in memory where the system has one; made once per process.
inline const std::filesystem::path& scratchFolder() {
  static const std::filesystem::path folder = [] {
    const std::string base = std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp";
    std::string pattern = base + "/lumora-fuzz-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    return std::filesystem::path(pattern);
  }();
  return folder;
}

inline void emptyScratchFolder() {
  for (const auto& entry : std::filesystem::directory_iterator(scratchFolder()))
    std::filesystem::remove_all(entry.path());
}

inline void writeBytes(const std::filesystem::path& path, const std::uint8_t* data,
                       std::size_t size) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
  std::fclose(file);
}

inline std::string readBytes(const std::filesystem::path& path) {
  std::string text;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return text;
  char buffer[65536];
  std::size_t count;
  while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0)
    text.append(buffer, count);
  std::fclose(file);
  return text;
}

// A finding: libFuzzer keeps the input that led here.
[[noreturn]] inline void fail(const char* what) {
  std::fprintf(stderr, "property broken: %s\n", what);
  std::abort();
}

}  // namespace lumora::fuzz
