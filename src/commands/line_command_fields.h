// The pending line-command fields of a task as one Enter reads them: each
// with its place in the store, its line number and its parsed command.
#pragma once

#include <string>
#include <vector>

namespace kiv {

class Session;
class Task;
struct Line;
struct LcEntry;

struct Pending {
  Line* line = nullptr;
  long key = 0;     // place in the store: 2 * TEXT lines before it, + 1 for a TEXT line
  long number = 0;  // the line number messages give
  std::string text;  // the command text (upper case, without its count)
  long count = 0;    // 0: none given
  const LcEntry* entry = nullptr;
  bool done = false;
};

// Every non-blank field of the task, in file order, not yet parsed.
std::vector<Pending> pendingFields(Task& task);
// The place key of a line (see Pending::key).
long placeKey(Task& task, const Line* line);
// Reads the field's first word into `p` (upper-cased and written back to
// the field): a label, or a verb with "*" or a count. False after the
// format or count message.
bool parseField(Session& s, Task& task, Pending& p);

}  // namespace kiv
