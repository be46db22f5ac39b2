#include "core/line_ops.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "core/edit_step.h"
#include "core/excluded.h"
#include "core/file_profile.h"
#include "core/hex_view.h"
#include "core/line_numbering.h"
#include "core/line_observer.h"
#include "core/session.h"
#include "services/messages.h"

namespace kiv {

// The line-store operations' access to a line's buffers, which nothing else
// may change.
struct LineBuffers {
  static char* data(Line* l) { return l->data(); }
  static void setLength(Line* l, int length) { l->setLength(length); }
  static void setOwnLength(Line* l, int length) { l->setOwnLength(length); }
  static LineExtra* extra(Line* l) { return l->extra(); }
  static void attachExtra(Line* l, LineExtra* extra) { l->attachExtra(extra); }
  static void setKind(Line* l, LineKind kind) { l->setKind(kind); }
  static void setFlag(Line* l, LineFlag flag, bool on) { l->setFlag(flag, on); }
  static void setRecordNumber(Line* l, std::uint32_t n) { l->setRecordNumber(n); }
};

namespace {

constexpr std::string_view kTextBufAllocText =
    "TextBufAlloc: length requested %d, must be between 1 and %d, can not continue.";
constexpr std::string_view kNullLineText = "LineIncreaseLength(), NULL line pointer";
constexpr std::string_view kPadKindText =
    "ERROR: function 'LinePadToMaxRecLen()' can only be applied to line type TEXT.";
constexpr std::string_view kInsertBelowBofText = "Can't insert below this line.";

GuardedAllocator& allocator(Task& task) {
  return task.session.allocator();
}

void releaseBlock(Task& task, void* block) {
  if (block) allocator(task).release(block);
}

template <class F>
void tell(Task& task, F&& f) {
  tellObservers(task.session, f);
}

bool isText(const Line* line) {
  return line->is(LineKind::Text);
}

// A text's length for the range check; anything past the limit stays past it.
int requestedLength(std::string_view text) {
  return static_cast<int>(std::min<std::size_t>(text.size(), kMaxLineLength + 1));
}

LineExtra* ensureExtra(Task& task, Line* line);

static_assert(sizeof(Line) + kMaxInlineText == LinePool::kMaxGross);

// Bytes of text room in a record's own block: a text that fits is kept there.
std::size_t ownRoom(std::size_t length) {
  return length <= static_cast<std::size_t>(kMaxInlineText) ? (length + 7) / 8 * 8 : 0;
}

// The size of a record's block, as far as it is known: what its own text
// takes, or what the record noted when its text moved out. Never more than
// the block holds.
std::size_t recordGross(const Line* line) {
  const LineExtra* extra = line->extra();
  std::size_t room = line->movedText() ? 0 : ownRoom(static_cast<std::size_t>(line->length()));
  if (extra) room = std::max<std::size_t>(room, extra->roomUnits * 8U);
  return sizeof(Line) + room;
}

// Gives the line `block` (a guarded text block) holding `length` bytes as
// its text, in place of the text it had.
void moveTextTo(Task& task, Line* line, char* block, int length) {
  LineExtra* extra = ensureExtra(task, line);
  if (extra->text) {
    releaseBlock(task, extra->text);
  } else {
    auto units = static_cast<std::uint16_t>(line->capacity() / 8);
    extra->roomUnits = std::max(extra->roomUnits, units);
  }
  extra->text = block;
  LineBuffers::setLength(line, length);
}

// Replaces the text buffer with a fresh one of `capacity` bytes holding the
// first `keep` bytes of the old text. False when the capacity is refused.
bool replaceTextBuffer(Task& task, Line* line, int capacity, int keep) {
  char* fresh = allocTextBuffer(task, capacity, nullptr);
  if (!fresh) return false;
  if (keep > 0) std::memcpy(fresh, LineBuffers::data(line), static_cast<std::size_t>(keep));
  moveTextTo(task, line, fresh, keep);
  return true;
}

// Grows without counting a change.
bool grow(Task& task, Line* line, int newCapacity) {
  if (line->capacity() >= newCapacity) return true;
  return replaceTextBuffer(task, line, newCapacity, line->length());
}

LineExtra* ensureExtra(Task& task, Line* line) {
  if (!LineBuffers::extra(line)) {
    auto* extra = ::new (allocator(task).allocate(sizeof(LineExtra))) LineExtra{};
    std::memset(extra->lineCommand, ' ', kLineFieldWidth);
    std::memset(extra->label, ' ', kLineFieldWidth);
    LineBuffers::attachExtra(line, extra);
  }
  return LineBuffers::extra(line);
}

void dropExtraIfEmpty(Task& task, Line* line) {
  const LineExtra* extra = LineBuffers::extra(line);
  if (!extra || extra->excludedCount != 0 || extra->text) return;
  if (line->hasPendingCommand() || line->hasLabel()) return;
  releaseBlock(task, LineBuffers::extra(line));
  LineBuffers::attachExtra(line, nullptr);
}

void setField(char* field, std::string_view value) {
  std::size_t n = std::min(value.size(), static_cast<std::size_t>(kLineFieldWidth));
  std::memset(field, ' ', kLineFieldWidth);
  std::memcpy(field, value.data(), n);
}

bool isBlank(std::string_view value) {
  return value.find_first_not_of(' ') == std::string_view::npos;
}

// The next line, loading the next chunk of the file first when the store
// ends before BOF.
Line* nextLoaded(Task& task, Line* line) {
  if (!line->next && !line->is(LineKind::Bof) && task.loadNextChunk) task.loadNextChunk(task);
  return line->next;
}


// The next TEXT or BOF line after `line`: where undo puts a deleted line back.
Line* undoPosition(Line* line) {
  Line* p = line->next;
  while (p && !p->is(LineKind::Text) && !p->is(LineKind::Bof)) p = p->next;
  return p;
}

// Unlinks one line and hands it to undo or frees it; true for a TEXT line.
bool removeLine(Task& task, Line* line, bool free) {
  Line* position = undoPosition(line);
  unlinkLine(task, line);
  bool data = isText(line);
  bool held = false;
  if (data && free)
    for (LineObserver* o : task.session.lineObservers) held = o->keepsDeleted(task, line, position) || held;
  if (free && !held) freeLine(task, line);
  return data;
}

bool deletable(const Line* line) {
  return line && !line->is(LineKind::Tof) && !line->is(LineKind::Bof);
}

}  // namespace

Line* nextLoadedLine(Task& task, Line* line) { return nextLoaded(task, line); }

int maxRecLenOf(const Task& task) {
  return task.profile && task.profile->maxRecLen > 0 ? task.profile->maxRecLen : kDefaultMaxRecLen;
}

bool ebcdicFile(const Task& task) {
  return task.profile && task.profile->charset == Charset::Ebcdic;
}

char padCharFor(const Task& task, LineKind kind) {
  bool ebcdicKind = kind == LineKind::Text || kind == LineKind::Mask;
  return ebcdicKind && ebcdicFile(task) ? kEbcdicBlank : kAsciiBlank;
}

namespace {

// A text buffer's length must lie in 1..128000; outside, reported.
bool lengthAllowed(Task& task, int length) {
  if (length >= 1 && length <= kMaxLineLength) return true;
  messagef(task.session, "", kTextBufAllocText, length, kMaxLineLength);
  return false;
}

}  // namespace

char* allocTextBuffer(Task& task, int length, int* granted) {
  if (!lengthAllowed(task, length)) {
    if (granted) *granted = 0;
    return nullptr;
  }
  auto* buffer = static_cast<char*>(allocator(task).allocate(static_cast<std::size_t>(length)));
  if (granted) *granted = static_cast<int>(GuardedAllocator::capacity(buffer));
  return buffer;
}

Line* createLine(Task& task, std::string_view text, LineKind kind) {
  if (!text.empty() && !lengthAllowed(task, requestedLength(text))) return nullptr;
  std::size_t room = ownRoom(text.size());
  Line* line = ::new (task.linePool.take(sizeof(Line) + room)) Line();
  if (room > 0) {
    std::memcpy(LineBuffers::data(line), text.data(), text.size());
    LineBuffers::setOwnLength(line, static_cast<int>(text.size()));
  } else if (!text.empty()) {
    char* buffer = allocTextBuffer(task, requestedLength(text), nullptr);
    std::memcpy(buffer, text.data(), text.size());
    moveTextTo(task, line, buffer, static_cast<int>(text.size()));
  }
  LineBuffers::setKind(line, kind);
  LineBuffers::setFlag(line, LineFlag::Shown, true);
  LineBuffers::setFlag(line, LineFlag::Ebcdic, kind == LineKind::Text && ebcdicFile(task));
  return line;
}

Line* copyLine(Task& task, const Line* source) {
  if (!source) return nullptr;
  Line* copy = createLine(task, source->text(), source->kind());
  if (!copy) return nullptr;
  LineBuffers::setFlag(copy, LineFlag::Ebcdic, source->ebcdic());
  if (source->excludedCount() != 0) setExcludedCount(task, copy, source->excludedCount());
  return copy;
}

void freeLineBuffers(Task& task, Line* line) {
  if (!line) return;
  LineExtra* extra = LineBuffers::extra(line);
  if (extra && extra->text) {
    releaseBlock(task, extra->text);
    extra->text = nullptr;
  }
  LineBuffers::setLength(line, 0);
  dropExtraIfEmpty(task, line);
}

void freeLine(Task& task, Line* line) {
  if (!line) return;
  std::size_t gross = recordGross(line);
  freeLineBuffers(task, line);
  releaseBlock(task, LineBuffers::extra(line));
  task.linePool.give(line, gross);
}

int increaseLineLength(Task& task, Line* line, int newCapacity) {
  if (!line) {
    message(task.session, "LINE70", kNullLineText);
    return -1;
  }
  return grow(task, line, newCapacity) ? 0 : -1;
}

int setLineText(Task& task, Line* line, std::string_view text) {
  if (!line) return -1;
  std::string aligned;  // a numbered UTF-8 line's number stays in its bytes
  if (realignNumberField(task, *line, text, aligned)) text = aligned;
  if (!text.empty() && !lengthAllowed(task, requestedLength(text))) return -1;
  tell(task, [&](LineObserver& o) { o.beforeChange(task, line, LineChange::Text); });
  if (text.empty()) {
    freeLineBuffers(task, line);
  } else if (static_cast<int>(text.size()) <= line->capacity()) {
    std::memmove(LineBuffers::data(line), text.data(), text.size());
    LineBuffers::setLength(line, static_cast<int>(text.size()));
  } else {
    // The text may view the old buffer: copy before that is freed.
    int length = requestedLength(text);
    char* fresh = allocTextBuffer(task, length, nullptr);
    if (!fresh) return -1;
    std::memcpy(fresh, text.data(), text.size());
    moveTextTo(task, line, fresh, length);
  }
  noteModified(task, isText(line));
  return 0;
}

int padLineTo(Task& task, Line* line, int n) {
  if (!line) {
    message(task.session, "LINE70", kNullLineText);
    return -1;
  }
  int length = line->length();
  if (length >= n) return 0;
  if (!lengthAllowed(task, n)) return -1;
  tell(task, [&](LineObserver& o) { o.beforeChange(task, line, LineChange::Text); });
  if (!grow(task, line, n)) return -1;
  std::memset(LineBuffers::data(line) + length, padCharFor(task, line->kind()),
              static_cast<std::size_t>(n - length));
  LineBuffers::setLength(line, n);
  noteModified(task, isText(line));
  return 0;
}

int padLineToMaxRecLen(Task& task, Line* line) {
  if (!line || !isText(line)) {
    message(task.session, "LINE72", kPadKindText);
    return -1;
  }
  return padLineTo(task, line, maxRecLenOf(task));
}

int trimTrailingBlanks(Task& task, Line* line) {
  if (!line || !isText(line)) return 0;
  if (task.profile && task.profile->recfm != 'V') return 0;
  char pad = padCharFor(task, LineKind::Text);
  int length = line->length();
  while (length > 0 && LineBuffers::data(line)[length - 1] == pad) --length;
  int dropped = line->length() - length;
  if (dropped == 0) return 0;
  tell(task, [&](LineObserver& o) { o.beforeChange(task, line, LineChange::Text); });
  LineBuffers::setLength(line, length);
  noteModified(task, true);
  return dropped;
}

int insertLinesBelow(Task& task, Line* line, int n) {
  if (!line || line->is(LineKind::Bof)) {
    message(task.session, "TASKLINE10", kInsertBelowBofText);
    return -1;
  }
  if (n < 1) return 0;
  for (int i = 0; i < n; ++i) {
    Line* fresh = createLine(task, {}, LineKind::Text);
    LineBuffers::setFlag(fresh, LineFlag::Inserted, true);
    linkBelow(task, line, fresh);
    line = fresh;
  }
  noteModified(task, true);
  return 0;
}

int deleteLine(Task& task, Line* line, bool free) {
  if (!deletable(line)) return -1;
  noteModified(task, removeLine(task, line, free));
  return 0;
}

int deleteLines(Task& task, Line* first, Line* last, bool free) {
  if (!first || !last || task.index.ordinalOf(first) < 0) return -1;
  Line* end = first;
  while (end && end != last) end = end->next;
  if (!end) return -1;  // `last` does not follow `first` in this store
  int deleted = 0;
  bool data = false;
  for (Line* line = first; line;) {
    Line* next = line == last ? nullptr : line->next;
    if (deletable(line)) {
      data = removeLine(task, line, free) || data;
      ++deleted;
    }
    line = next;
  }
  if (deleted == 0) return 0;
  noteModified(task, data);
  return deleted;
}

int initLineStore(Task& task) {
  if (!task.lines.empty()) return -1;
  Line* tof = createLine(task, kTofText, LineKind::Tof);
  linkLineBefore(task, nullptr, tof);
  task.topLine = tof;
  return 0;
}

int finishLineStore(Task& task) {
  if (task.lines.last && task.lines.last->is(LineKind::Bof)) return 0;
  linkLineBefore(task, nullptr, createLine(task, kBofText, LineKind::Bof));
  if (!task.topLine) task.topLine = task.lines.first;
  return 0;
}

void setLineFlag(Task& task, Line* line, LineFlag flag, bool on) {
  if (line->has(flag) == on) return;
  tell(task, [&](LineObserver& o) { o.beforeChange(task, line, LineChange::Flags); });
  LineBuffers::setFlag(line, flag, on);
  if (flag == LineFlag::Shown) ++task.structureChanges;  // which lines a view walks past
}

void setLineKind(Task& task, Line* line, LineKind kind) {
  if (line->kind() == kind) return;
  tell(task, [&](LineObserver& o) { o.beforeChange(task, line, LineChange::Kind); });
  int delta = (kind == LineKind::Text) - isText(line);
  LineBuffers::setKind(line, kind);
  ++task.structureChanges;
  if (delta == 0 || task.index.ordinalOf(line) < 0) return;
  task.textLines += delta;
  task.index.textCountChanged(line, delta);
}

void setRecordNumber(Line* line, std::uint32_t record) {
  LineBuffers::setRecordNumber(line, record);
}

void setLineCommand(Task& task, Line* line, std::string_view command) {
  if (isBlank(command) && !LineBuffers::extra(line)) return;
  tell(task, [&](LineObserver& o) { o.beforeChange(task, line, LineChange::Marks); });
  setField(ensureExtra(task, line)->lineCommand, command);
  bool linked = line->prev || task.lines.first == line;
  if (line->hasPendingCommand() && linked)
    task.pendingLines.insert(line);
  else
    task.pendingLines.erase(line);
  dropExtraIfEmpty(task, line);
}

void setLabel(Task& task, Line* line, std::string_view label) {
  if (isBlank(label) && !LineBuffers::extra(line)) return;
  tell(task, [&](LineObserver& o) { o.beforeChange(task, line, LineChange::Marks); });
  setField(ensureExtra(task, line)->label, label);
  dropExtraIfEmpty(task, line);
}

void setExcludedCount(Task& task, Line* line, int count) {
  if (count == 0 && !LineBuffers::extra(line)) return;
  tell(task, [&](LineObserver& o) { o.beforeChange(task, line, LineChange::Marks); });
  ensureExtra(task, line)->excludedCount = count;
  dropExtraIfEmpty(task, line);
}

}  // namespace kiv

namespace kiv {

void setSavedForUndo(Line* line, bool on) {
  LineBuffers::setFlag(line, LineFlag::SavedForUndo, on);
}

void clearDeletedMarks(Task& task, Line* line) {
  if (LineExtra* extra = LineBuffers::extra(line)) {
    setField(extra->lineCommand, "");
    setField(extra->label, "");
    dropExtraIfEmpty(task, line);
  }
  for (LineFlag f : {LineFlag::Error, LineFlag::Inserted, LineFlag::Changed, LineFlag::SavedForUndo})
    LineBuffers::setFlag(line, f, false);
  LineBuffers::setFlag(line, LineFlag::Shown, true);
}

}  // namespace kiv
