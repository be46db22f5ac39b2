// The line record: one entry of a task's line store. The common record is
// kept to 40 bytes (links, text pointer, extension pointer, record number and
// one word of bit-fields); what few lines need (excluded count, line-command
// and label fields) lives in an extension that is allocated only when one of
// those is set. Colours are not stored: the painter asks for them. The text capacity is read from
// the guarded header of the text block. Everything but the links is written
// only through the line-store operations (line_ops.h), the one door for line
// changes; the links only by the list that link and unlink drive.
#pragma once

#include <cstdint>
#include <string_view>

namespace kiv {

// The codes are fixed: every part of the editor compares kinds by them.
enum class LineKind : std::uint8_t {
  Tof = 1,
  Bof = 2,
  Bnds = 3,
  Cols = 4,
  Excluded = 5,
  HexHigh = 6,
  HexLow = 7,
  HexSep = 8,
  Mask = 9,
  Note = 10,
  Tabs = 11,
  Text = 12,
};

// "TOF", "BOF", ... "TEXT"; "?" for a code outside 1..12.
std::string_view lineKindName(LineKind kind);

inline constexpr int kLineFieldWidth = 9;
inline constexpr int kMaxLineLength = 128000;
inline constexpr std::string_view kBlankField = "         ";

// The flags of a line record, each one bit.
enum class LineFlag : std::uint8_t {
  HexHighNote,   // NOTE line showing the high hex digits of the line above
  HexLowNote,    // NOTE line showing the low hex digits of the line above
  Ebcdic,        // TEXT line made while the file's charset is EBCDIC
  Error,         // marked in error ("==ERR>")
  Inserted,      // inserted empty by an insert line command
  Changed,       // changed by a change command ("==CHG>")
  Sequenced,     // the number columns hold a valid line number
  Shown,         // 1 displayed, 0 excluded
  FromCols,      // TEXT line that was a COLS line
  FromNote,      // TEXT line that was a NOTE line
  SavedForUndo,  // undo holds its text for the current step
};

// The rarely used part of a line record.
struct LineExtra {
  std::int32_t excludedCount;
  char lineCommand[kLineFieldWidth];
  char label[kLineFieldWidth];
};

struct Line {
  Line* prev;
  Line* next;

 private:
  char* text_;
  LineExtra* extra_;

 private:
  std::uint32_t recordNumber_ : 31;  // 1-based record of the file; 0 for lines made in the session
  std::uint32_t segmentHead_ : 1;    // first line of a segment of the task's line index
  std::uint32_t length_ : 17;
  std::uint32_t kind_ : 4;
  std::uint32_t flags_ : 11;  // one bit per LineFlag

 public:
  std::uint32_t recordNumber() const { return recordNumber_; }
  bool has(LineFlag flag) const { return (flags_ >> static_cast<unsigned>(flag)) & 1U; }
  bool shown() const { return has(LineFlag::Shown); }
  bool ebcdic() const { return has(LineFlag::Ebcdic); }
  bool error() const { return has(LineFlag::Error); }
  bool inserted() const { return has(LineFlag::Inserted); }
  bool changed() const { return has(LineFlag::Changed); }

  LineKind kind() const { return static_cast<LineKind>(kind_); }
  bool is(LineKind kind) const { return this->kind() == kind; }

  std::string_view text() const { return {text_, length_}; }
  const char* data() const { return text_; }
  int length() const { return static_cast<int>(length_); }
  // Bytes the text buffer holds; 0 without one.
  int capacity() const;

  const LineExtra* extra() const { return extra_; }
  int excludedCount() const { return extra_ ? extra_->excludedCount : 0; }
  // The 9-character fields, blank when never set.
  std::string_view lineCommand() const;
  std::string_view label() const;
  bool hasPendingCommand() const { return lineCommand() != kBlankField; }
  bool hasLabel() const { return label() != kBlankField; }


 private:
  // The buffers change only through the line-store operations (line_ops),
  // the one door for every change to a line.
  friend struct LineBuffers;
  friend class LineIndex;
  char* data() { return text_; }
  // Sets the length in use; it must not pass the capacity.
  void setLength(int length);
  LineExtra* extra() { return extra_; }
  void attachText(char* text, int length);
  void attachExtra(LineExtra* extra) { extra_ = extra; }
  void setKind(LineKind kind) { kind_ = static_cast<std::uint8_t>(kind) & 0xF; }
  void setFlag(LineFlag flag, bool on) {
    auto bit = 1U << static_cast<unsigned>(flag);
    flags_ = on ? (flags_ | bit) : (flags_ & ~bit);
  }
  void setRecordNumber(std::uint32_t n) { recordNumber_ = n; }
};

static_assert(sizeof(Line) == 40, "the common line record must stay compact");

}  // namespace kiv
