#include "commands/line_commands.h"

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "commands/labels.h"
#include "commands/line_command_fields.h"
#include "commands/line_command_table.h"
#include "commands/line_range_ops.h"
#include "commands/line_shift.h"
#include "commands/text_entry.h"
#include "commands/text_flow.h"
#include "core/edit_step.h"
#include "core/excluded.h"
#include "core/hex_view.h"
#include "core/line_ops.h"
#include "core/selection.h"
#include "core/session.h"
#include "core/task.h"
#include "screen/edit_panel.h"
#include "screen/screen_state.h"
#include "services/messages.h"

namespace kiv {

namespace {

constexpr std::string_view kUnknown = "'%s' is not a valid line command.";
constexpr std::string_view kManyTs = "Not allowed to have multiple TS line commands.";
constexpr std::string_view kBrowse = "In BROWSE, '%s' line command not allowed";
constexpr std::string_view kNotOnSpecial = "'%s' not allowed on %s.";
constexpr std::string_view kConflict =
    "Line command conflict:\n\n      %s  on line  %d\n      %s  on line  %d\n\nUse RESET to clear "
    "all line commands,\nor manually alter conflicting line commands.";
constexpr std::string_view kLabelName =
    "Label name must be from set a-z, A-Z, 0-9.\n\nLetter Z or number not allowed as first "
    "character.";

// The lines a pending command takes, by place key, for the conflict check.
struct Claim {
  long from = 0;
  long to = 0;
  const Pending* by = nullptr;
  const Pending* otherEnd = nullptr;  // a block's first end, for the claim of the whole block
};

// A block: its two ends as they come.
struct Block {
  Pending* first = nullptr;
  Pending* second = nullptr;
};

// The source of a copy or move: a C or M line with its count, or a complete
// CC or MM block.
struct Source {
  Pending* first = nullptr;
  Pending* last = nullptr;
  Line* from = nullptr;
  Line* to = nullptr;
  bool move = false;
  bool moveUp = false;  // MU or MUU: the data moves up to the destination
};

// The shift a code asks for, if it is one.
std::optional<ShiftKind> shiftKindOf(Lc code) {
  switch (code) {
    case Lc::ColLeft:
    case Lc::ColLeftBlock:
      return ShiftKind::ColumnsLeft;
    case Lc::ColRight:
    case Lc::ColRightBlock:
      return ShiftKind::ColumnsRight;
    case Lc::DataLeft:
    case Lc::DataLeftBlock:
      return ShiftKind::DataLeft;
    case Lc::DataRight:
    case Lc::DataRightBlock:
      return ShiftKind::DataRight;
    default:
      return std::nullopt;
  }
}

bool isExcludeCode(Lc code) {
  return code == Lc::Exclude || code == Lc::ExcludeBlock;
}

class Processor {
 public:
  Processor(Session& s, Task& task) : s_(s), task_(task) {}
  int run();

 private:
  bool collect();
  bool order();
  void carryOut(Pending& p);
  bool allowedOnSpecial(Pending& p);
  bool checkConflicts();
  void conflict(const Pending& earlier, const Pending& later);
  void finish(Pending& p);
  void stop(Pending& p);
  void pairUp();
  void blockEnd(Pending& p);
  void completeBlock(Lc kind, Pending& first, Pending& second);
  void rangeCommand(Pending& p, Lc kind, Line* from, Line* to, long count);
  void label(Pending& p);
  Line* insertPoint(Pending& p, std::string_view id, std::string_view refusal);
  void insert(Pending& p);
  void insertNote(Pending& p);
  void select(Pending& p, Pending* last, Line* from, Line* to);
  void textEntry(Pending& p);
  void ignoreAfterSelection(std::size_t next);
  void destination(Pending& p);
  void source(Pending& p, Line* from, Line* to, Pending* last, bool move);
  void showRun(Pending& p, bool first);
  void textSplit(Pending& p);
  void overlayTarget(Pending& p, Pending* last, Line* from, Line* to);
  void hexNotes(Pending& p, Pending* last, Line* from, Line* to);
  void overlay();
  void warnMoveUpOnce();

