// The line record: one entry of a task's line store. The common record is
// kept to 32 bytes (links, extension pointer, record number and one word of
// bit-fields), and its text follows it in the same block of the task's line
// pool: a loaded line costs its record and its text, nothing else. What few
// lines need (excluded count, line-command and label fields, and the text
// when it outgrew the record's block) lives in an extension that is
// allocated only when one of those is set. Colours are not stored: the
// painter asks for them. Everything but the links is written only through
// the line-store operations (line_ops.h), the one door for line changes; the
// links only by the list that link and unlink drive.
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

// Texts up to this length are kept in the record's own block.
inline constexpr int kMaxInlineText = 4064;

// The rarely used part of a line record.
struct LineExtra {
  std::int32_t excludedCount;
  char lineCommand[kLineFieldWidth];
  char label[kLineFieldWidth];
  // Bytes / 8 of text room in the record's own block, noted when the text
  // moved out, so that the block goes back to the pool at its size.
  std::uint16_t roomUnits;
  // The text when it outgrew the record's block: a guarded block.
  char* text;
};

struct Line {
  Line* prev;
  Line* next;

 private:
  LineExtra* extra_;

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

  std::string_view text() const { return {data(), length_}; }
  const char* data() const { return movedText() ? extra_->text : ownText(); }
  int length() const { return static_cast<int>(length_); }
  // Bytes the text can take without moving: the text block's capacity for
  // a moved text, else the length rounded up to 8 (the record's block holds
  // at least that much).
  int capacity() const;
  // The text lives in a block of its own (see LineExtra::text).
  bool movedText() const { return extra_ && extra_->text; }

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
  char* data() { return const_cast<char*>(static_cast<const Line*>(this)->data()); }
  // The text room in the record's own block, right after the record.
  const char* ownText() const { return reinterpret_cast<const char*>(this + 1); }
  // Sets the length in use; it must not pass the capacity.
  void setLength(int length);
  // A new record's block was given `length` bytes of text.
  void setOwnLength(int length) { length_ = static_cast<std::uint32_t>(length); }
  LineExtra* extra() { return extra_; }
  void attachExtra(LineExtra* extra) { extra_ = extra; }
  void setKind(LineKind kind) { kind_ = static_cast<std::uint8_t>(kind) & 0xF; }
  void setFlag(LineFlag flag, bool on) {
    auto bit = 1U << static_cast<unsigned>(flag);
    flags_ = on ? (flags_ | bit) : (flags_ & ~bit);
  }
  void setRecordNumber(std::uint32_t n) { recordNumber_ = n; }
};

static_assert(sizeof(Line) == 32, "the common line record must stay compact");
static_assert(sizeof(LineExtra) == 32);

}  // namespace kiv
