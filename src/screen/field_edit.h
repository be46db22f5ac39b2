// Typing into INPUT and CHOICE objects: insert or overtype at the cursor,
// with the field scrolling under a cursor that reaches its last cell.
#pragma once

#include <string_view>

namespace kiv {

class Panel;
struct ScreenObject;

// Types `c` at the cursor; false after "Field is full.".
bool typeIntoField(Panel& panel, ScreenObject& field, char c, bool insert);
// The content from the cursor to its end becomes blanks.
void eraseFieldToEnd(Panel& panel, ScreenObject& field);
// Removes the character at the cursor (Delete) or before it (Backspace);
// the rest of the content moves left.
void deleteInField(Panel& panel, ScreenObject& field, bool before);
// Places text in a field from its start and puts the view at its start.
void setFieldText(Panel& panel, ScreenObject& field, std::string_view text);

}  // namespace kiv
