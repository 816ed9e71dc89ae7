// The least program that does what the app's start-up visibly does: it reads the two files of the
// simulated Mac and answers its first command with a status line. Start-up measurements are
// compared with it, run for run.

#include <plist/plist.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string readFile(const std::string& path) {
  std::string text;
  if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
    char buffer[65536];
    std::size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0)
      text.append(buffer, count);
    std::fclose(file);
  }
  return text;
}

plist_t parse(const std::string& text) {
  plist_t root = nullptr;
  plist_from_xml(text.data(), static_cast<std::uint32_t>(text.size()), &root);
  return root;
}

}  // namespace

int main() {
  const char* state = std::getenv("XDG_STATE_HOME");
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (state == nullptr || config == nullptr) return 2;
  const plist_t display = parse(readFile(std::string(state) + "/lumora-virir/display.plist"));
  const plist_t defaults = parse(readFile(std::string(config) + "/lumora-virir/defaults.plist"));
  char line[256];
  if (std::fgets(line, sizeof line, stdin) != nullptr) {
    std::printf("status: %s %s\n", display != nullptr ? "display" : "no display",
                defaults != nullptr ? "defaults" : "no defaults");
    std::fflush(stdout);
  }
  plist_free(display);
  plist_free(defaults);
  return 0;
}
