// Character editing at a line and a data column (0-based), without a panel:
// what typing, Delete, Backspace, DELEOL, DELWORD, DATA and HEXIN do to a
// line, with the rules that protect special lines, the number columns of a
// numbered file and MaxRecLen, caps mode and word wrap. The screen's keys
// and, later, macros drive it; each change goes through the line store, so
// undo records it.
#pragma once

#include <string_view>

#include "core/char_editing.h"

namespace kiv {

class Task;
struct Line;

// A character as typed (a code point: in a UTF-8 file any, else one of the
// display's single-byte set) at `column`, put in (insert) or over
// (overtype) the text. Columns are the task's (core/text_columns.h): in a
// UTF-8 task what the user sees, and the operations take whole characters.
EditResult typeChar(Task& task, Line* line, int column, char32_t c, bool insert);
// The characters of `text` typed one after the other (DATA).
EditResult typeText(Task& task, Line* line, int column, std::string_view text, bool insert);
// Delete: the character at `column` goes; the rest of its field moves left.
EditResult deleteChar(Task& task, Line* line, int column);
// Backspace: the cursor goes left; in insert mode (or with ZBACKSPACE
// "DESTRUCTIVE") the character there goes too.
EditResult backspace(Task& task, Line* line, int column, bool insert);
// DELEOL: the text from `column` to the end of its field.
EditResult deleteToEnd(Task& task, Line* line, int column);
// DELWORD: the run of non-blanks under the cursor and the blanks after it.
EditResult deleteWord(Task& task, Line* line, int column);
// HEXIN: bytes given as pairs of hex digits, written over the text.
EditResult hexIn(Task& task, Line* line, int column, std::string_view digits);
// The text from `column` on goes to a new line below; the next line's text
// joins the end of this one.
EditResult splitAt(Task& task, Line* line, int column);
EditResult joinNext(Task& task, Line* line);

// Offers these to the screen's keys (core/char_editing.h).
void provideCharacterEditing(Session& s);

}  // namespace kiv
