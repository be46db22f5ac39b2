// The handlers the command tables bind verbs to. Verbs whose feature is not
// built yet share notAvailableCommand, which says so.
#pragma once

#include "commands/command_table.h"

namespace kiv {

void notAvailableCommand(CommandContext& ctx);
void nopCommand(CommandContext& ctx);
void varsetCommand(CommandContext& ctx);
void historySaveCommand(CommandContext& ctx);
void historyRestoreCommand(CommandContext& ctx);
void retrieveCommand(CommandContext& ctx);
void historyDialogCommand(CommandContext& ctx);  // RPCMD
// EPCMD, PCMDEDIT, PCMDFILELIST: run the parameters as command text.
void executeParamsCommand(CommandContext& ctx);
// SPLITF, SPLITH, SPLITV.
void obsoleteSplitCommand(CommandContext& ctx);
// UP, DOWN, LEFT, RIGHT, TOP, BOTTOM where the panel cannot scroll.
void noScrollCommand(CommandContext& ctx);
// EDIT, BROWSE, VIEW.
void openFileCommand(CommandContext& ctx);

}  // namespace kiv
