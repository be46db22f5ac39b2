#include "core/undo_journal.h"

#include <algorithm>
#include <cstring>

#include "core/line_observer.h"
#include "core/line_ops.h"
#include "core/task.h"
#include "services/var_pool.h"

namespace kiv {

namespace {

constexpr std::size_t kBlockSize = std::size_t{1} << 20;

}  // namespace

std::string_view UndoStack::textOf(const UndoRecord& r) const {
  if (r.textLength == 0) return {};
  const Block& b = blocks_[static_cast<std::size_t>(r.textAt >> 32)];
  return {b.data.get() + (r.textAt & 0xFFFFFFFFU), r.textLength};
}

void UndoStack::push(UndoRecord r, std::string_view text) {
  r.textAt = 0;
  r.textLength = static_cast<std::uint32_t>(text.size());
  if (!text.empty()) {
    if (blocks_.empty() || blocks_.back().size - blocks_.back().used < text.size()) {
      std::size_t size = std::max(kBlockSize, text.size());
      blocks_.push_back({std::make_unique<char[]>(size), size, 0});
    }
    Block& b = blocks_.back();
    std::memcpy(b.data.get() + b.used, text.data(), text.size());
    r.textAt = (static_cast<std::uint64_t>(blocks_.size() - 1) << 32) | b.used;
    b.used += text.size();
    textBytes_ += text.size();
  }
  records_.push_back(r);
}

void UndoStack::pop() {
  const UndoRecord& r = records_.back();
  if (r.textLength > 0) {
    blocks_[static_cast<std::size_t>(r.textAt >> 32)].used = r.textAt & 0xFFFFFFFFU;
    textBytes_ -= r.textLength;
    while (!blocks_.empty() && blocks_.back().used == 0) blocks_.pop_back();
  }
  records_.pop_back();
}

std::size_t UndoStack::bytes() const {
  std::size_t total = records_.size() * sizeof(UndoRecord);
  for (const Block& b : blocks_) total += b.size;
  return total;
}

void UndoStack::clear(Task& task) {
  for (const UndoRecord& r : records_)
    if (r.type == UndoType::Deleted) freeLine(task, r.line);
  records_.clear();
  records_.shrink_to_fit();
  blocks_.clear();
  blocks_.shrink_to_fit();
  textBytes_ = 0;
}

namespace {

bool linked(const Task& task, const Line* line) {
  return line->prev || task.lines.first == line;
}

// Undo is on for this step (ZEDIT.UNDO read once a step).
bool recording(Task& task) {
  UndoJournal& j = task.journal;
  if (!j.stepChecked) {
    j.on = varGet(task.session, "ZEDIT.UNDO") != "FALSE";
    j.stepChecked = true;
  }
  return j.on;
}

// The stack the open step records on; a new change (not an undo or a redo)
// ends what could be redone.
UndoStack& target(Task& task) {
  UndoJournal& j = task.journal;
  if (j.mode == UndoMode::Recording && !j.redo.empty()) j.redo.clear(task);
  j.stepUsed = true;
  return j.mode == UndoMode::Undoing ? j.redo : j.undo;
}

UndoRecord record(Task& task, UndoType type, Line* line) {
  return UndoRecord{line, nullptr, nullptr, 0, 0, task.journal.step, 0, type, line->kind(), line->changed()};
}

struct UndoRecorder : LineObserver {
  void beforeChange(Task& task, Line* line, LineChange what) override {
    bool text = what == LineChange::Text && line->is(LineKind::Text);
    if ((!text && what != LineChange::Kind) || line->has(LineFlag::SavedForUndo)) return;
    if (!linked(task, line) || !recording(task)) return;
    UndoRecord r = record(task, UndoType::Changed, line);
    r.column = task.editColumn;
    target(task).push(r, line->text());
    setSavedForUndo(line, true);
    task.journal.saved.push_back(line);
  }
  void afterInsert(Task& task, Line* line) override {
    if (!line->is(LineKind::Text) || !recording(task)) return;
    target(task).push(record(task, UndoType::Inserted, line));
  }
  bool keepsDeleted(Task& task, Line* line, Line* position) override {
    if (!recording(task)) return false;
    clearDeletedMarks(task, line);
    UndoRecord r = record(task, UndoType::Deleted, line);
    r.other = position;
    target(task).push(r);
    return true;
  }
  void beforeMove(Task& task, Line* first, Line* last, Line* /*before*/) override {
    if (!recording(task)) return;
    UndoRecord r = record(task, UndoType::Moved, first);
    r.other = last;
    r.position = last->next;
    target(task).push(r);
  }
  // Both lists, places then order, end to end: undoing puts `places`'
  // lines back into the places `order` gave them.
  void beforeReorder(Task& task, std::span<Line* const> places, std::span<Line* const> order) override {
    if (!recording(task)) return;
    std::string bytes(reinterpret_cast<const char*>(places.data()), places.size_bytes());
    bytes.append(reinterpret_cast<const char*>(order.data()), order.size_bytes());
    target(task).push(record(task, UndoType::Reordered, places.front()), bytes);
  }
  void stepClosed(Task& task) override { cutUndoStep(task); }
};

}  // namespace

std::unique_ptr<LineObserver> makeUndoRecorder() {
  return std::make_unique<UndoRecorder>();
}

void cutUndoStep(Task& task) {
  UndoJournal& j = task.journal;
  for (Line* line : j.saved) setSavedForUndo(line, false);
  j.saved.clear();
  if (j.stepUsed) ++j.step;
  j.stepUsed = false;
  j.stepChecked = false;
}

void clearUndo(Task& task) {
  cutUndoStep(task);
  task.journal.undo.clear(task);
  task.journal.redo.clear(task);
}

}  // namespace kiv
