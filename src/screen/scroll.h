// Moving the view of an edit panel over its task: whole shown lines up and
// down, data columns left and right. The cursor keeps its screen position.
#pragma once

namespace kiv {

class EditPanel;

// Moves the top line by n shown lines (negative: up), from the top-of-data
// line at most down to the bottom-of-data line.
void scrollLines(EditPanel& panel, long n);
void scrollToTop(EditPanel& panel);
// Loads the rest of the file and shows its last page.
void scrollToBottom(EditPanel& panel);
// The line at the cursor becomes the top row (or the bottom row with
// `toBottom`); false when the cursor is not on a line of the data rows.
bool scrollCursorLine(EditPanel& panel, bool toBottom);

// Moves the first shown data column by n (negative: left), within the
// record length.
void scrollColumns(EditPanel& panel, long n);
// The largest first-shown offset: the record length less one data row.
int maxDisplayOffset(EditPanel& panel);

}  // namespace kiv
