// The modal message box as the terminal draws it: a framed box centred over
// the grid with the title on its top edge, the text wrapped to the screen and
// a row of buttons. The layout, the painting onto a grid and the answering
// by key or click are pure, so they are tested without a terminal.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/events.h"
#include "platform/grid.h"
#include "platform/platform.h"

namespace kiv::platform {

struct BoxButtonPlace {
  BoxAnswer answer = BoxAnswer::Ok;
  int row = 0;  // 0-based cell of the button's first character
  int col = 0;
  int width = 0;
};

struct MessageBoxLayout {
  BoxButtons kind = BoxButtons::Ok;
  int top = 0;  // the frame, in cells; never larger than the screen
  int left = 0;
  int height = 0;
  int width = 0;
  std::u32string title;
  std::vector<std::u32string> lines;  // the text rows that fit
  std::vector<BoxButtonPlace> buttons;
};

// Colours of the box (attribute bytes: foreground high, background low):
// black on light grey, buttons light grey on black.
inline constexpr std::uint8_t kBoxAttr = 0x07;
inline constexpr std::uint8_t kBoxButtonAttr = 0x70;
// The text is wrapped to at most this many columns on a wide screen.
inline constexpr int kBoxMaxTextWidth = 70;

// Splits the text at line feeds and wraps each line at blanks to `width`
// (at least 1) columns; a word longer than that is cut.
std::vector<std::u32string> wrapText(std::u32string_view text, int width);

MessageBoxLayout layoutMessageBox(int rows, int cols, std::string_view title, std::string_view text,
                                  BoxButtons buttons);

// Draws the box onto the grid (cells outside the grid are left out).
void paintMessageBox(Grid& grid, const MessageBoxLayout& box);

// Y, N, C (and O for an OK box) choose their button, Enter the first one,
// Escape closes a question (Closed) and confirms an OK box.
std::optional<BoxAnswer> boxAnswerForKey(const KeyEvent& key, BoxButtons buttons);

// The button under a click at (row, col), if any.
std::optional<BoxAnswer> boxAnswerAt(const MessageBoxLayout& box, int row, int col);

}  // namespace kiv::platform
