// TE: an area of empty lines opened below a line for typing paragraphs;
// the next Enter flows what was typed between the line's indentation and
// the right edge, and closes the area.
#pragma once

#include "core/line.h"

namespace kiv {

class Task;

// What the screen shows below the line: data rows and the last data column
// in view; zero without a screen.
struct TextEntryRoom {
  int rows = 0;
  int lastColumn = 0;
};

// Opens the area below `line` (a TEXT line or the TOF line). Its text starts
// at the line's indentation and ends at `rightColumn` (0: the right bound,
// the last column in view and 255 columns past the indentation, whichever
// comes first). 0, or -1 after the message that refused it.
int openTextEntry(Task& task, Line* line, int rightColumn, TextEntryRoom room);

// Flows the text typed into the open area into paragraphs (a blank line
// ends one; a word that reaches the right edge of its row goes on at the
// start of the next) and removes the area's lines left empty. Nothing when
// no area is open, or when a change took one of its ends away.
void closeTextEntry(Task& task);

}  // namespace kiv
