// The keys of an edit panel's data rows: the prefix area takes characters
// into the line-command field; the data area goes through character
// editing (core/char_editing.h) in the session's insert mode.
#pragma once

namespace kiv {

class EditPanel;

// Types `c` at the cursor; false after the reason was reported.
bool typeIntoDataRow(EditPanel& panel, char32_t c);
// Delete (the character at the cursor) or Backspace (the one before it).
void deleteInDataRow(EditPanel& panel, bool before);
// Blanks the line-command field or the line's data from the cursor on.
void eraseDataRowToEnd(EditPanel& panel);

}  // namespace kiv
