// The macOS backend's delegate bridge answers exactly the selectors that menu entries send. It
// cannot be built here, so its source is read: a missing method would leave an entry disabled.

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace lumora {
namespace {

std::string source(const std::string& relativePath) {
  std::ifstream in(std::string(LUMORA_SOURCE_DIR) + "/" + relativePath);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::set<std::string> matches(const std::string& text, const std::regex& pattern) {
  std::set<std::string> found;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern);
       it != std::sregex_iterator(); ++it) {
    found.insert((*it)[1].str() + (*it)[2].str());
  }
  return found;
}

TEST(MacBridgeSelectorsTest, TheBridgeForwardsEverySelectorTheMenuSends) {
  const std::set<std::string> sent =
      matches(source("src/ui/MenuSelectors.h"), std::regex(R"re(StaticText \w+ = "(\w+)(:?)")re"));
  // Forwarding methods: "- (void)setNits:(id)sender {" or "- (void)toggleXDR {".
  const std::set<std::string> forwarded = matches(
      source("src/platform/macos/MacApplication.mm"),
      std::regex(
          R"re(-\s*\(void\)\s*(\w+)(:?)(?:\s*\(id\)\s*\w+)?\s*\{\s*\[self forwardAction)re"));
  EXPECT_EQ(sent.size(), 10u);
  EXPECT_EQ(forwarded, sent);
}

}  // namespace
}  // namespace lumora
