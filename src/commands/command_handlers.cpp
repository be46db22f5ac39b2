#include "commands/command_handlers.h"

#include <algorithm>
#include <string>

#include "commands/command_history.h"
#include "commands/command_split.h"
#include "commands/command_state.h"
#include "commands/executor.h"
#include "services/messages.h"
#include "services/var_pool.h"

namespace kiv {

namespace {

struct VerbMessage {
  std::string_view verb;
  std::string_view id;
  std::string_view text;
};

constexpr VerbMessage kNoScrollMessages[] = {
    {"UP", "GPCMD10", "UP command has no meaning in current context."},
    {"DOWN", "GPCMD15", "DOWN command has no meaning in current context."},
    {"LEFT", "GPCMD20", "LEFT command has no meaning in current context."},
    {"RIGHT", "GPCMD25", "RIGHT command has no meaning in current context."},
    {"TOP", "GPCMD30", "TOP command has no meaning in current context."},
    {"BOTTOM", "GPCMD35", "BOTTOM command has no meaning in current context."},
};

constexpr VerbMessage kOpenRefusals[] = {
    {"EDIT", "SESSION75", "Not allowed to EDIT a file"},
    {"BROWSE", "SESSION75", "Not allowed to BROWSE a file"},
    {"VIEW", "SESSION75", "Not allowed to VIEW a file"},
};

template <std::size_t N>
const VerbMessage* findVerb(const VerbMessage (&table)[N], std::string_view verb) {
  auto it = std::find_if(std::begin(table), std::end(table),
                         [verb](const VerbMessage& m) { return m.verb == verb; });
  return it == std::end(table) ? nullptr : &*it;
}

// The history name is the parameter text without the blanks that typing
// may leave at its end.
std::string_view historyName(const CommandContext& ctx) {
  return ctx.params.substr(0, ctx.params.find_last_not_of(' ') + 1);
}

}  // namespace

void notAvailableCommand(CommandContext& ctx) {
  messagef(ctx.session, "", "%s is not available yet.", ctx.verb);
}

void nopCommand(CommandContext& /*ctx*/) {}

void varsetCommand(CommandContext& ctx) {
  if (ctx.params.empty()) {
    message(ctx.session, "", "VARSET requires two parameters:\n\nP1 = variable-name\nP2 = value");
    return;
  }
  varSet(ctx.session, ctx.firstParam, afterFirstWord(ctx.params));
}

void historySaveCommand(CommandContext& ctx) {
  saveCommandHistory(ctx.session, historyName(ctx));
}

void historyRestoreCommand(CommandContext& ctx) {
  restoreCommandHistory(ctx.session, historyName(ctx));
}

void retrieveCommand(CommandContext& ctx) {
  if (varGet(ctx.session, "ZRETRIEVEPCMDHISTORY") == "TRUE") {
    executeCommandText(ctx.session, "RPCMD");
    return;
  }
  if (toUpper(ctx.firstParam) == "BACK")
    retrieveBack(ctx.session);
  else
    retrieveForward(ctx.session);
}

// The history button and RPCMD: without a history dialog the next older
// command comes into the command field as with RETRIEVE.
void historyDialogCommand(CommandContext& ctx) { retrieveForward(ctx.session); }

void executeParamsCommand(CommandContext& ctx) {
  executeCommandText(ctx.session, std::string(ctx.params));
}

void obsoleteSplitCommand(CommandContext& ctx) {
  messagef(ctx.session, "", "%s command is obsolete, use new command SPLIT", ctx.verb);
}

void noScrollCommand(CommandContext& ctx) {
  const VerbMessage* m = findVerb(kNoScrollMessages, ctx.verb);
  if (m)
    message(ctx.session, m->id, m->text);
  else
    notAvailableCommand(ctx);
}

void openFileCommand(CommandContext& ctx) {
  const VerbMessage* m = findVerb(kOpenRefusals, ctx.verb);
  if (m && commandState(ctx.session).userDialogActive) {
    messagef(ctx.session, m->id,
             "The following action is blocked when a user dialog is active:\n\n%s", m->text);
    return;
  }
  notAvailableCommand(ctx);
}

}  // namespace kiv
