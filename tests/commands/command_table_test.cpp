#include "commands/command_table.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "commands/command_split.h"
#include "commands/task_commands.h"

namespace kiv {
namespace {

// Each table is sorted (so its names are unique), every entry has a handler
// and a verb short enough to be found, and lookup finds each one. The verbs
// themselves are met by the cases; here their number and the unlisted ones.
TEST(CommandTables, SortedWithHandlersAndTheUnlistedVerbs) {
  const std::pair<TableKind, std::size_t> sizes[] = {
      {TableKind::Dialog, 7}, {TableKind::Edit, 72}, {TableKind::FileList, 39},
      {TableKind::General, 130}};
  for (auto [kind, size] : sizes) {
    std::span<const CommandEntry> table = commandTable(kind);
    ASSERT_EQ(table.size(), size);
    for (std::size_t i = 0; i < table.size(); ++i) {
      const CommandEntry& e = table[i];
      SCOPED_TRACE(std::string(e.name));
      EXPECT_NE(e.run, nullptr);
      EXPECT_LE(e.name.size(), kMaxVerbLength);
      if (i > 0) {
        EXPECT_LT(table[i - 1].name, e.name);
      }
      EXPECT_EQ(lookupVerb(table, e.name), &e);
    }
  }
  auto listed = [](TableKind kind, std::string_view verb) {
    return lookupVerb(commandTable(kind), verb)->listed;
  };
  EXPECT_TRUE(listed(TableKind::Dialog, "UP") && listed(TableKind::Edit, "FIND"));
  for (std::string_view verb : {"HELP", "SHOWRAM", "TABS"})
    EXPECT_FALSE(listed(TableKind::Edit, verb));
  for (std::string_view verb : {"CHANGE", "HELP", "RECURSTOGGLE", "SAVEPROJ", "SEARCH"})
    EXPECT_FALSE(listed(TableKind::FileList, verb));
  EXPECT_TRUE(listed(TableKind::General, "WINDOWSAVE"));
  EXPECT_FALSE(listed(TableKind::General, "3270ENTER") || listed(TableKind::General, "VARSET"));
}

// Codes are unique within a table except for the names that share one.
TEST(CommandTables, CodesUniqueExceptSharedOnes) {
  const std::set<std::pair<std::string, std::string>> shared = {
      {"FIND", "SEARCH"}, {"SPLITF", "SPLITH"}, {"SPLITF", "SPLITV"}, {"SPLITH", "SPLITV"}};
  for (TableKind kind :
       {TableKind::Dialog, TableKind::Edit, TableKind::FileList, TableKind::General}) {
    std::span<const CommandEntry> table = commandTable(kind);
    for (std::size_t i = 0; i < table.size(); ++i)
      for (std::size_t j = i + 1; j < table.size(); ++j) {
        bool mayShare = shared.count({std::string(table[i].name), std::string(table[j].name)});
        EXPECT_EQ(table[i].code == table[j].code, mayShare)
            << table[i].name << " " << table[j].name;
      }
  }
}

TEST(CommandTables, LookupIsExact) {
  std::span<const CommandEntry> edit = commandTable(TableKind::Edit);
  EXPECT_NE(lookupVerb(edit, "FIND"), nullptr);
  EXPECT_EQ(lookupVerb(edit, "FIN"), nullptr);
  EXPECT_EQ(lookupVerb(edit, "FINDX"), nullptr);
  EXPECT_EQ(lookupVerb(edit, "find"), nullptr);
  EXPECT_EQ(lookupVerb(edit, ""), nullptr);
  EXPECT_EQ(lookupVerb(edit, std::string(40, 'A')), nullptr);
}

TEST(CommandTables, PrimaryCommandsLeaveOutTheDialogTable) {
  EXPECT_TRUE(isPrimaryCommand("FIND"));          // edit
  EXPECT_TRUE(isPrimaryCommand("MAKEDIR"));       // file list
  EXPECT_TRUE(isPrimaryCommand("SAVEPROJ"));      // file list, not listed
  EXPECT_TRUE(isPrimaryCommand("XLATETBLEDIT"));  // general
  EXPECT_FALSE(isPrimaryCommand("F"));
  EXPECT_FALSE(isPrimaryCommand("find"));
  EXPECT_FALSE(isPrimaryCommand("NOSUCHVERB"));
}

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

// The commands that take a file name are cases: task-commands/open-bounds-
// save-end-then-the-general-table (a quoted name among them).
TEST(CommandSplit, UnquotedDropsOnePairOfEnclosingQuotes) {
  EXPECT_EQ(unquoted("'a b'"), "a b");
  EXPECT_EQ(unquoted("\"x\"  "), "x");
  EXPECT_EQ(unquoted("'unclosed"), "'unclosed");
  EXPECT_EQ(unquoted("'"), "'");
  EXPECT_EQ(unquoted("plain"), "plain");
}

}  // namespace
}  // namespace kiv
