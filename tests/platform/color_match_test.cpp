#include "platform/color_match.h"

#include <gtest/gtest.h>

namespace kiv::platform {
namespace {

TEST(DisplayColours, EveryCubeAndGreyColourIsItsOwnNearest) {
  for (int i = 16; i < 256; ++i) {
    EXPECT_EQ(nearestXterm256(xtermColor(i)), i) << "colour " << i;
  }
  EXPECT_EQ(xtermColor(-1), Rgb{});
  EXPECT_EQ(xtermColor(256), Rgb{});
}

TEST(DisplayColours, NearestOf256ForTypicalPaletteColours) {
  EXPECT_EQ(nearestXterm256({0, 0, 0}), 16);  // the cube's black, not a grey
  EXPECT_EQ(nearestXterm256({255, 255, 255}), 231);
  EXPECT_EQ(nearestXterm256({255, 0, 0}), 196);
  EXPECT_EQ(nearestXterm256({0, 0, 170}), 19);    // (0, 0, 175)
  EXPECT_EQ(nearestXterm256({170, 85, 0}), 130);  // (175, 95, 0)
  EXPECT_EQ(nearestXterm256({128, 128, 128}), 244);
  EXPECT_EQ(nearestXterm256({40, 40, 40}), 235);  // a dark grey takes the ramp
  EXPECT_EQ(nearestXterm256({250, 250, 250}), 231);
}

TEST(DisplayColours, AnsiAndDirectColours) {
  EXPECT_EQ(nearestAnsi({0, 0, 0}, 8), 0);
  EXPECT_EQ(nearestAnsi({255, 255, 255}, 16), 15);
  EXPECT_EQ(nearestAnsi({255, 255, 255}, 8), 7);
  EXPECT_EQ(nearestAnsi({0, 0, 170}, 8), 4);
  EXPECT_EQ(nearestAnsi({255, 85, 85}, 16), 9);
  EXPECT_EQ(directColor({0x12, 0x34, 0x56}), 0x123456u);
  EXPECT_EQ(directColor({0, 0, 0}), 0x000100u);  // never an ANSI number
  EXPECT_GE(directColor({0, 0, 7}), 8u);
}

}  // namespace
}  // namespace kiv::platform
