// Turning one record read from the file into a TEXT line at the end of the
// task's line store.
#pragma once

#include <string_view>

#include "core/load_rules.h"
#include "core/task.h"

namespace kiv {

// Appends the bytes as they are (FIXED and RDP records). False when no line
// could be made; the load must end. `ascii`: no byte is 0x80 or above, so
// a UTF-8 file needs no check of it.
bool appendRecord(Task& task, std::string_view bytes, bool ascii = false);

// Appends a VARIABLE record: tabs expanded when the record holds one and
// TabsIn asks for it, trailing blanks handled by TrailingBlanksOption.
bool appendVariableRecord(Task& task, const LoadRules& rules, std::string_view bytes,
                          bool ascii = false);

}  // namespace kiv
