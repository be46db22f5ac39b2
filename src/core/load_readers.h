// The three record readers. Each reads records of its format from the task's
// input and appends their TEXT lines, up to a number of records a call.
#pragma once

#include "core/load_rules.h"
#include "core/task.h"

namespace kiv {

// How a call of a reader ended. Ended: the load cannot go on, and the reason
// has been shown.
enum class ChunkEnd { More, EndOfFile, Ended };

// FIXED: every MaxRecLen bytes are a record, read a block at a time (a block
// may run past `limit`); a short last record is padded.
ChunkEnd readFixedChunk(Task& task, LoadRules& rules, long limit);
// RDP: length-prefixed records with static parts around the length field.
ChunkEnd readRdpChunk(Task& task, LoadRules& rules, long limit);
// VARIABLE: records ended by CR, LF or CR+LF.
ChunkEnd readVariableChunk(Task& task, LoadRules& rules, long limit);

// Bytes of a FIXED block for a record length.
int fixedBlockSize(int maxRecLen);

}  // namespace kiv
