// LABELS SHOW | SAVE | RESTORE: the labels of a task's TEXT lines listed,
// kept in a side file beside the edited file, and set again from it.
#pragma once

#include <string>

#include "commands/command_table.h"

namespace kiv {

class Task;

// The side file that keeps the task's labels: ".KivSideFiles/<name>.Labels.txt"
// in the directory of the edited file.
std::string labelFilePath(const Task& task);

void labelsCommand(CommandContext& ctx);

}  // namespace kiv
