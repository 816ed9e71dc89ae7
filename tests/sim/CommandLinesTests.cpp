// Standard input cut into command lines, however it arrives, with a cap on a line's length.

#include <gtest/gtest.h>

#include "platform/sim/frontends/headless/CommandLines.h"

namespace lumora::sim {
namespace {

constexpr std::size_t cap = CommandLines::maximumLength;

std::vector<CommandLines::Line> fed(const std::vector<std::string>& pieces, bool end = false) {
  CommandLines lines;
  std::vector<CommandLines::Line> out;
  for (const std::string& piece : pieces)
    lines.take(piece, out);
  if (end) lines.finish(out);
  return out;
}

TEST(CommandLinesTest, LinesAreWholeWhereverTheReadsSplitThem) {
  const auto lines = fed({"sta", "tus\npick 12", "50\n\nmen", "u"}, true);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].text, "status");
  EXPECT_EQ(lines[1].text, "pick 1250");
  EXPECT_EQ(lines[2].text, "");
  EXPECT_EQ(lines[3].text, "menu") << "the last line needs no line feed";
  for (const auto& line : lines)
    EXPECT_EQ(line.droppedLength, 0u);
  EXPECT_TRUE(fed({"menu"}).empty()) << "not a line until its end";
}

TEST(CommandLinesTest, ALineLongerThanTheCapIsDroppedWithItsLengthAndTheNextOneIsKept) {
  const std::string longest(cap, 'a');
  auto lines = fed({longest + "\n"});
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].text.size(), cap) << "a line of exactly the cap is kept";

  // Over the cap, in pieces that each fit, then the next line.
  const std::string half(cap / 2 + 1, 'b');
  lines = fed({half, half, half + "\nstatus\n"});
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].droppedLength, 3 * half.size());
  EXPECT_TRUE(lines[0].text.empty());
  EXPECT_EQ(lines[1].text, "status");

  // At the end of the input, without a line feed.
  lines = fed({std::string(cap + 1, 'c')}, true);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].droppedLength, cap + 1);
}

}  // namespace
}  // namespace lumora::sim
