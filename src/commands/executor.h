// The command executor: the single entry for all command text.
#pragma once

#include <string_view>

namespace kiv {

class Session;

// Splits the text, puts the pieces at the front of the pending queue and
// runs the queue until it is empty. Re-entrant: a handler's own command
// text runs before the rest of the outer text.
void executeCommandText(Session& s, std::string_view text);

}  // namespace kiv
