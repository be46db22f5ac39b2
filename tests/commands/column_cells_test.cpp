// A UTF-8 line laid out a column a cell: what shifts and overlays move.
#include "commands/column_cells.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kiv {
namespace {

TEST(ColumnCellsTest, WideCharactersTakeTwoCellsAndMarksJoinTheirBase) {
  // "a", a wide character with a combining mark, "e" with one, an invalid
  // byte, a mark at the start of a line of its own.
  std::string text =
      "a\xE6\xBC\xA2\xCC\x81"
      "e\xCC\x81"
      "\xFF";
  std::vector<Cell> cells = toCells(text);
  ASSERT_EQ(cells.size(), 5u);
  EXPECT_EQ(cells[1].bytes, "\xE6\xBC\xA2\xCC\x81");
  EXPECT_EQ(cells[1].cells, 2);
  EXPECT_TRUE(cells[2].second());
  EXPECT_EQ(cells[3].bytes, "e\xCC\x81");
  EXPECT_EQ(cells[4].bytes, "\xFF");
  EXPECT_EQ(toCells("\xCC\x81x").size(), 2u);
  // The bytes come back exactly, whatever they hold.
  for (std::string t : {text, std::string("\xCC\x81x"), std::string("\xE6\xBC"), std::string()})
    EXPECT_EQ(cellsText(toCells(t)), t);
}

TEST(ColumnCellsTest, HalvesOfSplitWideCharactersBecomePads) {
  std::vector<Cell> cells = toCells("\xE6\xBC\xA2x\xE5\xAD\x97");  // two wide characters around "x"
  cells.erase(cells.begin());                                      // the first loses its first half
  cells.pop_back();                                                // the second its second half
  repairCells(cells, ' ');
  EXPECT_EQ(cellsText(cells), " x ");
  std::vector<Cell> whole = toCells("\xE6\xBC\xA2x");
  repairCells(whole, ' ');
  EXPECT_EQ(cellsText(whole), "\xE6\xBC\xA2x");
  EXPECT_TRUE(isPad(padCell('.'), '.'));
  EXPECT_FALSE(isPad(whole[0], ' '));
}

}  // namespace
}  // namespace kiv
