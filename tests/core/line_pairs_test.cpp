// The key/value line-pair reader: pairs are positional, whatever the line ends.
#include "core/line_pairs.h"
#include "platform/platform_fixture.h"

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

TEST(LinePairs, AnyLineEndAndAnOddLineCount) {
  testfiles::TempDir dir;
  const std::pair<const char*, Pairs> cases[] = {
      {"A\r\n1\r\nB\r\n2\r\n", {{"A", "1"}, {"B", "2"}}},
      {"A\r1\nB\r\n2", {{"A", "1"}, {"B", "2"}}},
      {"A\r\n1\r\nB", {{"A", "1"}, {"B", ""}}},  // a key on the last line gets an empty value
      {"A\r\n\r\nB\r\n2\r\n", {{"A", ""}, {"B", "2"}}},
      {"A\n\rB\n2", {{"A", ""}, {"B", "2"}}},  // LF then CR is two line ends
      {" A \r\n value with blanks \r\n", {{" A ", " value with blanks "}}},
      {"", {}},
  };
  for (const auto& [bytes, expected] : cases) {
    testfiles::write_text(dir.file("pairs.txt"), bytes);
    Pairs pairs;
    EXPECT_TRUE(read_line_pairs(dir.file("pairs.txt"), [&](const std::string& k, const std::string& v) {
      pairs.emplace_back(k, v);
    }));
    EXPECT_EQ(pairs, expected) << testing::PrintToString(std::string(bytes));
  }
  // A missing file is reported and gives no pairs.
  EXPECT_FALSE(read_line_pairs(dir.path + "absent.txt", [](const std::string&, const std::string&) { FAIL(); }));
}

}  // namespace
