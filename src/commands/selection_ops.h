// What the clipboard and selection commands do with a task's selection:
// its lines in order, its text as the clipboard holds it, and deleting it.
#pragma once

#include <functional>
#include <optional>
#include <string_view>
#include <string>
#include <utility>
#include <vector>

namespace kiv {

class Task;
struct Line;

// The clipboard's mark of text taken from an EBCDIC file (no line end after it).
inline constexpr std::string_view kEbcdicMarker = "***EBCDIC data, do not paste into ASCII field or file***";
// The most a copy may take.
inline constexpr std::size_t kClipboardLimit = 64'000'000;

// The selection's first and last line in file order; nothing when there is
// no selection.
struct SelectedLines {
  Line* first;
  Line* last;
};
std::optional<SelectedLines> selectedLines(Task& task);

// One selected TEXT line's selected bytes; `partLast` marks the last line
// of a stream when it is taken only up to a column.
struct SelectedPart {
  std::string_view bytes;
  bool partLast = false;
};
// The bytes of `line` a selection span takes (0-based, end exclusive): the
// characters that begin in its columns (core/text_columns.h).
struct ColumnSpan;
std::pair<std::size_t, std::size_t> spanBytes(const Task& task, const Line& line, const ColumnSpan& span);

// Hands each selected TEXT line's part to `visit` in file order (a
// rectangle's lines shorter than its first column have none) until it
// answers false; false then, true after the last.
bool forEachSelectedPart(Task& task, const std::function<bool(const SelectedPart&)>& visit);

// The selection as clipboard text: for each TEXT line its selected bytes and
// a CR LF, except after a stream's last line taken in part; the EBCDIC
// marker first for an EBCDIC file. A zero byte ends the text there
// (`cutAtZero` tells). Nothing without a selection or over kClipboardLimit.
std::optional<std::string> selectionText(Task& task, bool& cutAtZero);
// The same for whole lines, from a list.
std::string linesText(Task& task, const std::vector<Line*>& lines, bool& cutAtZero);

// Removes the selected text: whole lines go, a rectangle's columns close up,
// a stream joins its first line's head to its last line's tail. The
// selection ends; the line and 0-based column where it began come back.
struct SelectionStart {
  Line* line = nullptr;
  int column = 0;
};
SelectionStart deleteSelection(Task& task);

}  // namespace kiv
