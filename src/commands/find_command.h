// FIND and RFIND; the search steps CHANGE and EXCLUDE share with them.
#pragma once

#include <optional>

#include "commands/command_table.h"
#include "commands/search_run.h"

namespace kiv {

struct Found {
  Line* line;
  SearchMatch match;
};

// The first match at or after column `column` of `line` (0-based), then on
// the following lines in scope.
std::optional<Found> findForward(const SearchRun& run, Line* line, int column);
// The last match that starts before `column` of `line`, then on the lines
// before it.
std::optional<Found> findBackward(const SearchRun& run, Line* line, int column);
// Where a search in `dir` starts: the cursor (one column on when it stands
// on the last match, so that repeated searches step through them), the
// first or the last line of the range.
std::optional<Found> findFromCursor(SearchRun& run, SearchDir dir);

// A FIND or CHANGE with parameters begins: they are kept for RFIND and "*",
// and unless FINDHK ON the earlier highlights go.
void startSearch(Task& task, const SearchParams& params);

void findCommand(CommandContext& ctx);
void findHighlightsCommand(CommandContext& ctx);
void rfindCommand(CommandContext& ctx);

}  // namespace kiv
