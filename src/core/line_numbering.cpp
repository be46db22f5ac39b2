#include "core/line_numbering.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "core/edit_step.h"
#include "core/file_profile.h"
#include "core/line.h"
#include "core/line_ops.h"
#include "core/profile_write.h"
#include "core/session.h"
#include "core/text_columns.h"
#include "core/translate_table.h"
#include "services/messages.h"

namespace kiv {

namespace {

constexpr std::string_view kRanOut =
    "Number of records in file exceeds line numbers available under current number settings."
    "\n\nNew settings:  NumberStart=%d,  NumberIncrement=%d,  File Profile '%s'.";
constexpr std::string_view kRenumberRequired =
    "Number of records exceeds available line numbers using current number settings, full file "
    "renumber required.";
constexpr std::string_view kNearMax =
    "Number of records in file is near max for current number settings.\n\nTemporarily adopting "
    "number increment of '2' to continue operation.\n\nSee menu OPTIONS, item FILE PROFILE, "
    "profile '%s', fields 'Number*'.";
constexpr std::string_view kTooManyRecords =
    "Number of records in file (%d) exceeds the line numbers a %d digit number field can hold, "
    "file not renumbered.\n\nSee menu OPTIONS, item FILE PROFILE, profile '%s', fields "
    "'Number*'.";
constexpr std::string_view kNumberingOff =
    "Line numbering currently OFF.  Specify line number type or set line numbering on in File "
    "Profile  %s";
constexpr std::string_view kCleared =
    "Columns %d to %d cleared, line numbers now OFF for file type %s.";
constexpr std::string_view kBadClearWord =
    "UNNUMBER parameter must be one of COBOL | STANDARD | COB+STD | OTHER | QUIET:  %s";
constexpr std::string_view kProfileNotWritten = "Unable to write file profile '%s'";

constexpr int kMinWidth = 4;
constexpr int kMaxWidth = 8;

// The near-maximum notice of Number line is shown once a session.
struct NumberingNotices : Feature {
  explicit NumberingNotices(Session& /*session*/) {}
  bool nearMaxShown = false;
};

std::string profileName(const Task& task) {
  return task.profile ? task.profile->name : "";
}

void writeBack(Task& task) {
  if (writeProfile(task.session, *task.profile, true) != 0)
    messagef(task.session, "", kProfileNotWritten, task.profile->name);
}

// Loads what is still on disk, chunk by chunk.
void loadWhole(Task& task) {
  while (task.loadNextChunk && task.loadNextChunk(task)) {
  }
}

Line* nextText(Task& task, Line* line) {
  for (Line* l = nextLoadedLine(task, line); l; l = nextLoadedLine(task, l))
    if (l->is(LineKind::Text)) return l;
  return nullptr;
}

Line* previousText(Line* line) {
  for (Line* l = line->prev; l; l = l->prev)
    if (l->is(LineKind::Text)) return l;
  return nullptr;
}

// Writes numbers into the field of one task: the digit bytes of the file's
// character set and one buffer reused for every line.
class NumberWriter {
 public:
  NumberWriter(Task& task, const NumberField& field) : task_(task), field_(field) {
    pad_ = padCharFor(task, LineKind::Text);
    utf8_ = utf8File(task);
    char ascii[10];
    for (int d = 0; d < 10; ++d) ascii[d] = static_cast<char>('0' + d);
    std::memcpy(digits_, ascii, sizeof digits_);
    if (ebcdicFile(task)) {
      auto* out = reinterpret_cast<unsigned char*>(digits_);
      if (!translate(task.session, typedTable(task.profile->charsetDisplay),
                     reinterpret_cast<const unsigned char*>(ascii), out, sizeof digits_))
        for (int d = 0; d < 10; ++d) digits_[d] = static_cast<char>(0xF0 + d);
    }
    zero_ = ebcdicFile(task) ? static_cast<unsigned char>(0xF0) : '0';
  }

  // The number in the line's field, or -1 when the line is too short or the
  // field holds anything but digits.
  long long valueOf(const Line* line) const {
    if (line->length() < field_.end) return -1;
    const auto* p = reinterpret_cast<const unsigned char*>(line->data()) + field_.first;
    long long value = 0;
    for (int i = 0; i < field_.width; ++i) {
      unsigned d = static_cast<unsigned>(p[i]) - zero_;
      if (d > 9) return -1;
      value = value * 10 + d;
    }
    return value;
  }

