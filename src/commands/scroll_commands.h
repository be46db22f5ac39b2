// UP, DOWN, LEFT, RIGHT, TOP and BOTTOM on an edit task, TOGGLESCROLL, the
// 3270 Enter action, and DELEOL at the cursor.
#pragma once

#include <string>

#include "commands/command_table.h"

namespace kiv {

void upCommand(CommandContext& ctx);
void downCommand(CommandContext& ctx);
void leftCommand(CommandContext& ctx);
void rightCommand(CommandContext& ctx);
void topCommand(CommandContext& ctx);
void bottomCommand(CommandContext& ctx);
void toggleScrollCommand(CommandContext& ctx);
void enterActionCommand(CommandContext& ctx);  // 3270ENTER
void deleteToEndCommand(CommandContext& ctx);  // DELEOL

// A command as the user would give it: typed into the command field of the
// panel on top and entered (recorded, pending line commands first). A
// command longer than the field is recorded and run as it is.
void enterTypedCommand(Session& s, const std::string& command);

}  // namespace kiv
