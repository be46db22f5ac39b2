#include <gtest/gtest.h>

#include <set>
#include <string>

#include "commands/line_command_table.h"

namespace kiv {
namespace {

// Every name finds its own row, codes come in the table's order, and only
// the four keeping commands keep.
TEST(LineCommandTable, EveryNameFindsItsRowInOrder) {
  int previous = -1;
  std::set<int> codes;
  std::set<std::string> keeping;
  for (const LcEntry& e : lineCommandTable()) {
    ASSERT_EQ(findLineCommand(e.name), &e) << e.name;
    EXPECT_GE(static_cast<int>(e.code), previous) << e.name;
    previous = static_cast<int>(e.code);
    codes.insert(previous);
    if (e.keep) keeping.insert(std::string(e.name));
  }
  EXPECT_EQ(codes.size(), 52u);
  EXPECT_EQ(keeping, (std::set<std::string>{"AK", "BK", "OK", "OOK"}));
  EXPECT_EQ(findLineCommand("cc"), nullptr) << "lookup is exact: the field is upper-cased first";
  EXPECT_EQ(lineCommandName(Lc::LowerBlock), "LCC");
  EXPECT_TRUE(findLineCommand("X")->browse);
  EXPECT_FALSE(findLineCommand("D")->browse);
}

}  // namespace
}  // namespace kiv
