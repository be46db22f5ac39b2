// Scratch record buffers: a per-task pool of buffers that column operations
// use as a temporary copy of one record. A guard word of all ones in front of
// the data shows whether an entry was overwritten before it comes back.
#pragma once

#include <cstdint>

namespace kiv {

class Task;

inline constexpr std::uint32_t kScratchGuard = 0xFFFFFFFF;

struct ScratchBuffer {
  ScratchBuffer* prev;
  ScratchBuffer* next;
  std::uint32_t guard;
  std::uint32_t capacity;  // bytes of data
  bool inUse;

  // The data follows the entry in the same block.
  char* data() { return reinterpret_cast<char*>(this + 1); }
};

// A buffer of at least MaxRecLen + 8 bytes, marked in use. Entries of the
// pool that are too small for the current MaxRecLen are freed on the way.
ScratchBuffer* getScratchBuffer(Task& task);
// Marks the buffer free again; an overwritten guard word is reported
// (TASK105) and the entry is left alone (-1).
int releaseScratchBuffer(Task& task, ScratchBuffer* buffer);

}  // namespace kiv
