// Typing into the data rows of an edit panel, overtype only: the prefix area
// takes characters into the line-command field, the data area into the
// line's text. Insert mode and the rest of character editing build on it.
#pragma once

namespace kiv {

class EditPanel;

// Types `c` at the cursor; false after the reason was reported.
bool typeIntoDataRow(EditPanel& panel, unsigned char c);
// Delete (the character at the cursor) or Backspace (the one before it).
void deleteInDataRow(EditPanel& panel, bool before);
// Blanks the line-command field or the line's data from the cursor on.
void eraseDataRowToEnd(EditPanel& panel);

}  // namespace kiv
