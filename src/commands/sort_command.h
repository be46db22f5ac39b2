// SORT: reorders the TEXT lines of a task, or of a labelled range, by key
// fields of columns, each ascending or descending; stable, n log n in every
// case, one undo step.
#pragma once

#include "commands/command_table.h"

namespace kiv {

void sortCommand(CommandContext& ctx);

}  // namespace kiv
