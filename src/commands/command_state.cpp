#include "commands/command_state.h"

#include <memory>

#include "commands/executor.h"

namespace kiv {

namespace {

void runCommandText(Session& s, std::string_view text) {
  executeCommandText(s, text);
}

}  // namespace

void installCommandExecutor(Session& s) {
  if (!s.commandState) s.commandState = std::make_unique<CommandState>();
  s.commandRunner = runCommandText;
}

CommandState& commandState(Session& s) {
  if (!s.commandState) installCommandExecutor(s);
  return static_cast<CommandState&>(*s.commandState);
}

}  // namespace kiv
