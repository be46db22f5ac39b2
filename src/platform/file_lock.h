// Holding a file against other writers: an open file description (OFD)
// write lock, which every kiv honours. Other programs are caught by the
// check of the file's identity before a save.
#pragma once

namespace kiv::platform {

// Takes the write lock on an open file (opened for writing). False when
// another holder has it.
bool lockForWrite(int fd);
// True when another open file description holds a write lock on the file.
bool lockedByOther(int fd);

}  // namespace kiv::platform
