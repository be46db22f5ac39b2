#include "commands/task_commands.h"

#include "commands/command_handlers.h"
#include "commands/command_state.h"
#include "commands/command_task.h"
#include "core/bounds.h"
#include "core/session.h"
#include "core/task_life.h"
#include "services/messages.h"

namespace kiv {

namespace {


TaskMode modeOfVerb(std::string_view verb) {
  if (verb == "BROWSE") return TaskMode::Browse;
  if (verb == "VIEW") return TaskMode::View;
  return TaskMode::Edit;
}

}  // namespace

std::string_view unquoted(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (text.size() >= 2 && (text.front() == '\'' || text.front() == '"') &&
      text.back() == text.front())
    return text.substr(1, text.size() - 2);
  return text;
}

void openTaskCommand(CommandContext& ctx) {
  std::string_view name = unquoted(ctx.params);
  // While a user dialog is active the command is refused; without a file
  // name it opens the file list, which comes later.
  if (name.empty() || commandState(ctx.session).userDialogActive) return openFileCommand(ctx);
  createTask(ctx.session, name, modeOfVerb(ctx.verb));
}

void endCommand(CommandContext& ctx) {
  if (Task* task = taskFor(ctx)) endTask(*task);
}

void cancelCommand(CommandContext& ctx) {
  if (Task* task = taskFor(ctx)) cancelTask(*task);
}

void saveFileCommand(CommandContext& ctx) {
  if (Task* task = taskFor(ctx)) saveCommand(*task, ctx.params);
}

void swapCommand(CommandContext& ctx) { swapTask(ctx.session, ctx.verb == "SWAPBACK"); }

void swapDirectCommand(CommandContext& ctx) { swapDirect(ctx.session, unquoted(ctx.params)); }

void boundsCommand(CommandContext& ctx) {
  if (Task* task = taskFor(ctx)) setBounds(*task, ctx.params);
}

}  // namespace kiv
