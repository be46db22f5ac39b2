#include "commands/command_state.h"

#include <memory>

#include "commands/executor.h"

namespace kiv {

namespace {

void destroyState(CommandState* state) {
  delete state;
}

void runCommandText(Session& s, std::string_view text) {
  executeCommandText(s, text);
}

}  // namespace

void installCommandExecutor(Session& s) {
  if (!s.commandState)
    s.commandState = std::unique_ptr<CommandState, Session::CommandStateDeleter>(
        new CommandState, Session::CommandStateDeleter{destroyState});
  s.commandRunner = runCommandText;
}

CommandState& commandState(Session& s) {
  if (!s.commandState) installCommandExecutor(s);
  return *s.commandState;
}

}  // namespace kiv
