// Which terminal description the screen is opened with: the user's TERM, or
// its direct-colour variant (xterm-direct, tmux-direct...) when COLORTERM
// says the terminal shows true colour but the description does not know it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kiv::platform {

// COLORTERM is "truecolor" or "24bit".
bool wantsTrueColour(const char* colorterm);

// The descriptions tried for true colour, in order: the name with its colour
// suffix replaced by "-direct", then "xterm-direct".
std::vector<std::string> directColourCandidates(std::string_view term);

// The description to open: `term`, or the first installed direct-colour
// candidate when true colour is wanted and `term` lacks it.
std::string chooseTerminalType(const char* term, const char* colorterm);

}  // namespace kiv::platform
