// The layers depend one way only: app -> ui -> display -> platform, and the core never reaches a
// backend. A wrong include compiles fine, so the rule is checked here, over every source file.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace lumora {
namespace {

namespace fs = std::filesystem;

struct Rule {
  std::string folder;                  // files under src/ whose path starts with this
  std::vector<std::string> forbidden;  // include paths they must not start with
};

const std::vector<Rule> rules{
    {"display/", {"app/", "ui/", "platform/macos/", "platform/sim/", "platform/posix/"}},
    {"ui/", {"app/", "platform/macos/", "platform/sim/", "platform/posix/"}},
    {"app/", {"platform/macos/", "platform/sim/", "platform/posix/"}},
    // Backends translate for the core; they never call into it.
    {"platform/", {"app/", "ui/", "display/"}},
    {"platform/sim/machine/", {"platform/sim/Sim", "platform/sim/frontends/"}},
    {"platform/sim/Sim", {"platform/sim/frontends/"}},
    {"platform/sim/frontends/headless/", {"platform/sim/frontends/terminal/"}},
    {"platform/sim/frontends/terminal/", {"platform/sim/frontends/headless/"}},
};

// The interfaces in platform/ itself, as opposed to its backends' folders.
bool isInterface(const std::string& path) {
  return path.starts_with("platform/") && path.find('/', 9) == std::string::npos;
}

std::vector<std::string> includesOf(const fs::path& file) {
  static const std::regex include(R"re(^\s*#\s*(?:include|import)\s*"([^"]+)")re");
  std::vector<std::string> found;
  std::ifstream in(file);
  std::smatch match;
  for (std::string line; std::getline(in, line);) {
    if (std::regex_search(line, match, include)) found.push_back(match[1].str());
  }
  return found;
}

TEST(IncludeDirectionTest, EveryLayerIncludesOnlyWhatIsBelowIt) {
  const fs::path source = fs::path(LUMORA_SOURCE_DIR) / "src";
  int filesRead = 0;
  for (const auto& entry : fs::recursive_directory_iterator(source)) {
    const std::string extension = entry.path().extension().string();
    if (extension != ".h" && extension != ".cpp" && extension != ".mm") continue;
    const std::string path = fs::relative(entry.path(), source).generic_string();
    ++filesRead;
    for (const std::string& included : includesOf(entry.path())) {
      EXPECT_TRUE(fs::exists(source / included))
          << path << " includes " << included << ", which is not rooted at src/";
      if (isInterface(path)) {
        EXPECT_FALSE(included.starts_with("platform/macos/") ||
                     included.starts_with("platform/sim/") ||
                     included.starts_with("platform/posix/"))
            << path << " is an interface and includes the backend file " << included;
      }
      for (const Rule& rule : rules) {
        if (!path.starts_with(rule.folder)) continue;
        for (const std::string& prefix : rule.forbidden) {
          EXPECT_FALSE(included.starts_with(prefix)) << path << " includes " << included;
        }
      }
    }
  }
  EXPECT_GT(filesRead, 50);
}

}  // namespace
}  // namespace lumora