  // Pads the line to the field's end and writes `n`; the line is marked as
  // holding a number. A line that holds the number already is left alone.
  int write(Line* line, long long n) {
    char text[kMaxWidth];
    for (int i = field_.width - 1; i >= 0; --i, n /= 10) text[i] = digits_[n % 10];
    std::size_t width = static_cast<std::size_t>(field_.width);
    bool same = line->length() >= field_.end &&
                std::memcmp(line->text().data() + field_.first, text, width) == 0;
    if (!same) {
      buffer_.assign(line->text());
      if (static_cast<int>(buffer_.size()) < field_.end)
        buffer_.resize(static_cast<std::size_t>(field_.end), pad_);
      if (utf8_)
        padCutCharacters(
            buffer_, {static_cast<std::size_t>(field_.first), static_cast<std::size_t>(field_.end)},
            pad_);
      std::memcpy(buffer_.data() + field_.first, text, width);
      if (setLineText(task_, line, buffer_) != 0) return -1;
    }
    setLineFlag(task_, line, LineFlag::Sequenced, true);
    return 0;
  }

 private:
  Task& task_;
  NumberField field_;
  char digits_[10];
  unsigned zero_ = '0';
  char pad_ = kAsciiBlank;
  bool utf8_ = false;  // characters the field cuts become pad bytes
  std::string buffer_;
};

// The increment the step-down takes after `increment`.
int steppedDown(int increment) {
  switch (increment) {
    case 1000:
      return 100;
    case 100:
      return 10;
    case 10:
      return 5;
    case 5:
      return 2;
    default:
      return 1;
  }
}

bool numbersFit(long long start, long long increment, long long lines, long long limit) {
  return lines == 0 || start + (lines - 1) * increment < limit;
}

// The number a line gets between a valid previous number and the next valid
// number after it (-1: none).
long long numberBetween(const FileProfile& p, long long previous, long long next) {
  if (next > previous) {
    long long gap = next - previous;
    if (p.numberStepdownIncrement >= 1 && p.numberStepdownIncrement < gap)
      return previous + p.numberStepdownIncrement;
    if (gap > 100) return previous + 100;
    if (gap > 10) return previous + 10;
    if (gap > 1) return previous + 1;
    return next;
  }
  return previous + std::max(p.numberIncrement, 1);
}

// Numbers a line and the lines after it that do not hold a greater number.
class LineNumberer {
 public:
  LineNumberer(Task& task, const NumberField& field)
      : task_(task), p_(*task.profile), field_(field), writer_(task, field) {}

  int run(Line* line) {
    long long previous = previousNumber(line);
    for (;;) {
      long long number =
          previous < 0 ? startNumber() : numberBetween(p_, previous, nextValid(line));
      if (number >= field_.limit) {
        if (previous < 0 || number - previous < 3 || previous + 2 >= field_.limit) {
          message(task_.session, "", kRenumberRequired);
          return renumberAll(task_);
        }
        number = previous + 2;
        nearMaxNotice();
      }
      if (writer_.write(line, number) != 0) return -1;
      Line* following = nextText(task_, line);
      if (!following || std::max(writer_.valueOf(following), 0LL) > number) return 0;
      // The next valid line becomes the one numbered: the walk starts again.
      if (following == validLine_) scanned_ = false;
      line = following;
      previous = number;
    }
  }

 private:
  long long startNumber() const { return std::max(p_.numberStart, 0); }

  // A line's number when its field holds digits (the flag is then set).
  long long validNumber(Line* line) {
    long long value = writer_.valueOf(line);
    if (value >= 0) setLineFlag(task_, line, LineFlag::Sequenced, true);
    return value;
  }

  long long previousNumber(Line* line) {
    Line* previous = previousText(line);
    return previous ? validNumber(previous) : -1;
  }

  // The number of the first line after `line` whose field is valid; -1 when
  // none is. The walk is kept across the repair, whose lines move forward
  // one at a time, so that a run of unnumbered lines is walked once.
  long long nextValid(Line* line) {
    if (!scanned_) {
      scanned_ = true;
      validLine_ = nullptr;
      for (Line* l = nextText(task_, line); l; l = nextText(task_, l)) {
        validValue_ = validNumber(l);
        if (validValue_ >= 0) {
          validLine_ = l;
          break;
        }
      }
    }
    return validLine_ ? validValue_ : -1;
  }

