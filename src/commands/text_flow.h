// What the text line commands do: split a line (TS), join the next line to
// it (TJ) and flow a paragraph (TF). Each returns 0 when done, or -1 after the
// message that stopped it; the line store's operations make every change.
#pragma once

#include <string>
#include <vector>

#include "core/line.h"

namespace kiv {

class Task;

// TS: the text from data column `column` (1-based; 0 when the cursor is
// not on the line) to the end of the line moves to a new line below it. The
// moved text loses its leading blanks and starts at the line's indentation
// (its first non-blank column at or right of the left bound); the split line
// keeps the text left of the split point, without trailing blanks in a
// variable-format file.
int splitLine(Task& task, Line* line, int column);

// TJ: the next line (hex view rows skipped) must be a TEXT line; its text,
// without leading blanks, follows this line's text (without trailing
// blanks) after one blank, and the next line is deleted. A result longer
// than MaxRecLen is refused.
int joinLines(Task& task, Line* line);

// TF: flows the paragraph that starts at `first` between its left margin
// and `endColumn` (0: the right bound).
//
// The left margin is the column of the first non-blank byte of `first` at or
// right of the left bound; every flowed line starts there. The paragraph is
// `first` and the TEXT lines after it up to, not including, the first line
// that is not a shown TEXT line, is blank from the left bound on, or holds
// text left of the left bound. Columns left of the left bound are never
// moved: reused lines keep them, new lines get blanks there.
//
// A line with a pending line command (not `first`'s own), a word that ends
// right of the right bound and a word longer than the width end the
// paragraph before that line, with their messages; the lines before it are
// still flowed. The flowed lines are written into the paragraph's lines in
// order; more are inserted below, surplus ones deleted. A FIXED record keeps
// its length; in a variable-format file the paragraph's trailing blanks are
// dropped first. In a UTF-8 task the margin, bounds and widths are columns
// (a wide character counts two) and no flowed row takes more bytes than
// MaxRecLen leaves it.
int flowText(Task& task, Line* first, int endColumn);

// The words packed into rows of at most `width` columns (a wide character
// counts two in a UTF-8 task) and, when `maxBytes` is above 0, at most that
// many bytes; one blank between them (two after a sentence's end when
// ZEDIT.CHECKFULLSTOP is TRUE).
std::vector<std::string> packWords(Task& task, const std::vector<std::string>& words, int width,
                                   int maxBytes = 0);

}  // namespace kiv
