// The parameters of FIND, CHANGE and EXCLUDE: one parser for the three, so
// that their syntax is one. Strings come plain or quoted (any case), as
// C'..' (exact case), X'..' (hex bytes), P'..' (a picture) or R'..' (a
// regular expression); keywords set the direction, the excluded filter and
// the position rule; numbers give the columns, ".names" a label range.
#pragma once

#include <string>
#include <string_view>

namespace kiv {

class Task;
struct Line;

enum class SearchVerb { Find, Change, Exclude };
enum class SearchDir { Next, Prev, First, Last, All };
enum class ExcludedFilter { Any, Excluded, Shown };
enum class Position { Chars, Prefix, Suffix, Word, Eol, DupLines };
enum class StringKind { Text, Exact, Hex, Picture, Regex };

struct SearchString {
  std::string bytes;  // as typed; hex strings decoded to their bytes
  StringKind kind = StringKind::Text;
  std::string token;  // the token as typed, for messages and for "*"
};

struct SearchParams {
  SearchVerb verb = SearchVerb::Find;
  SearchDir dir = SearchDir::Next;
  ExcludedFilter filter = ExcludedFilter::Any;
  Position position = Position::Chars;
  bool emptyLine = false;
  bool quiet = false;
  int strings = 0;  // strings given: 0, 1 or 2
  SearchString str1;
  SearchString str2;
  int startCol = 0;  // 1-based; 0 when not given
  int endCol = 0;    // 0 when not given
  std::string label1;
  std::string label2;
  std::string text;  // the parameter text as typed
};

// Parses `text` for `verb`; false after the message that refused it.
bool parseSearch(Task& task, std::string_view text, SearchVerb verb, SearchParams& out);

// The columns a search runs between: the given ones (one column: matches
// must start there), else the task's bounds.
struct ColumnRange {
  int start;
  int end;
  bool startOnly;
};
ColumnRange searchColumns(const Task& task, const SearchParams& params);

// The lines a label range covers (the whole file without labels); false
// after "Label '%s' not found.".
bool searchLines(Task& task, const SearchParams& params, Line*& first, Line*& last);

}  // namespace kiv
