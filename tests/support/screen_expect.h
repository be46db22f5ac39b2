// Golden screens: the grid the headless platform drew last, compared with an
// expected screen written as text. Each row ends in "|" so trailing blanks
// show; "^" stands on the cursor's cell; "{X:text}" says the run was drawn
// in the colours of the scheme element with letter X (cells outside such
// runs are compared by character only); "|*N" repeats a row N times.
// Characters stand as they are drawn: a wide one (CJK, emoji) is written
// once and takes two cells, combining marks follow their base character
// (at most two, as a cell keeps), "░" is a half of a wide character whose
// other half is not shown, "◌" the base of a mark that has none. "^" on a
// wide character stands for both its cells.
// Letters: E EditText, B BrowseText, N LineNumbers, C LineCommands,
// L LineLabels, T TOFBOFLine, R RulerLine, X ExcludeLine, H HexLine,
// M MessageLine, S StatusLine, A DialogLabel, I DialogInput, U DialogButton,
// F FoundText, V VoidArea, O NoteLine, Z SelectedText.
#pragma once

#include <gtest/gtest.h>

#include <string_view>

#include "platform/headless_platform.h"
#include "screen/colour_scheme.h"

namespace kiv::test {

::testing::AssertionResult screenMatches(const platform::HeadlessPlatform& platform,
                                         std::string_view expected,
                                         const ColourScheme& scheme = builtinScheme());

// The drawn screen in the same notation (no colour runs), ready to paste.
std::string screenText(const platform::HeadlessPlatform& platform);

}  // namespace kiv::test

#define EXPECT_SCREEN(platform, text) EXPECT_TRUE(::kiv::test::screenMatches((platform), (text)))