  Session& s_;
  Task& task_;
  std::vector<Pending> list_;
  std::map<Lc, Block> blocks_;
  Pending* dest_ = nullptr;
  Source source_;
  Source target_;  // the lines an overlay goes over (O, OK, OO, OOK)
  Line* cursorLine_ = nullptr;
  int cursorColumn_ = 1;  // the data column the cursor goes to on cursorLine_
  int carried_ = 0;
  bool stopped_ = false;
  bool selected_ = false;  // a command of this run made a selection
};

bool Processor::collect() {
  list_ = pendingFields(task_);
  for (Pending& p : list_) {
    if (!parseField(s_, task_, p)) {
      setLineFlag(task_, p.line, LineFlag::Error, true);
      stop(p);
      return false;
    }
  }
  for (Pending& p : list_) {
    p.entry = p.text.starts_with('.') ? findLineCommand(".") : findLineCommand(p.text);
    if (!p.entry) {
      messagef(s_, "", kUnknown, p.text);
      stop(p);
      return false;
    }
  }
  return true;
}

// A TS goes first, X and XX last; everything else keeps file order.
bool Processor::order() {
  auto isSplit = [](const Pending& p) { return p.entry->code == Lc::TextSplit; };
  if (std::count_if(list_.begin(), list_.end(), isSplit) > 1) {
    message(s_, "", kManyTs);
    return false;
  }
  std::stable_partition(list_.begin(), list_.end(), isSplit);
  std::stable_partition(list_.begin(), list_.end(), [](const Pending& p) { return !isExcludeCode(p.entry->code); });
  return true;
}

void Processor::stop(Pending& p) {
  stopped_ = true;
  cursorLine_ = p.line;
}

void Processor::finish(Pending& p) {
  if (!p.done) setLineCommand(task_, p.line, "");
  p.done = true;
  ++carried_;
}

void Processor::conflict(const Pending& earlier, const Pending& later) {
  messagef(s_, "", kConflict, earlier.text, earlier.number, later.text, later.number);
  stopped_ = true;
  cursorLine_ = later.line;
}

// Commands that wait for a partner: their lines must stay until it comes.
bool waits(Lc code) {
  switch (plainCode(code)) {
    case Lc::After: case Lc::Before: case Lc::Copy: case Lc::CopyBlock: case Lc::Move:
    case Lc::MoveBlock: case Lc::Overlay: case Lc::OverlayBlock: case Lc::MoveUp:
    case Lc::MoveUpBlock:
      return true;
    default:
      return false;
  }
}

// Commands whose lines go away or out of sight.
bool removes(Lc code) {
  switch (code) {
    case Lc::Delete: case Lc::DeleteBlock: case Lc::TextJoin: case Lc::Exclude:
    case Lc::ExcludeBlock:
      return true;
    default:
      return false;
  }
}

// Before anything runs, so that no command loses its line to another: the
// lines a command removes (D, DD, TJ's next line, X, XX) may not meet another
// command's lines (X and XX run last: only a waiting one counts for them;
// a waiting one gives LCMDFNC10), and the lines of commands that wait for a
// partner may not meet. Block ends pair in file order.
bool Processor::checkConflicts() {
  bool browse = task_.mode == TaskMode::Browse;
  std::vector<Claim> claims;
  std::map<Lc, Pending*> open;
  for (Pending& p : list_) {
    if (browse && !p.entry->browse) continue;  // cleared when its turn comes
    Lc code = plainCode(p.entry->code);
    Claim c{p.key, p.key, &p};
    if (isBlockEnd(code)) {
      auto it = open.find(code);
      if (it == open.end()) {
        open[code] = &p;
        claims.push_back(c);
        continue;
      }
      c.from = it->second->key;
      c.otherEnd = it->second;
      open.erase(it);
    } else if (countsLines(code) || code == Lc::Exclude) {
      c.to = placeKey(task_, rangeEnd(task_, p.line, std::max(p.count, 1L)));
    } else if (code == Lc::TextJoin) {
      Line* next = p.line->next;
      while (next && !next->is(LineKind::Text) && !next->is(LineKind::Bof)) next = next->next;
      if (next) c.to = placeKey(task_, next);
    }
    claims.push_back(c);
  }
  for (std::size_t i = 0; i < claims.size(); ++i)
    for (std::size_t j = 0; j < claims.size(); ++j) {
      const Claim& a = claims[i];  // the lines a command takes
      const Claim& b = claims[j];  // the lines of another
      if (i == j || a.by == b.by || a.otherEnd == b.by || b.otherEnd == a.by) continue;
      Lc ac = plainCode(a.by->entry->code), bc = plainCode(b.by->entry->code);
      // An exclude's lines are found when it runs, last: only its own line counts here.
      long bFrom = isExcludeCode(bc) ? b.by->key : b.from, bTo = isExcludeCode(bc) ? b.by->key : b.to;
      if (bTo < a.from || bFrom > a.to) continue;
      bool clash = removes(ac) ? (!isExcludeCode(ac) || waits(bc)) : waits(ac) && waits(bc);
      if (!clash) continue;
      if (removes(ac) && waits(bc)) {
        messagef(s_, "LCMDFNC10",
                 "Can not process line command '%s' on line %d when line command '%s' is pending "
                 "on line %d.\n\nUse RESET to clear pending line commands.",
                 a.by->text, a.by->number, b.by->text, b.by->number);
        stopped_ = true;
        cursorLine_ = a.by->line;
        return false;
      }
      const Pending& earlier = a.by->key <= b.by->key ? *a.by : *b.by;
      conflict(earlier, &earlier == a.by ? *b.by : *a.by);
      return false;
    }
  return true;
}

bool Processor::allowedOnSpecial(Pending& p) {
  bool tof = p.line->is(LineKind::Tof), bof = p.line->is(LineKind::Bof);
  if (!tof && !bof) return true;
  static constexpr Lc kOnTof[] = {Lc::ColLeftBlock, Lc::ColRightBlock, Lc::DataLeftBlock,
                                  Lc::DataRightBlock, Lc::After, Lc::AfterKeep, Lc::Insert,
                                  Lc::InsertNote, Lc::TextEntry};
  static constexpr Lc kOnBof[] = {Lc::ColLeftBlock, Lc::ColRightBlock, Lc::DataLeftBlock,
                                  Lc::DataRightBlock, Lc::After, Lc::AfterKeep, Lc::Before,
                                  Lc::BeforeKeep, Lc::Bounds, Lc::Cols, Lc::Insert,
                                  Lc::InsertNote, Lc::Mask, Lc::Tabs};
  auto in = [&](auto& set) { return std::find(std::begin(set), std::end(set), p.entry->code) != std::end(set); };
  if (tof ? in(kOnTof) : in(kOnBof)) return true;
  messagef(s_, "LCMDDISP5", kNotOnSpecial, p.text, tof ? "TOF Line" : "BOF Line");
  stop(p);
  return false;
}

void Processor::label(Pending& p) {
  if (!isUserLabel(p.text)) {
    message(s_, "", kLabelName);
    return stop(p);
  }
  finish(p);
  setLabel(task_, p.line, p.text);
}

// The line that I and IN insert below: on the BOF line, the line before it,
// which may not be the TOF line.
Line* Processor::insertPoint(Pending& p, std::string_view id, std::string_view refusal) {
  Line* at = p.line;
  if (!at->is(LineKind::Bof)) return at;
  at = at->prev;
  if (at && !at->is(LineKind::Tof)) return at;
  message(s_, id, refusal);
  stop(p);
  return nullptr;
}

void Processor::insert(Pending& p) {
  Line* at = insertPoint(p, "LCMDDISP25", "I not allowed on BOF line.");
  if (!at) return;
  finish(p);
  Line* place = placeBelow(task_, at);
  Line* before = place ? place->prev : task_.lines.last;  // the new lines follow it
  insertLinesBelow(task_, at, static_cast<int>(std::clamp(p.count, 1L, 99999L)));
  cursorLine_ = before->next;  // the cursor goes to the first inserted line
}

// IN: one empty NOTE line, open for typing while it is new; Enter on it once
// typed into opens the next (continueInsert).
void Processor::insertNote(Pending& p) {
  if (p.count > 0) {
    message(s_, "", "IN line command, repeat count not allowed.");
    return stop(p);
  }
  Line* at = insertPoint(p, "", "IN not allowed on BOF line.");
  if (!at) return;
  finish(p);
  cursorLine_ = openNoteBelow(task_, at);
}

// Z and ZZ: the lines become the task's selection, as whole lines. The ends
// must be TEXT lines; a range that ends on a marker or a special line ends
// at the TEXT line before it.
void Processor::select(Pending& p, Pending* last, Line* from, Line* to) {
  while (to != from && !to->is(LineKind::Text)) to = to->prev;
  if (!from->is(LineKind::Text) || (last && !last->line->is(LineKind::Text))) {
    message(s_, "", "Not allowed to select non-data line.");
    return stop(last && from->is(LineKind::Text) ? *last : p);
  }
  finish(p);
  if (last) finish(*last);
  setSelection(task_, from, to, SelectionMode::WholeLine, 1, kWholeLineEnd);
  selected_ = true;
}

void Processor::textEntry(Pending& p) {
  EditPanel* panel = currentEditPanel(s_);
  bool onPanel = panel && &panel->task == &task_;
  TextEntryRoom room{onPanel ? panel->dataRows : 0, onPanel ? panel->dataWidth() : 0};
  if (openTextEntry(task_, p.line, static_cast<int>(std::min(p.count, 99999L)), room) != 0)
    return stop(p);
  finish(p);
  cursorLine_ = task_.textEntry.lines.first;
  cursorColumn_ = task_.textEntry.left;
  task_.topLine = p.line;  // the area fills the screen below the line
}

// Once a command made a selection, the commands after it are dropped.
void Processor::ignoreAfterSelection(std::size_t next) {
  bool any = false;
  for (std::size_t i = next; i < list_.size(); ++i) {
    if (list_[i].done) continue;
    setLineCommand(task_, list_[i].line, "");
    list_[i].done = true;
    any = true;
  }
  if (any) message(s_, "", "Line commands after active selection will be ignored.");
}

void Processor::rangeCommand(Pending& p, Lc kind, Line* from, Line* to, long count) {
  switch (kind) {
    case Lc::Delete:
    case Lc::DeleteBlock:
      return deleteRange(task_, from, to), void();
    case Lc::Exclude:
    case Lc::ExcludeBlock:
      return excludeRange(task_, from, to);
    case Lc::MakeData:
    case Lc::MakeDataBlock:
      return makeData(task_, from, to);
    case Lc::Repeat:
    case Lc::RepeatBlock:
      copyRange(task_, from, to, to, nullptr, std::max(count, 1L));
      return;
    case Lc::Lower:
    case Lc::LowerBlock:
    case Lc::Upper:
    case Lc::UpperBlock:
      return convertCase(task_, from, to, kind == Lc::Upper || kind == Lc::UpperBlock);
    case Lc::ColLeft:
    case Lc::ColLeftBlock:
    case Lc::ColRight:
    case Lc::ColRightBlock:
    case Lc::DataLeft:
    case Lc::DataLeftBlock:
    case Lc::DataRight:
    case Lc::DataRightBlock:
      return shiftLines(task_, from, to, *shiftKindOf(kind),
                        count > 0 ? static_cast<int>(std::min(count, 128000L)) : defaultShiftAmount(s_));
    default:
      messagef(s_, "", kUnknown, p.text);
      stop(p);
  }
}

void Processor::destination(Pending& p) {
  if (dest_) return conflict(*dest_, p);
  if (p.line->is(LineKind::Bof) && plainCode(p.entry->code) == Lc::After) {
    if (!p.line->prev || p.line->prev->is(LineKind::Tof)) {
      message(s_, "LCMDDISP15", "A not allowed on BOF line.");
      return stop(p);
    }
  }
  dest_ = &p;
}

void Processor::source(Pending& p, Line* from, Line* to, Pending* last, bool move) {
  if (source_.first) return conflict(*source_.first, p);
  source_ = {&p, last ? last : &p, from, to, move};
}

void Processor::overlayTarget(Pending& p, Pending* last, Line* from, Line* to) {
  if (target_.first) return conflict(*target_.first, p);
  target_ = {&p, last ? last : &p, from, to, false};
}

void Processor::hexNotes(Pending& p, Pending* last, Line* from, Line* to) {
  if (hexViewShown(task_)) {
    message(s_, "", "HX line command not allowed when HEX ON active");
    return stop(p);
  }
  finish(p);
  if (last) finish(*last);
  insertHexNotes(task_, from, to);
}

// MU and MUU cannot be undone: the first time in a session this is said.
struct MoveUpWarned : Feature {
  explicit MoveUpWarned(Session&) {}
  bool shown = false;
};

void Processor::warnMoveUpOnce() {
  auto& warned = s_.feature<MoveUpWarned>();
  if (warned.shown) return;
  warned.shown = true;
  message(s_, "MUU05",
          "You can not undo MU/MUU operations.\n\nThis message will only appear once per KIV session.");
}

// An overlay runs as soon as it has its source and its target; a moved
// source goes only when every line could be laid over.
void Processor::overlay() {
  bool keep = target_.first->entry->keep || target_.last->entry->keep;
  finish(*target_.first);
  if (target_.last != target_.first) finish(*target_.last);
  if (!keep) {
    finish(*source_.first);
    if (source_.last != source_.first) finish(*source_.last);
  }
  bool complete = overlayRange(task_, source_.from, source_.to, target_.from, target_.to);
  if (source_.move && !keep) {
    if (complete) {
      deleteRange(task_, source_.from, source_.to);
    } else {
      message(s_, "LCMDDISP105", "O/OO incomplete, M/MM lines not deleted.");
      stop(*target_.first);
    }
  }
  if (!keep) source_ = {};
  target_ = {};
}

// A copy or move runs as soon as it has both its source and its destination.
void Processor::pairUp() {
  if (!stopped_ && target_.first && source_.first) return overlay();
  if (stopped_ || !dest_ || !source_.first) return;
  Pending& d = *dest_;
  bool keep = d.entry->keep;  // the source stays for further destinations
  bool after = plainCode(d.entry->code) == Lc::After;
  Line* anchor = d.line;
  if (after && anchor->is(LineKind::Bof)) anchor = anchor->prev;
  long times = std::max(d.count, 1L);
  Line* at = after ? anchor : nullptr;
  Line* before = after ? nullptr : anchor;
  auto finishPartners = [&] {
    finish(d);
    if (keep) return;
    finish(*source_.first);
    if (source_.last != source_.first) finish(*source_.last);
  };
  if (source_.moveUp) {
    if (moveDataUp(task_, source_.from, source_.to, after ? placeBelow(task_, anchor) : anchor) != 0)
      return stop(d);
    finishPartners();
    warnMoveUpOnce();
  } else {
    finishPartners();
    if (source_.move && !keep) {
      if (times > 1) copyRange(task_, source_.from, source_.to, at, before, times - 1);
      moveRange(task_, source_.from, source_.to, at, before);
    } else {
      copyRange(task_, source_.from, source_.to, at, before, times);
    }
  }
  dest_ = nullptr;
  if (!keep) source_ = {};
}

void Processor::completeBlock(Lc kind, Pending& first, Pending& second) {
  Line* from = first.line;
  Line* to = extendOverExcluded(task_, second.line);
  long count = std::max(first.count, second.count);
  switch (kind) {
    case Lc::CopyBlock:
    case Lc::MoveBlock:
      source(first, from, to, &second, kind == Lc::MoveBlock);
      return;
    case Lc::MoveUpBlock:
      source(first, from, to, &second, false);
      source_.moveUp = source_.first == &first;
      return;
    case Lc::OverlayBlock:
      overlayTarget(first, &second, from, to);
      return;
    case Lc::HexBlock:
      hexNotes(first, &second, from, to);
      return;
    case Lc::SelectBlock:
      select(first, &second, from, to);
      return;
    default:
      break;
  }
  finish(first);
  finish(second);
  rangeCommand(second, kind, from, to, count);
}

void Processor::blockEnd(Pending& p) {
  Lc kind = p.entry->code == Lc::OverlayBlockKeep ? Lc::OverlayBlock : p.entry->code;
  Block& b = blocks_[kind];
  if (b.first && b.second) return conflict(*b.second, p);
  if (!b.first) {
    b.first = &p;
    return;
  }
  b.second = &p;
  Pending& first = *b.first;
  blocks_.erase(kind);  // the slot is free again for another block of its kind
  completeBlock(kind, first, p);
}

void Processor::showRun(Pending& p, bool first) {
  if (!p.line->is(LineKind::Excluded)) {
    if (first)
      message(s_, "LCMDDISP20", "FIRST only allowed on excluded line.");
    else
      message(s_, "LCMDDISP30", "LAST only allowed on excluded line.");
    return stop(p);
  }
  finish(p);
  showFromRun(task_, p.line, std::max(p.count, 1L), first);
}

// TS splits the line at the cursor, which must stand in the line's data.
void Processor::textSplit(Pending& p) {
  EditPanel* panel = currentEditPanel(s_);
  int column = 0;
  if (panel && &panel->task == &task_ && panel->lineAtRow(panel->cursorRow) == p.line &&
      panel->cursorCol > panel->prefixWidth())
    column = panel->cursorCol - panel->prefixWidth() + panel->displayOffset();
  if (!p.line->is(LineKind::Text)) {
    message(s_, "LCMDDISP90", "TS not allowed on non-text line.");
    return stop(p);
  }
  if (column == 0) {
    message(s_, "TASKLINE30", "Cursor must be on SPLIT line, SPLIT ignored.");
    return stop(p);
  }
  if (splitLine(task_, p.line, column) != 0) return stop(p);
  finish(p);
}

void Processor::carryOut(Pending& p) {
  if (task_.mode == TaskMode::Browse && !p.entry->browse) {
    setLineCommand(task_, p.line, "");
    p.done = true;
    messagef(s_, "LCMD10", kBrowse, p.text);
    return;
  }
  if (!allowedOnSpecial(p)) return;
  Lc code = p.entry->code;
  switch (code) {
    case Lc::Label:
      return label(p);
    case Lc::Insert:
      return insert(p);
    case Lc::InsertNote:
      return insertNote(p);
    case Lc::TextEntry:
      return textEntry(p);
    case Lc::Select:
      return select(p, nullptr, p.line, rangeEnd(task_, p.line, std::max(p.count, 1L)));
    case Lc::After:
    case Lc::AfterKeep:
    case Lc::Before:
    case Lc::BeforeKeep:
      return destination(p);
    case Lc::Copy:
    case Lc::Move:
      return source(p, p.line, rangeEnd(task_, p.line, std::max(p.count, 1L)), nullptr,
                    code == Lc::Move);
    case Lc::First:
    case Lc::Last:
      return showRun(p, code == Lc::First);
    case Lc::Show:
      if (!p.line->is(LineKind::Excluded)) {
        message(s_, "LCMDDISP40", "S line command only allowed on exclude line.");
        return stop(p);
      }
      if (!indentLevelsLeft(task_, p.line)) {
        message(s_, "LCMDDISP35", "S line command no more indent levels.");
        return stop(p);
      }
      finish(p);  // the marker goes: its field first
      return showByIndent(task_, p.line, std::max(p.count, 1L));
    case Lc::Bounds:
    case Lc::Cols:
    case Lc::Mask:
    case Lc::Tabs: {
      static constexpr std::pair<Lc, LineKind> kKinds[] = {
          {Lc::Bounds, LineKind::Bnds}, {Lc::Cols, LineKind::Cols}, {Lc::Mask, LineKind::Mask},
          {Lc::Tabs, LineKind::Tabs}};
      Line* at = p.line->is(LineKind::Bof) ? p.line->prev : p.line;
      finish(p);
      for (auto [c, kind] : kKinds)
        if (c == code) insertSpecialLine(task_, at, kind);
      return;
    }
    case Lc::TextSplit:
      return textSplit(p);
    case Lc::Overlay:
    case Lc::OverlayKeep:
      return overlayTarget(p, nullptr, p.line, rangeEnd(task_, p.line, std::max(p.count, 1L)));
    case Lc::Hex:
      return hexNotes(p, nullptr, p.line, rangeEnd(task_, p.line, std::max(p.count, 1L)));
    case Lc::MoveUp:
      source(p, p.line, rangeEnd(task_, p.line, std::max(p.count, 1L)), nullptr, false);
      source_.moveUp = source_.first == &p;
      return;
    case Lc::TextJoin:
      if (joinLines(task_, p.line) != 0) return stop(p);
      return finish(p);
    case Lc::TextFlow:
      if (flowText(task_, p.line, static_cast<int>(std::min(p.count, 128000L))) != 0) return stop(p);
      return finish(p);
    case Lc::Delete:
    case Lc::Exclude:
    case Lc::MakeData:
    case Lc::Lower:
    case Lc::Upper:
    case Lc::ColLeft:
    case Lc::ColRight:
    case Lc::DataLeft:
    case Lc::DataRight:
    case Lc::Repeat: {
      bool countsColumns = code == Lc::Repeat || shiftKindOf(code) != std::nullopt;
      long lines = countsColumns ? 1 : std::max(p.count, 1L);
      Line* to = rangeEnd(task_, p.line, lines);
      finish(p);
      return rangeCommand(p, code, p.line, to, p.count);
    }
    case Lc::CopyBlock:
    case Lc::MoveBlock:
    case Lc::MoveUpBlock:
    case Lc::OverlayBlock:
    case Lc::OverlayBlockKeep:
    case Lc::HexBlock:
    case Lc::LowerBlock:
    case Lc::UpperBlock:
    case Lc::ColLeftBlock:
    case Lc::ColRightBlock:
    case Lc::DataLeftBlock:
    case Lc::DataRightBlock:
    case Lc::DeleteBlock:
    case Lc::ExcludeBlock:
    case Lc::MakeDataBlock:
    case Lc::RepeatBlock:
    case Lc::SelectBlock:
      return blockEnd(p);
    default:
      messagef(s_, "", kUnknown, p.text);
      return stop(p);
  }
}

int Processor::run() {
  EditStep step(s_);  // every command of this Enter is one undo step
  if (collect() && checkConflicts() && order()) {
    for (std::size_t i = 0; i < list_.size(); ++i) {
      carryOut(list_[i]);
      pairUp();
      if (stopped_) break;
      if (selected_) {
        ignoreAfterSelection(i + 1);
        break;
      }
    }
  }
  if (EditPanel* panel = currentEditPanel(s_); panel && &panel->task == &task_) {
    panel->refreshData();
    if (cursorLine_ && cursorLine_->prev) {
      bool shown = false;
      for (int row = panel->firstDataRow; row < panel->firstDataRow + panel->dataRows; ++row)
        if (panel->lineAtRow(row) == cursorLine_) {
          int data = std::clamp(cursorColumn_ - panel->displayOffset(), 1, panel->dataWidth());
          setCursor(*panel, row, stopped_ ? 1 : panel->prefixWidth() + data);
          shown = true;
        }
      if (!shown) task_.topLine = cursorLine_;
    }
  }
  return carried_ > 0 ? carried_ : (stopped_ ? 1 : 0);
}

}  // namespace

int processLineCommands(Session& s, Task& task) {
  int closed = 0;
  if (task.textEntry.lines.held()) {  // the Enter after TE flows what was typed
    EditStep step(s);
    closeTextEntry(task);
    closed = 1;
  }
  if (task.pendingLines.empty()) return closed;
  return std::max(Processor(s, task).run(), closed);
}

}  // namespace kiv
