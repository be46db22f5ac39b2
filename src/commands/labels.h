// Lines by label: the labels users set (".NAME", kept in the line's label
// field) and the editor's own: .ZFIRST (.ZF) the first data line, .ZLAST
// (.ZL) the last, .ZCSR (.ZC) the line at the cursor.
#pragma once

#include <string_view>

namespace kiv {

class Task;
struct Line;

// The line a label names (any case, with its "."); null when no line has
// it. .ZLAST loads the rest of the file first.
Line* lineByLabel(Task& task, std::string_view label);

// A label users may set: "." and 1 to 8 letters or digits, the first a
// letter other than Z (the editor's own labels start with Z).
bool isUserLabel(std::string_view label);

}  // namespace kiv
