// UP, DOWN, LEFT, RIGHT, TOP and BOTTOM on an edit task, TOGGLESCROLL, the
// 3270 Enter action, and DELEOL at the cursor.
#pragma once

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

}  // namespace kiv
