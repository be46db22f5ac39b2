#include "core/load_rdp.h"

#include <cctype>
#include <utility>

#include "core/file_load.h"
#include "core/load_input.h"
#include "core/load_readers.h"
#include "core/load_record.h"
#include "core/rdp_format.h"
#include "core/session.h"
#include "services/messages.h"

namespace kiv {

namespace {

constexpr std::string_view kPairs =
    "Hex string '%s' has a syntax error.\n\nError:  hex digits must be specified in pairs.";
constexpr std::string_view kDigits =
    "Hex string '%s' has a syntax error.\n\nError:  hex digits must be in set 0..9, A..F";
constexpr std::string_view kBeforeMissing =
    "Record %d, static data expected before Record Length field was not found.\n\nFile load "
    "aborted.";
constexpr std::string_view kAfterMissing =
    "Record %d, static data expected after Record Length field was not found.\n\nFile load "
    "aborted.";
constexpr std::string_view kPrefixCut =
    "Record %d, the file ends inside the record prefix (static data and Record Length "
    "field).\n\nFile load aborted.";
constexpr std::string_view kDataCut =
    "Record %d, data length %d runs past the end of the file (%d bytes left).\n\nFile load "
    "aborted.";

enum class Prefix { Record, EndOfFile, Ended };

// The static part `expected`; an empty read at the start of a record is the
// end of the file.
Prefix matchStatic(Task& task, const std::string& expected, bool first, std::string_view missing) {
  if (expected.empty()) return Prefix::Record;
  LoadState& ld = task.load;
  std::string_view got = readBytes(ld, expected.size());
  if (got.empty() && first) return Prefix::EndOfFile;
  if (got == expected) return Prefix::Record;
  if (got.size() < expected.size())
    messagef(task.session, "", kPrefixCut, ld.records + 1);
  else
    messagef(task.session, "", missing, ld.records);
  return Prefix::Ended;
}

// Reads the prefix of one record and gives its data length.
Prefix readPrefix(Task& task, const LoadRules& rules, long& dataLength) {
  LoadState& ld = task.load;
  Prefix p = matchStatic(task, ld.rdpBefore, true, kBeforeMissing);
  if (p != Prefix::Record) return p;
  std::string_view field = readBytes(ld, 2);
  if (field.empty() && ld.rdpBefore.empty()) return Prefix::EndOfFile;
  if (field.size() < 2) {
    messagef(task.session, "", kPrefixCut, ld.records + 1);
    return Prefix::Ended;
  }
  auto hi = static_cast<unsigned char>(field[0]);
  auto lo = static_cast<unsigned char>(field[1]);
  if (rdpLowByteFirst(*rules.profile)) std::swap(hi, lo);
  long length = hi << 8 | lo;
  p = matchStatic(task, ld.rdpAfter, false, kAfterMissing);
  dataLength = ((length - rules.profile->rdpAddToReclen) % 65536 + 65536) % 65536;
  return p;
}

}  // namespace

bool rdpStaticBytes(Session& s, std::string_view hex, std::string& bytes) {
  std::optional<std::string> parsed = rdpStaticBytes(hex);
  if (!parsed) {
    bytes.clear();
    messagef(s, "", hex.size() % 2 != 0 ? kPairs : kDigits, hex);
    return false;
  }
  bytes = std::move(*parsed);
  return true;
}

ChunkEnd readRdpChunk(Task& task, LoadRules& rules, long limit) {
  LoadState& ld = task.load;
  for (long read = 0; read < limit; ++read) {
    long length = 0;
    Prefix p = readPrefix(task, rules, length);
    if (p == Prefix::EndOfFile) return ChunkEnd::EndOfFile;
    if (p == Prefix::Ended) return ChunkEnd::Ended;
    std::string_view data = readBytes(ld, static_cast<std::size_t>(length));
    if (static_cast<long>(data.size()) < length) {
      messagef(task.session, "", kDataCut, ld.records + 1, length, data.size());
      return ChunkEnd::Ended;
    }
    if (length > rules.maxRecLen()) rules.profile->maxRecLen = static_cast<int>(length);
    if (!appendRecord(task, data)) return ChunkEnd::Ended;
  }
  return atEnd(ld) ? ChunkEnd::EndOfFile : ChunkEnd::More;
}

}  // namespace kiv
