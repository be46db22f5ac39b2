#include "core/scratch_buffer.h"

#include <new>

#include "core/line_ops.h"
#include "core/session.h"
#include "services/messages.h"

namespace kiv {

namespace {

constexpr std::string_view kCorruptText = "Tried to free corrupted record buffer, can't continue";

ScratchBuffer* newScratchBuffer(Task& task, int capacity) {
  void* block =
      task.session.allocator().allocate(sizeof(ScratchBuffer) + static_cast<std::size_t>(capacity));
  auto* buffer = ::new (block) ScratchBuffer{};
  buffer->guard = kScratchGuard;
  buffer->capacity = static_cast<std::uint32_t>(capacity);
  task.scratch.append(buffer);
  return buffer;
}

}  // namespace

ScratchBuffer* getScratchBuffer(Task& task) {
  int wanted = maxRecLenOf(task) + 8;
  for (ScratchBuffer* entry = task.scratch.first; entry;) {
    ScratchBuffer* next = entry->next;
    if (!entry->inUse) {
      if (entry->capacity >= static_cast<std::uint32_t>(wanted)) {
        entry->inUse = true;
        return entry;
      }
      task.scratch.remove(entry);
      task.session.allocator().release(entry);
    }
    entry = next;
  }
  ScratchBuffer* fresh = newScratchBuffer(task, wanted);
  fresh->inUse = true;
  return fresh;
}

int releaseScratchBuffer(Task& task, ScratchBuffer* buffer) {
  if (!buffer || buffer->guard != kScratchGuard) {
    message(task.session, "TASK105", kCorruptText);
    return -1;
  }
  buffer->inUse = false;
  return 0;
}

}  // namespace kiv
