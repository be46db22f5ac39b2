// Writing the TEXT lines of a task as the records of its file: the record
// format (FIXED, VARIABLE, RDP), the character set's pad, tab and line-feed
// bytes, trailing blanks, tab insertion, UTF-16 with its byte-order mark, the
// record terminator and the end-of-file byte. Output is gathered in a large
// buffer and handed to a sink in big blocks.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kiv {

class Task;

// Everything a save needs to know about the file's layout, taken once from
// the task's profile and load state.
struct RecordFormat {
  char recfm = 'V';          // 'F', 'V' or 'R'
  int maxRecLen = 128;
  char pad = 0x20;           // 0x40 for EBCDIC
  char tab = 0x09;           // 0x05 for EBCDIC
  int tabsOut = 0;
  char trailing = 'S';       // first letter of TrailingBlanksOption: 'P', 'S', or other (as is)
  std::string terminator;    // the record end bytes, before any UTF-16 widening
  bool utf16 = false;
  bool utf8Text = false;     // UTF-16 written from UTF-8 lines (else a byte a character)
  unsigned char bom[2] = {0xFF, 0xFE};
  bool bomDue = true;        // false when appending to a file that has its mark
  bool eofWrite = false;     // 0x1A after the last VARIABLE record
  std::string rdpBefore;     // RDP static parts as bytes
  std::string rdpAfter;
  int rdpAddToReclen = 0;
  bool rdpIntel = true;      // length field low byte first
};

// The largest record an RDP length field can describe.
inline constexpr std::size_t kRdpMaxRecord = 65535;

// The record end bytes for a terminator name ("CR+LF", "LF", "CR"; any other
// name is CR and line feed), with the charset's line-feed byte.
std::string terminatorBytes(std::string_view name, bool ebcdic);

// The format of the task's file. Nothing when a profile setting cannot be
// written (an RDP static part that is not hexadecimal); that is reported.
std::optional<RecordFormat> recordFormatOf(Task& task);

// Replaces runs of pad bytes by tab bytes at multiples of `n` (columns from
// 0): a run of at least 2 pad bytes (counted up to n) whose next stop lies at
// least 2 columns ahead becomes one tab; a single blank never does.
void insertTabs(std::string_view in, int n, char pad, char tab, std::string& out);

class RecordWriter {
 public:
  // Receives the output in blocks; false stops the writing (errno set).
  using Sink = std::function<bool(const char* data, std::size_t size)>;

  RecordWriter(RecordFormat format, Sink sink);

  // One TEXT line: padding or stripping, tabs, then writeRecord.
  bool writeLine(std::string_view text);
  // One record in the file's format.
  bool writeRecord(std::string_view bytes);
  // The end-of-file byte when asked for, then everything still buffered.
  bool finish();

  long records() const { return records_; }
  std::uint64_t bytesWritten() const { return written_; }
  // The record that did not fit an RDP length field, when that stopped the
  // writing.
  bool tooLongForRdp() const { return tooLong_; }

 private:
  bool put(const char* data, std::size_t size);
  bool put(std::string_view s) { return put(s.data(), s.size()); }
  // Widens each byte to two in the byte order of the mark (UTF-16 files).
  bool putText(std::string_view s);
  bool putUtf8AsUtf16(std::string_view s);
  bool putUnit(std::uint16_t unit);
  static std::optional<std::uint16_t> loneSurrogate(std::string_view s);
  bool putRdpRecord(std::string_view bytes);
  bool putVariableRecord(std::string_view bytes);
  bool flush();

  RecordFormat format_;
  Sink sink_;
  std::vector<char> buffer_;
  std::size_t used_ = 0;
  std::string padded_;   // a line brought to MaxRecLen
  std::string tabbed_;   // a line after tab insertion
  long records_ = 0;
  std::uint64_t written_ = 0;
  bool bomWritten_ = false;
  bool failed_ = false;
  bool tooLong_ = false;
};

// Writes one record of the task's file through `out`; 0, or -1 when the
// output failed.
int writeRecord(Task& task, RecordWriter& out, std::string_view bytes);

}  // namespace kiv
