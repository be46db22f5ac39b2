// VARIABLE records. Every record can be read a byte at a time by the rules
// (slowRecord); where a record lies whole in the input buffer and nothing
// needs byte-wise work, fastRecord finds its end in one scan and gives the
// same result.
#include <algorithm>
#include <cstring>

#include "core/line.h"
#include "core/load_input.h"
#include "core/load_readers.h"
#include "core/load_record.h"
#include "core/record_scan.h"
#include "core/session.h"
#include "services/messages.h"

namespace kiv {

namespace {

constexpr std::string_view kOverAbsoluteMax =
    "File:  %s\n\nRecord(%d)  length exceeds absolute max of  %d. File load terminated.\n\nTo "
    "remedy, invoke OPTIONS, item FILE PROFILES, item GENERAL, double-click on "
    "FileProfile(%s)\n\nSet field  'MaxRecordOption'  to  'Fold'";
constexpr std::string_view kOverMaxRecLen =
    "File:  %s\n\nRecord(%d)  length exceeds  MaxRecordLength(%d)  in FileProfile(%s). File load "
    "terminated.\n\nTo remedy, invoke OPTIONS, item FILE PROFILES, item GENERAL, double-click on "
    "FileProfile(%s)\n\nReview choices for field  'LongRecordOption', or set field  "
    "'MaxRecordLength'  to a value greater than  %d.";

// What a data byte did to the record.
enum class Step { Kept, RecordEnds, FileEnds, Ended };

// How reading one record ended.
enum class RecordEnd { Record, NoRecord, Ended };

// 0x1A under BOOLeofread: the rest of the file is ignored.
void endInputHere(LoadState& ld) {
  ld.pos = ld.fill;
  ld.pushedCount = 0;
  ld.endOfInput = true;
}

Step overAbsoluteMax(Task& task, const LoadRules& rules, int c) {
  if (rules.foldAtAbsolute) {
    giveBack(task.load, c);
    ++task.load.foldedAtAbsoluteMax;
    return Step::RecordEnds;
  }
  messagef(task.session, "", kOverAbsoluteMax, task.path, task.load.records + 1, kMaxLineLength,
           rules.profile->name);
  return Step::Ended;
}

Step notifyLongRecord(Task& task, const LoadRules& rules) {
  const std::string& name = rules.profile->name;
  messagef(task.session, "", kOverMaxRecLen, task.path, task.load.records + 1, rules.maxRecLen(),
           name, name, rules.maxRecLen());
  return Step::Ended;
}

// A byte arriving when the record already holds MaxRecLen bytes.
Step overMaxRecLen(Task& task, LoadRules& rules, std::vector<char>& record, int c) {
  switch (rules.longOption) {
    case 'A':
      ++rules.profile->maxRecLen;
      record.push_back(static_cast<char>(c));
      return Step::Kept;
    case 'F':
      giveBack(task.load, c);
      ++task.load.foldedAtMaxRecLen;
      return Step::RecordEnds;
    case 'I':
      if (static_cast<char>(c) == rules.pad) {
        record.push_back(static_cast<char>(c));
        return Step::Kept;
      }
      rules.profile->longRecordOption = kOptionNotify;
      rules.longOption = 'N';
      return notifyLongRecord(task, rules);
    default:
      return notifyLongRecord(task, rules);
  }
}

Step dataByte(Task& task, LoadRules& rules, std::vector<char>& record, int c) {
  if (rules.eofRead && c == kEofByte) return Step::FileEnds;
  if (c == rules.tab && rules.tabsIn() != 0) task.load.tabSeen = true;
  auto length = static_cast<int>(record.size());
  if (length < rules.maxRecLen()) {
    record.push_back(static_cast<char>(c));
    return Step::Kept;
  }
  if (length >= kMaxLineLength) return overAbsoluteMax(task, rules, c);
  return overMaxRecLen(task, rules, record, c);
}

// Without strictness: CR ends the record (a line feed after it belongs to
// the same end), and so does the line feed.
bool endsLoosely(Task& task, LoadRules& rules, int c) {
  if (c == rules.lineFeed) {
    noteRecordEnd(task, rules, Terminator::Lf);
    return true;
  }
  int next = nextChar(task);
  if (next == rules.lineFeed) {
    noteRecordEnd(task, rules, Terminator::CrLf);
    return true;
  }
  giveBack(task.load, next);
  if (next != kFormFeed) noteRecordEnd(task, rules, Terminator::Cr);
  return true;
}

// With strictness only the detected terminator ends a record; a CR not
// followed by the line feed of a CR+LF terminator is data.
bool endsStrictly(Task& task, const LoadRules& rules, int c) {
  switch (rules.detected) {
    case Terminator::Cr:
      return c == kCr;
    case Terminator::Lf:
      return c == rules.lineFeed;
    default:
      break;
  }
  if (c != kCr) return false;
  int next = nextChar(task);
  if (next == rules.lineFeed) return true;
  giveBack(task.load, next);
  return false;
}

// True when `c` (a CR or the line feed) ends the record.
bool endsRecord(Task& task, LoadRules& rules, int c) {
  if (!rules.strict || rules.detected == Terminator::None) return endsLoosely(task, rules, c);
  return endsStrictly(task, rules, c);
}

// Reads one record into ld.record, a byte at a time.
RecordEnd slowRecord(Task& task, LoadRules& rules) {
  LoadState& ld = task.load;
  std::vector<char>& record = ld.record;
  record.clear();
  ld.tabSeen = false;
  for (;;) {
    int c = nextChar(task);
    if (c == kNoByte) {
      if (!record.empty()) ld.lastUnended = true;
      return record.empty() ? RecordEnd::NoRecord : RecordEnd::Record;
    }
    if ((c == kCr || c == rules.lineFeed) && endsRecord(task, rules, c)) return RecordEnd::Record;
    switch (dataByte(task, rules, record, c)) {
      case Step::Kept:
        break;
      case Step::RecordEnds:
        return RecordEnd::Record;
      case Step::Ended:
        return RecordEnd::Ended;
      case Step::FileEnds:
        endInputHere(ld);
        return record.empty() ? RecordEnd::NoRecord : RecordEnd::Record;
    }
  }
}

// The end of a record found in the buffer: the bytes it takes and the
// terminator it shows (None for a CR before a form feed).
struct FoundEnd {
  std::size_t used;
  Terminator seen;
};

// The end at `at`, or nothing when the byte after a CR is not buffered or the
// strict rules make the byte data.
bool readEnd(const LoadRules& rules, std::string_view w, std::size_t at, FoundEnd& end) {
  bool strict = rules.strict && rules.detected != Terminator::None;
  auto byte = static_cast<unsigned char>(w[at]);
  if (byte == rules.lineFeed) {
    end = {at + 1, Terminator::Lf};
    return !strict || rules.detected == Terminator::Lf;
  }
  if (strict && rules.detected == Terminator::Cr) {
    end = {at + 1, Terminator::Cr};
    return true;
  }
  if (at + 1 >= w.size()) return false;
  auto next = static_cast<unsigned char>(w[at + 1]);
  if (next == rules.lineFeed)
    end = {at + 2, Terminator::CrLf};
  else
    end = {at + 1, next == kFormFeed ? Terminator::None : Terminator::Cr};
  return !strict || (rules.detected == Terminator::CrLf && end.seen == Terminator::CrLf);
}

bool holds(std::string_view bytes, unsigned char c) {
  return std::memchr(bytes.data(), c, bytes.size()) != nullptr;
}

// A record and what its scan saw.
struct Found {
  std::string_view bytes;
  bool ascii = false;   // no byte at 0x80 or above
  bool special = true;  // may hold a tab, NUL or 0x1A
};

// A record that lies whole in the buffer and needs no byte-wise rule.
bool fastRecord(Task& task, LoadRules& rules, unsigned char& expected, Found& out) {
  LoadState& ld = task.load;
  if (ld.byteByByte || ld.utf16 || ld.pushedCount > 0) return false;
  std::string_view w = buffered(ld);
  std::size_t window = std::min(w.size(), static_cast<std::size_t>(rules.maxRecLen()) + 1);
  unsigned char other = expected == kCr ? rules.lineFeed : kCr;
  RecordScan scan = scanRecord(w, window, expected, other, rules.tab);
  std::size_t at = scan.end;
  FoundEnd end{};
  if (at == window || !readEnd(rules, w, at, end)) return false;
  std::string_view record = w.substr(0, at);
  if (scan.special && rules.eofRead && holds(record, kEofByte)) return false;
  ld.tabSeen = scan.special && rules.tabsIn() != 0 && holds(record, rules.tab);
  if (end.seen != Terminator::None) noteRecordEnd(task, rules, end.seen);
  expected = static_cast<unsigned char>(w[at]);
  out = {record, !scan.highBit, scan.special};
  consume(ld, end.used);
  return true;
}

}  // namespace

ChunkEnd readVariableChunk(Task& task, LoadRules& rules, long limit) {
  LoadState& ld = task.load;
  bool crFirst = rules.detected == Terminator::Cr || rules.detected == Terminator::CrLf;
  unsigned char expected = crFirst ? kCr : rules.lineFeed;
  for (long read = 0; read < limit; ++read) {
    Found record;
    if (!fastRecord(task, rules, expected, record)) {
      RecordEnd e = slowRecord(task, rules);
      if (e == RecordEnd::NoRecord) return ChunkEnd::EndOfFile;
      if (e == RecordEnd::Ended) return ChunkEnd::Ended;
      record.bytes = {ld.record.data(), ld.record.size()};
    }
    if (!ld.nulBytes && record.special && !record.bytes.empty() && holds(record.bytes, 0))
      ld.nulBytes = true;
    if (!appendVariableRecord(task, rules, record.bytes, record.ascii)) return ChunkEnd::Ended;
  }
  return atEnd(ld) ? ChunkEnd::EndOfFile : ChunkEnd::More;
}

}  // namespace kiv
