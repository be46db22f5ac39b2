// The kinds of line LOCATE finds by keyword: changed lines, lines with an
// unprocessed line command, labelled, non-excluded, special and excluded
// lines. Only lines the panel shows are found: a line inside an excluded run
// is stood for by its marker.
#pragma once

#include <string_view>

namespace kiv {

class Task;
struct Line;

struct LocateKind {
  std::string_view prefix;  // the keyword's first letters
  bool (*matches)(const Line* line);
  std::string_view id;        // message identifier, may be empty
  std::string_view notFound;  // the message when no line follows
  bool loads;                 // the kind can stand in a part not loaded yet
};

// The kind a keyword (upper case) names by its first letters; null when none.
const LocateKind* locateKindOf(std::string_view keyword);

// The first line after `from` of the kind that the panel shows; null when
// none.
Line* nextOfKind(Task& task, Line* from, const LocateKind& kind);

}  // namespace kiv
