// Line commands typed on the command line: ":dd" or ".lab".
#pragma once

#include <cstddef>
#include <string_view>

namespace kiv {

class Session;

// Width of the line-command field when the task sets none.
inline constexpr std::size_t kDefaultLineCommandWidth = 7;

// Places the command (leading ":" dropped, a "." kept) in the line-command
// field of the current edit task's top display line, then has the task's
// line commands processed.
void placeLineCommand(Session& s, std::string_view command);

}  // namespace kiv
