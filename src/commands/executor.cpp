#include "commands/executor.h"

#include <string>

#include "commands/aliases.h"
#include "commands/command_split.h"
#include "commands/command_state.h"
#include "commands/command_table.h"
#include "commands/jump_table.h"
#include "commands/line_command_shortcut.h"
#include "commands/macro_call.h"
#include "core/edit_step.h"
#include "services/messages.h"

namespace kiv {

namespace {

constexpr std::string_view kTooLong =
    "Primary command exceeds max length allowed.\nCommand not processed:\n\n%s";
constexpr std::size_t kTooLongShown = 128;

// The panel's own table, or none for menus and the idle screen.
const CommandEntry* lookupInPanelTable(PanelKind kind, std::string_view verb) {
  switch (kind) {
    case PanelKind::Dialog:
      return lookupVerb(commandTable(TableKind::Dialog), verb);
    case PanelKind::EditTask:
      return lookupVerb(commandTable(TableKind::Edit), verb);
    case PanelKind::FileList:
      return lookupVerb(commandTable(TableKind::FileList), verb);
    case PanelKind::Other:
      return nullptr;
  }
  return nullptr;
}


const CommandEntry* lookupForPanel(PanelKind kind, std::string_view verb) {
  const CommandEntry* entry = lookupInPanelTable(kind, verb);
  return entry ? entry : lookupVerb(commandTable(TableKind::General), verb);
}

// Runs the macro with the queue set aside, so that the macro's commands do
// not mix with the rest of the outer text.
void runAsMacro(Session& s, std::string_view command) {
  CommandState& state = commandState(s);
  std::deque<std::string> outer = std::move(state.queue);
  state.queue.clear();
  runMacroCommand(s, command);
  state.queue.insert(state.queue.end(), outer.begin(), outer.end());
}

void dispatch(Session& s, const CommandEntry& entry, std::string_view verb,
              std::string_view params) {
  CommandContext ctx{.session = s,
                     .verb = verb,
                     .params = params,
                     .paramsUpper = toUpper(params),
                     .firstParam = firstWord(params),
                     .code = entry.code};
  entry.run(ctx);
}

bool isLineCommandText(std::string_view command) {
  return !command.empty() && (command[0] == ':' || command[0] == '.');
}

void runSingleCommand(Session& s, std::string_view command) {
  VerbAndParams vp = splitVerb(command);
  if (vp.verb.starts_with('=')) {
    takeJump(s, std::string_view(vp.verb).substr(1));
    return;
  }
  PanelKind kind = activePanelKind(s);
  // On an edit task's panel ":" and "." text is a line command; with no
  // task open at all it is refused as one.
  bool lineCommand = kind == PanelKind::EditTask || s.frames.topKind() == FrameKind::Idle;
  if (lineCommand && isLineCommandText(command)) {
    placeLineCommand(s, command);
    return;
  }
  if (const Alias* alias = findAlias(commandState(s).commandAliases, vp.verb))
    vp.verb = alias->command;
  const CommandEntry* entry = lookupForPanel(kind, vp.verb);
  if (!entry) {
    runAsMacro(s, command);
    return;
  }
  dispatch(s, *entry, vp.verb, vp.params);
}

}  // namespace

PanelKind activePanelKind(Session& s) {
  switch (s.frames.topKind()) {
    case FrameKind::Task:
      return PanelKind::EditTask;
    case FrameKind::Dialog:
      return PanelKind::Dialog;
    case FrameKind::FileList:
      return PanelKind::FileList;
    case FrameKind::Idle:
    case FrameKind::Menu:
      break;
  }
  return PanelKind::Other;
}

void executeCommandText(Session& s, std::string_view text) {
  if (text.empty()) return;
  if (text.size() > kMaxCommandLength) {
    messagef(s, "", kTooLong, std::string(text.substr(0, kTooLongShown)) + "...");
    return;
  }
  CommandState& state = commandState(s);
  std::vector<std::string> pieces = splitCommandText(text);
  state.queue.insert(state.queue.begin(), pieces.begin(), pieces.end());
  while (!state.queue.empty()) {
    std::string command = std::move(state.queue.front());
    state.queue.pop_front();
    state.current = command;
    EditStep step(s);  // what one command changes is one undo step
    runSingleCommand(s, command);
  }
}

}  // namespace kiv
