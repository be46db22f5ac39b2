#include "commands/line_command_shortcut.h"

#include <string>

#include "commands/line_commands.h"
#include "core/line_ops.h"
#include "core/task.h"
#include "screen/edit_panel.h"
#include "screen/screen_state.h"
#include "services/messages.h"

namespace kiv {

namespace {

// The line in the cursor's data row, else the line in the panel's first
// data row.
Line* currentLine(Session& s, Task& task) {
  EditPanel* panel = currentEditPanel(s);
  Line* line = panel ? panel->currentLine() : nullptr;
  if (line) return line;
  return task.topLine ? task.topLine : task.lines.first;
}

}  // namespace

void placeLineCommand(Session& s, std::string_view command) {
  Task* task = s.currentTask();
  Line* line = task ? currentLine(s, *task) : nullptr;
  if (!line) {
    message(s, "EPCMD10", "Not in EDIT, command ignored.");
    return;
  }
  std::string_view text = command.substr(std::min(command.find_first_not_of(':'), command.size()));
  if (text.size() > kDefaultLineCommandWidth) {
    messagef(s, "LSLC5", "Line command '%s' truncated to max width for line command field.", text);
    text = text.substr(0, kDefaultLineCommandWidth);
  }
  setLineCommand(*task, line, text);
  processLineCommands(s, *task);
}

}  // namespace kiv
