// Handlers of the edit and general commands that act on the current task's
// display and settings (ruler, hex, caps, hide, inserted lines, record
// length) and on the session (backup mode, name, panel identifiers, PF-key
// rows, leaving the program).
#pragma once

#include "commands/command_table.h"

namespace kiv {

// Edit table.
void showRamCommand(CommandContext& ctx);
void capsCommand(CommandContext& ctx);
void hideCommand(CommandContext& ctx);
void maxRecLenCommand(CommandContext& ctx);
void dataLineCommand(CommandContext& ctx);   // DATALINE
void noteLineCommand(CommandContext& ctx);   // NOTELINE
void insertLineCommand(CommandContext& ctx); // INSERTLINE
void tabsCommand(CommandContext& ctx);
void rulerCommand(CommandContext& ctx);
void hexCommand(CommandContext& ctx);

// General table.
void backupModeCommand(CommandContext& ctx);  // BACKUP
void setNameCommand(CommandContext& ctx);     // SETNAME
void panelIdCommand(CommandContext& ctx);     // PANELID
void pfShowCommand(CommandContext& ctx);      // PFSHOW
void openCommand(CommandContext& ctx);        // OPEN
void returnCommand(CommandContext& ctx);      // RETURN
void exitCommand(CommandContext& ctx);        // EXIT
void keyCommand(CommandContext& ctx);         // KEY

}  // namespace kiv
