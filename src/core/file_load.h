// Loading a file into the TEXT lines of an edit task, record by record, as
// the task's file profile says: FIXED, VARIABLE or RDP records in ASCII or
// EBCDIC, with the mode's way of opening the file (EDIT holds it against
// other writers) and piecemeal loading of large files. docs/file-loading.md
// describes the choices.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "core/task.h"

namespace kiv {

class Session;

// Records read by one call of loadChunk (a FIXED block may run past).
inline constexpr long kChunkRecords = 200;

// Opens the task's file in the way its mode needs and loads the first chunk
// (piecemeal) or the whole file. The task must hold its TOF line and its
// profile. 0, or -1 after a message when the file cannot be opened. A load
// ended by bad data still returns 0: the task is then in VIEW.
int openFile(Task& task);

// Reads up to kChunkRecords records and appends their TEXT lines; at the end
// of the file appends BOF. > 0 while more remains, 0 when complete, -1 when
// this call ended the load (the task is then in VIEW).
int loadChunk(Task& task);

// Loads the rest of the file. 0, or -1 when the load was ended.
int loadAll(Task& task);

// Closes the file held by the load state (and so drops its write lock).
void closeFile(Task& task);

// The path to open for a file name; Linux has no drive letters to map.
// Notes the file open on `fd`: its device, inode, size and modification time, so that a
// save can tell when another program changed the file.
void recordIdentity(LoadState& ld, int fd);

std::string mapDrive(Session& s, std::string_view path);

// A task without a screen: chooses and reads the profile, makes the TOF
// line and opens the file. Null when the file cannot be opened.
std::unique_ptr<Task> openTask(Session& s, std::string_view path, TaskMode mode);

}  // namespace kiv
