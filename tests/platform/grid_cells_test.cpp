// Cells that hold more than one code point's worth: wide characters over two
// cells, combining marks on their base, and what is drawn when one half of a
// wide character is overwritten or cut by the grid's edge.
#include <gtest/gtest.h>

#include "platform/grid.h"

namespace kiv::platform {
namespace {

TEST(GridCells, AWideCharacterTakesItsCellAndTheNext) {
  Grid g(2, 6);
  g.setWide(0, 1, U'\u6F22', 0x1E);
  EXPECT_EQ(g.shown(0, 1), (Cell{U'\u6F22', 0x1E, 2}));
  EXPECT_EQ(g.shown(0, 2).width, 0);
  EXPECT_EQ(g.shown(0, 2).attr, 0x1E);
  // At the last column there is no room for the right half.
  g.setWide(1, 5, U'\u6F22', 0x1E);
  EXPECT_EQ(g.shown(1, 5), (Cell{kCutWide, 0x1E}));
}

TEST(GridCells, AHalfWhoseOtherHalfIsOverwrittenShowsThePlaceholder) {
  Grid g(1, 8);
  g.setWide(0, 0, U'\u6F22', 0x70);
  g.setWide(0, 4, U'\u5B57', 0x70);
  g.set(0, 1, Cell{U'x', 0x70});  // over the first one's right half
  g.set(0, 4, Cell{U'y', 0x70});  // over the second one's left half
  EXPECT_EQ(g.shown(0, 0), (Cell{kCutWide, 0x70}));
  EXPECT_EQ(g.shown(0, 1), (Cell{U'x', 0x70}));
  EXPECT_EQ(g.shown(0, 4), (Cell{U'y', 0x70}));
  EXPECT_EQ(g.shown(0, 5), (Cell{kCutWide, 0x70}));
}

TEST(GridCells, ACellKeepsTwoMarksInOrder) {
  Cell c{U'e', 0x70};
  c.addMark(U'\u0301');
  c.addMark(U'\u0323');
  c.addMark(U'\u0308');  // a third is not shown
  EXPECT_EQ(c.marks()[0], U'\u0301');
  EXPECT_EQ(c.marks()[1], U'\u0323');
  EXPECT_NE(c, (Cell{U'e', 0x70}));
}

}  // namespace
}  // namespace kiv::platform
