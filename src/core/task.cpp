#include "core/task.h"

#include <unistd.h>

#include "core/file_profile.h"
#include "core/line_ops.h"
#include "core/scratch_buffer.h"
#include "core/session.h"
#include "core/undo_journal.h"

namespace kiv {

Task::Task(Session& s) : session(s), linePool(s.allocator()) {}

Task::~Task() {
  std::erase(session.touchedTasks, this);
  clearUndo(*this);  // the deleted lines it holds go back to the pool first
  if (load.fd >= 0) ::close(load.fd);
  for (Line* line = lines.first; line;) {
    Line* next = line->next;
    freeLine(*this, line);
    line = next;
  }
  lines = {};
  for (ScratchBuffer* buffer = scratch.first; buffer;) {
    ScratchBuffer* next = buffer->next;
    session.allocator().release(buffer);
    buffer = next;
  }
  scratch = {};
}

}  // namespace kiv
