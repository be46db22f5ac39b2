// Typing into INPUT and CHOICE objects: insert or overtype at the cursor,
// with the field scrolling under a cursor that reaches its last cell. A
// field holds UTF-8, a character a position (screen/screen_object.h); the
// command row's text reaches the commands in the task's character set.
#pragma once

#include <string>
#include <string_view>

namespace kiv {

class Panel;
struct ScreenObject;

// Types `c` at the cursor; false after "Field is full.".
bool typeIntoField(Panel& panel, ScreenObject& field, char32_t c, bool insert);
// The content from the cursor to its end becomes blanks.
void eraseFieldToEnd(Panel& panel, ScreenObject& field);
// Removes the character at the cursor (Delete) or before it (Backspace);
// the rest of the content moves left.
void deleteInField(Panel& panel, ScreenObject& field, bool before);
// Places text in a field from its start and puts the view at its start.
void setFieldText(Panel& panel, ScreenObject& field, std::string_view text);

// The fields of the panel take any character: its task's file is UTF-8, or
// it has no task. Otherwise they take the single-byte set (Latin-1).
bool fieldsTakeUtf8(Panel& panel);
// A field's text as command text for the panel's task (one byte a character
// unless fields take UTF-8), and back.
std::string commandFromField(Panel& panel, std::string_view text);
std::string fieldFromCommand(Panel& panel, std::string_view text);

}  // namespace kiv
