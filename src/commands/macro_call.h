// Handing an unknown verb to the macro runner.
#pragma once

#include <string>
#include <string_view>

namespace kiv {

class Session;

// The macro source file a command names: its first word up to ".", a blank
// or a double quote, with ".c" appended, in lower case; a directory given
// with the name is kept in front.
std::string macroSourceName(std::string_view command);

// Runs the command text as a macro call: the first word names the macro, the
// rest are its arguments. -1 when it could not run.
int runMacroCommand(Session& s, std::string_view command);

}  // namespace kiv
