#include "commands/command_state.h"

#include "commands/char_edit.h"

#include <memory>

#include "commands/executor.h"

namespace kiv {

namespace {

// Session::executeCommand's way into the executor.
class Executor : public CommandExecution {
 public:
  explicit Executor(Session& s) : session_(s) {}
  void run(std::string_view text) override { executeCommandText(session_, text); }

 private:
  Session& session_;
};

}  // namespace

void installCommandExecutor(Session& s) {
  s.feature<CommandState>();
  provideCharacterEditing(s);
  if (!s.findFeature<CommandExecution>()) s.provide<CommandExecution>(std::make_unique<Executor>(s));
}

CommandState& commandState(Session& s) {
  installCommandExecutor(s);
  return s.feature<CommandState>();
}

}  // namespace kiv
