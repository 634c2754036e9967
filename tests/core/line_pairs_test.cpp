// The key/value line-pair reader over every kind of line end.
#include "core/line_pairs.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/test_files.h"

namespace {

using namespace tessera;
using Pairs = std::vector<std::pair<std::string, std::string>>;

Pairs read_pairs(const std::string& path, bool* opened = nullptr) {
  Pairs pairs;
  const bool ok = read_line_pairs(path, [&](const std::string& key, const std::string& value) {
    pairs.emplace_back(key, value);
  });
  if (opened != nullptr) *opened = ok;
  return pairs;
}

TEST(LinePairs, AnyLineEndAndAnOddLineCount) {
  testfiles::TempDir dir;
  struct Case {
    const char* bytes;
    Pairs expected;
  };
  const Case cases[] = {
      {"A\r\n1\r\nB\r\n2\r\n", {{"A", "1"}, {"B", "2"}}},
      {"A\n1\nB\n2\n", {{"A", "1"}, {"B", "2"}}},
      {"A\r1\rB\r2\r", {{"A", "1"}, {"B", "2"}}},
      {"A\r1\nB\r\n2", {{"A", "1"}, {"B", "2"}}},
      {"A\r\n1\r\nB\r\n", {{"A", "1"}, {"B", ""}}},
      {"A\r\n1\r\nB", {{"A", "1"}, {"B", ""}}},
      {"A\r\n\r\nB\r\n2\r\n", {{"A", ""}, {"B", "2"}}},
      {"A\n\rB\n2", {{"A", ""}, {"B", "2"}}},  // LF then CR is two line ends
      {" A \r\n value with blanks \r\n", {{" A ", " value with blanks "}}},
      {"", {}},
  };
  for (const Case& c : cases) {
    const std::string path = dir.file("pairs.txt");
    testfiles::write_text(path, c.bytes);
    bool opened = false;
    EXPECT_EQ(read_pairs(path, &opened), c.expected) << testing::PrintToString(std::string(c.bytes));
    EXPECT_TRUE(opened);
  }
}

TEST(LinePairs, MissingFileIsReportedAndGivesNoPairs) {
  testfiles::TempDir dir;
  bool opened = true;
  EXPECT_TRUE(read_pairs(dir.path + "absent.txt", &opened).empty());
  EXPECT_FALSE(opened);
}

}  // namespace
