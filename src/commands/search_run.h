// One FIND, CHANGE or EXCLUDE over a task: its parameters, its matcher and
// the lines it covers, with what the three share: the walk over the lines
// in scope, the cursor's place, showing a match, the texts of not-found
// messages and the state kept for the next command.
#pragma once

#include <string>
#include <string_view>

#include "commands/search_match.h"
#include "commands/search_params.h"

namespace kiv {

class Task;
struct Line;

struct SearchRun {
  explicit SearchRun(Task& t) : task(t) {}
  Task& task;
  SearchParams params;
  Matcher matcher;
  Line* first = nullptr;  // the range, inclusive
  Line* last = nullptr;

  // Parses and compiles `text`, loads the file and finds the label range;
  // false after the message.
  bool prepare(std::string_view text, SearchVerb verb);
  // A TEXT line that the excluded filter lets through.
  bool takes(const Line* line) const;
  // The next (previous) line in scope after (before) `line`; null past the range.
  Line* after(Line* line) const;
  Line* before(Line* line) const;
  // The first line in scope from `line` on (back from `line`), `line` included.
  Line* from(Line* line) const;
  Line* backFrom(Line* line) const;
  // "'abc' not found between cols 1 and 80" (or the parameter text, or
  // "EMPTYLINE not found.").
  std::string notFound() const;
  // The string as messages name it.
  std::string shownString() const;
};

// Where the cursor stands in the task's panel: a data line and its 0-based
// data column; line null when the cursor is not on a data line.
struct CursorSpot {
  Line* line = nullptr;
  int column = 0;
};
CursorSpot cursorSpot(Task& task);

// The match (`column`: its byte offset in the line) becomes the task's last
// one: its line is shown (split out of its excluded run), brought onto the
// screen, the cursor put on its column.
void showMatch(Task& task, Line* line, int column, int length);

// Keeps the parameters and strings of a successful FIND or CHANGE for RFIND,
// RCHANGE and "*" (and in ZFIND.LAST.* for the session).
void rememberSearch(Task& task, const SearchParams& params);
// The counts of the last command, for RFIND and ZFIND.LAST.STRINGCOUNT.
void publishCounts(Task& task, long occurrences, long lines);

}  // namespace kiv
