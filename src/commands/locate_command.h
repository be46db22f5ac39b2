// LOCATE on an edit task: the display goes to a line given by its number,
// optionally with the cursor in a data column. Labels and line kinds come
// with find and change; until then LOCATE says so.
#pragma once

#include <string_view>

#include "commands/command_table.h"

namespace kiv {

class EditPanel;

// Digits only, at most kMaxLocateNumber (longer digit strings saturate);
// false for anything else.
inline constexpr long kMaxLocateNumber = 2'000'000'000;
bool readLocateNumber(std::string_view text, long& value);

// Data line `number` (the n-th TEXT line, loading as needed) on the first
// data row, the cursor on its row in the first data cell; a number past
// the end shows the last line, 0 the top of the data.
void locateLine(EditPanel& panel, long number);

// Puts the cursor in data column `column` (1-based) of its row, with a
// line-command field `prefixWidth` cells wide in front of the data, after
// scrolling left or right when the column is not shown.
void putCursorInColumn(EditPanel& panel, int column, int prefixWidth);

// LOCATE n [col] (the column after blanks or a comma).
void locateCommand(CommandContext& ctx);

}  // namespace kiv
