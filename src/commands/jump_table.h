// Menu jumps: "=" followed by a key such as "0.1" runs that row's command.
#pragma once

#include <string_view>

namespace kiv {

class Session;

struct JumpRow {
  std::string_view key;      // upper case
  std::string_view command;  // "not supported" for a key that goes nowhere
};

// The row for a key (case-insensitive), or null.
const JumpRow* findJump(std::string_view key);

// Takes the jump for the text after "=".
void takeJump(Session& s, std::string_view key);

}  // namespace kiv
