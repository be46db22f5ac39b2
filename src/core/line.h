// The line record: one entry of a task's line store. The common record is
// kept to 40 bytes (links, text pointer, extension pointer, record number and
// one word of bit-fields); what few lines need (colour and display buffers,
// excluded count, line-command and label fields) lives in an extension that
// is allocated only when one of those is set. The text capacity is read from
// the guarded header of the text block.
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

// The rarely used part of a line record.
struct LineExtra {
  unsigned char* colours;  // attribute byte per text byte; capacity = text capacity
  char* display;           // text in the display character set (EBCDIC files)
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

 public:
  std::uint32_t recordNumber;  // 1-based record of the file; 0 for lines made in the session

 private:
  std::uint32_t length_ : 17;
  std::uint32_t kind_ : 4;

 public:
  std::uint32_t hexHighNote : 1;   // NOTE line showing the high hex digits of the line above
  std::uint32_t hexLowNote : 1;    // NOTE line showing the low hex digits of the line above
  std::uint32_t ebcdic : 1;        // TEXT line made while the file's charset is EBCDIC
  std::uint32_t error : 1;         // marked in error ("==ERR>")
  std::uint32_t inserted : 1;      // inserted empty by an insert line command
  std::uint32_t changed : 1;       // changed by a change command ("==CHG>")
  std::uint32_t sequenced : 1;     // the number columns hold a valid line number
  std::uint32_t shown : 1;         // 1 displayed, 0 excluded
  std::uint32_t fromCols : 1;      // TEXT line that was a COLS line
  std::uint32_t fromNote : 1;      // TEXT line that was a NOTE line
  std::uint32_t savedForUndo : 1;  // undo holds its text for the current step

  LineKind kind() const { return static_cast<LineKind>(kind_); }
  void setKind(LineKind kind) { kind_ = static_cast<std::uint8_t>(kind) & 0xF; }
  bool is(LineKind kind) const { return this->kind() == kind; }

  std::string_view text() const { return {text_, length_}; }
  const char* data() const { return text_; }
  int length() const { return static_cast<int>(length_); }
  // Bytes the text buffer holds; 0 without one.
  int capacity() const;

  const LineExtra* extra() const { return extra_; }
  unsigned char* colours() const { return extra_ ? extra_->colours : nullptr; }
  char* display() const { return extra_ ? extra_->display : nullptr; }
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
  char* data() { return text_; }
  // Sets the length in use; it must not pass the capacity.
  void setLength(int length);
  LineExtra* extra() { return extra_; }
  void attachText(char* text, int length);
  void attachExtra(LineExtra* extra) { extra_ = extra; }
};

static_assert(sizeof(Line) == 40, "the common line record must stay compact");

}  // namespace kiv
