#include "core/file_load.h"
#include "core/line_ops.h"
#include "core/load_input.h"
#include "core/load_readers.h"
#include "core/load_record.h"
#include "core/session.h"
#include "services/messages.h"

namespace kiv {

namespace {

constexpr int kSmallestBlock = 4096;
constexpr int kLargestBlock = 128000;

constexpr std::string_view kShortRecord =
    "RecordFormat=Fixed,  RecordLength=%d,  Last record is short.\n\nActual record length does "
    "not match File Profile.\n\nSee OPTIONS, item FILE PROFILES, edit File Profile  %s,  set "
    "field 'RecordLength' to evenly divide file size.\n\n%s";

// The short last record, padded to the record length.
bool appendShortRecord(Task& task, const LoadRules& rules, std::string_view bytes) {
  std::vector<char>& out = task.load.expand;
  out.assign(bytes.begin(), bytes.end());
  out.resize(static_cast<std::size_t>(rules.maxRecLen()), rules.pad);
  if (!appendRecord(task, {out.data(), out.size()})) return false;
  if (task.mode == TaskMode::Edit)
    messagef(task.session, "", kShortRecord, rules.maxRecLen(), rules.profile->name, task.path);
  return true;
}

}  // namespace

int fixedBlockSize(int maxRecLen) {
  long size = static_cast<long>(kChunkRecords) * maxRecLen;
  if (size < kSmallestBlock) return kSmallestBlock / maxRecLen * maxRecLen;
  if (size > kLargestBlock) return kLargestBlock / maxRecLen * maxRecLen;
  return static_cast<int>(size);
}

ChunkEnd readFixedChunk(Task& task, LoadRules& rules, long limit) {
  LoadState& ld = task.load;
  auto length = static_cast<std::size_t>(rules.maxRecLen());
  long perBlock = fixedBlockSize(rules.maxRecLen()) / rules.maxRecLen();
  for (long read = 0; read < limit; read += perBlock) {
    for (long i = 0; i < perBlock; ++i) {
      std::string_view record = readBytes(ld, length);
      if (record.empty()) return ChunkEnd::EndOfFile;
      if (record.size() < length)
        return appendShortRecord(task, rules, record) ? ChunkEnd::EndOfFile : ChunkEnd::Ended;
      if (!appendRecord(task, record)) return ChunkEnd::Ended;
    }
  }
  return atEnd(ld) ? ChunkEnd::EndOfFile : ChunkEnd::More;
}

}  // namespace kiv
