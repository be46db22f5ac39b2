#include "commands/command_split.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kiv {
namespace {

using ::testing::ElementsAre;

TEST(CommandSplit, EmptyPiecesDroppedTrailingBlanksKept) {
  EXPECT_THAT(splitCommandText("F abc;;; ;RFIND"), ElementsAre("F abc", "RFIND"));
  EXPECT_THAT(splitCommandText("  up 5  ;  down "), ElementsAre("up 5  ", "down "));
  EXPECT_THAT(splitCommandText(";;;"), ElementsAre());
  EXPECT_THAT(splitCommandText("   "), ElementsAre());
}

TEST(CommandSplit, QuotesProtectSemicolons) {
  EXPECT_THAT(splitCommandText("C 'a;b' 'x'"), ElementsAre("C 'a;b' 'x'"));
  EXPECT_THAT(splitCommandText("F \"it's;\";NOP"), ElementsAre("F \"it's;\"", "NOP"));
  // An unclosed quote runs to the end of the text.
  EXPECT_THAT(splitCommandText("F 'a;b;c"), ElementsAre("F 'a;b;c"));
  EXPECT_THAT(splitCommandText("BROWSE '%s';LOCATE %d;:Z;EXPORT APPEND '%s';END"),
              ElementsAre("BROWSE '%s'", "LOCATE %d", ":Z", "EXPORT APPEND '%s'", "END"));
}

TEST(CommandSplit, VerbUpperCasedParamsAsTyped) {
  VerbAndParams vp = splitVerb("find   aBc def ");
  EXPECT_EQ(vp.verb, "FIND");
  EXPECT_EQ(vp.params, "aBc def ");
  vp = splitVerb("nop");
  EXPECT_EQ(vp.verb, "NOP");
  EXPECT_TRUE(vp.params.empty());
  vp = splitVerb("x    ");
  EXPECT_EQ(vp.verb, "X");
  EXPECT_TRUE(vp.params.empty());
}

}  // namespace
}  // namespace kiv