  void nearMaxNotice() {
    auto& notices = task_.session.feature<NumberingNotices>();
    if (notices.nearMaxShown) return;
    notices.nearMaxShown = true;
    messagef(task_.session, "", kNearMax, p_.name);
  }

  Task& task_;
  const FileProfile& p_;
  NumberField field_;
  NumberWriter writer_;
  bool scanned_ = false;
  Line* validLine_ = nullptr;
  long long validValue_ = -1;
};

struct Columns {
  int start = 0;
  int end = 0;
};

// The columns UNNUMBER clears for a type word; nothing for a word that names
// no type. OTHER takes the profile's own columns.
std::optional<Columns> columnsOfWord(std::string_view word, const FileProfile* p) {
  if (word == "COB" || word == "COBOL" || word == "COB+STD") return Columns{1, 6};
  if (word == "STD" || word == "STANDARD") return Columns{73, 80};
  if (word == "OTHER") return p ? Columns{p->numberColStart, p->numberColEnd} : Columns{};
  return std::nullopt;
}

void numberingOff(FileProfile& p) {
  p.numberType = NumberType::None;
  p.numberAuto = NumberAuto::None;
  p.numberStart = p.numberIncrement = p.numberStepdownIncrement = 0;
  p.numberColStart = p.numberColEnd = 0;
}

}  // namespace

std::size_t numberFence(const Task& task, int right) {
  const FileProfile* p = task.profile.get();
  if (!p || p->numberType == NumberType::None || !utf8Task(task)) return std::string_view::npos;
  std::optional<NumberField> f = numberFieldOf(*p);
  if (!f || f->first < right) return std::string_view::npos;
  return static_cast<std::size_t>(f->first);
}

int rightBeforeFence(std::string_view text, std::size_t fence, int right) {
  if (fence == std::string_view::npos || text.size() <= fence ||
      asciiPrefix(text.substr(0, fence)) == fence)
    return right;  // a byte a column up to the field: it lies right of the bound
  return std::min(right, TextColumns(true).columnOf(text, fence) - 1);
}

TailPlace numberFieldPlace(const Task& task, const Line& line, std::string_view text,
                           std::string& out) {
  const FileProfile* p = task.profile.get();
  if (!p || p->numberType == NumberType::None || !line.is(LineKind::Text) || !utf8File(task))
    return TailPlace::InPlace;
  std::optional<NumberField> f = numberFieldOf(*p);
  std::string_view was = line.text();
  // A field at the front has nothing before it to move it; a line without a
  // whole field, or with only pad bytes in it, has no number to keep.
  if (!f || f->first == 0 || was.size() < static_cast<std::size_t>(f->end))
    return TailPlace::InPlace;
  char pad = padCharFor(task, LineKind::Text);
  auto first = static_cast<std::size_t>(f->first);
  if (was.substr(first, static_cast<std::size_t>(f->width)).find_first_not_of(pad) ==
      std::string_view::npos)
    return TailPlace::InPlace;
  TailPlace place = placeTail(was, first, text, pad, true, out);
  return place == TailPlace::Changed ? TailPlace::InPlace : place;
}

bool realignNumberField(const Task& task, const Line& line, std::string_view text,
                        std::string& out) {
  return numberFieldPlace(task, line, text, out) == TailPlace::Moved;
}

TailPlace placeTail(std::string_view was, std::size_t first, std::string_view text, char pad,
                    bool utf8, std::string& out) {
  first = std::min(first, was.size());
  auto continuation = [](char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; };
  // A character cut by the field's first byte stays whole, in front of it.
  for (int k = 0; utf8 && k < 3 && first > 0 && first < was.size() && continuation(was[first]); ++k)
    --first;
  std::string_view tail = was.substr(first);
  if (!text.ends_with(tail)) return TailPlace::Changed;
  std::size_t at = text.size() - tail.size();
  if (at == first) return TailPlace::InPlace;
  if (at > first && text.substr(first, at - first).find_first_not_of(pad) != std::string_view::npos)
    return TailPlace::Stuck;
  out.assign(text.substr(0, std::min(at, first)));
  out.append(first > at ? first - at : 0, pad);
  out.append(tail);
  return TailPlace::Moved;
}

std::optional<NumberField> numberFieldOf(const FileProfile& p) {
  if (p.numberType == NumberType::None || p.numberType == NumberType::HexOffset) return {};
  NumberField f{.first = p.numberColStart - 1,
                .end = p.numberColEnd,
                .width = p.numberColEnd - p.numberColStart + 1,
                .limit = 1};
  if (f.first < 0 || f.width < kMinWidth || f.width > kMaxWidth || f.end > p.maxRecLen) return {};
  for (int i = 0; i < f.width; ++i) f.limit *= 10;
  return f;
}

int renumberAll(Task& task) {
  if (!task.profile || task.profile->numberType == NumberType::None) return 0;
  FileProfile& p = *task.profile;
  std::optional<NumberField> field = numberFieldOf(p);
  if (!field) return 0;
  loadWhole(task);

  // The settings are chosen before anything is written, so that the lines
  // are written once whatever the step-down does.
  long long lines = task.textLines;
  int start = std::max(p.numberStart, 0);
  int increment = std::max(p.numberIncrement, 1);
  bool steppedDownOnce = false;
  while (!numbersFit(start, increment, lines, field->limit)) {
    int next = steppedDown(increment);
    if (next == increment && next == start) {
      messagef(task.session, "", kTooManyRecords, lines, field->width, p.name);
      return -1;
    }
    increment = start = next;
    steppedDownOnce = true;
  }
  if (steppedDownOnce) {
    p.numberStart = start;
    p.numberIncrement = increment;
    writeBack(task);
  }

  NumberWriter writer(task, *field);
  long long n = start;
  for (Line* line = task.lines.first; line; line = line->next) {
    if (!line->is(LineKind::Text)) continue;
    if (writer.write(line, n) != 0) return -1;
    n += increment;
  }
  if (lines > 0) noteModified(task, true);
  if (steppedDownOnce) messagef(task.session, "", kRanOut, start, increment, p.name);
  return 0;
}

int numberLine(Task& task, Line* line) {
  if (!line || !line->is(LineKind::Text) || !task.profile) return 0;
  std::optional<NumberField> field = numberFieldOf(*task.profile);
  if (!field) return 0;
  return LineNumberer(task, *field).run(line);
}

int clearNumbers(Task& task, std::string_view params) {
  FileProfile* p = task.profile.get();
  std::string upper = profileUpper(params);
  std::optional<Columns> columns;
  bool quiet = false;
  std::size_t pos = 0;
  while (pos < upper.size()) {
    std::size_t end = upper.find(' ', pos);
    if (end == std::string::npos) end = upper.size();
    std::string_view word = std::string_view(upper).substr(pos, end - pos);
    pos = end + 1;
    if (word.empty()) continue;
    if (word == "QUIET") {
      quiet = true;
    } else if (auto c = columnsOfWord(word, p)) {
      columns = c;
    } else {
      messagef(task.session, "", kBadClearWord, word);
      return -1;
    }
  }
  if (!columns && p && p->numberType != NumberType::None)
    columns = Columns{p->numberColStart, p->numberColEnd};
  if (!columns || columns->start < 1 || columns->end < columns->start) {
    messagef(task.session, "", kNumberingOff, profileName(task));
    return -1;
  }

  loadWhole(task);
  char pad = padCharFor(task, LineKind::Text);
  auto first = static_cast<std::size_t>(columns->start - 1);
  auto width = static_cast<std::size_t>(columns->end - columns->start + 1);
  std::string blanks(width, pad);
  std::string buffer;
  bool utf8 = utf8File(task);
  for (Line* line = task.lines.first; line; line = line->next) {
    if (!line->is(LineKind::Text)) continue;
    setLineFlag(task, line, LineFlag::Sequenced, false);
    if (line->length() < columns->end || line->text().substr(first, width) == blanks) continue;
    buffer.assign(line->text());
    if (utf8) padCutCharacters(buffer, {first, first + width}, pad);
    buffer.replace(first, width, blanks);
    if (setLineText(task, line, buffer) != 0) return -1;
  }
  noteModified(task, true);
  if (!quiet) messagef(task.session, "", kCleared, columns->start, columns->end, profileName(task));
  if (p) {
    numberingOff(*p);
    writeBack(task);
  }
  return 0;
}

}  // namespace kiv
