#include "services/format.h"

#include <gtest/gtest.h>

namespace kiv {
namespace {

TEST(Format, SubstitutesPrintfStyleTemplatesAndGroupsThousands) {
  EXPECT_EQ(format("%08d ", 123), "00000123 ");
  EXPECT_EQ(format("[%5s|%-5s|%.2s]", "ab", "cd", "xyz"), "[   ab|cd   |xy]");
  EXPECT_EQ(format("Uknown TAB stop type  %c", 'Q'), "Uknown TAB stop type  Q");
  EXPECT_EQ(format("100%% %ld %u %X", 5L, 7u, 255), "100% 5 7 FF");
  EXPECT_EQ(format("%05d", -42), "-0042");
  EXPECT_EQ(groupThousands(0) + " " + groupThousands(999), "0 999");
  EXPECT_EQ(groupThousands(1000), "1,000");
  EXPECT_EQ(groupThousands(2147000000), "2,147,000,000");
}

TEST(Format, BadTemplatesNeverCrash) {
  EXPECT_EQ(format("%s and %s", "one"), "one and ");
  EXPECT_EQ(format("%d", "text"), "text");
  EXPECT_EQ(format("%s", 12), "12");
  EXPECT_EQ(format("trailing %"), "trailing %");
  EXPECT_EQ(format("%99999999d", 1).size(), 4096u);
  EXPECT_EQ(format("no args", 1, 2), "no args");
}

}  // namespace
}  // namespace kiv
