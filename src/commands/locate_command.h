// LOCATE on an edit task: the display goes to a line given by its number
// (optionally with the cursor in a data column), by its label, or to the next
// line of a kind (changed, pending line command, labelled, non-excluded,
// special, excluded).
#pragma once

#include <string_view>

#include "commands/command_table.h"

namespace kiv {

class EditPanel;
struct Line;

// Digits only, at most kMaxLocateNumber (longer digit strings saturate);
// false for anything else.
inline constexpr long kMaxLocateNumber = 2'000'000'000;
bool readLocateNumber(std::string_view text, long& value);

// Data line `number` (the n-th TEXT line, loading as needed) on the first
// data row, the cursor on its row in the first data cell; a number past
// the end shows the last line, 0 the top of the data.
void locateLine(EditPanel& panel, long number);
// `line` on the first data row, the cursor on its row in the first data
// cell; a hidden line is shown by what stands for it (its excluded marker,
// or the nearest shown line above).
void showLineAtTop(EditPanel& panel, Line* line);

// Puts the cursor in data column `column` (1-based) of its row, with a
// line-command field `prefixWidth` cells wide in front of the data, after
// scrolling left or right when the column is not shown.
void putCursorInColumn(EditPanel& panel, int column, int prefixWidth);

// LOCATE n [col] (the column after blanks or a comma), LOCATE .label,
// LOCATE keyword.
void locateCommand(CommandContext& ctx);

}  // namespace kiv
