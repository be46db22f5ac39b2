#include "commands/reset_command.h"

#include <array>
#include <string>
#include <vector>

#include "commands/labels.h"
#include "core/hex_view.h"
#include "core/line_ops.h"
#include "core/selection.h"
#include "core/session.h"
#include "core/task.h"
#include "screen/screen_state.h"
#include "screen/edit_panel.h"
#include "services/messages.h"

namespace kiv {

namespace {

enum Part : unsigned {
  kChange = 1, kCommand = 2, kError = 4, kExcluded = 8, kFind = 16, kHex = 32, kHide = 64,
  kLabels = 128, kSelection = 256, kSpecial = 512,
};

// The keywords and their short forms.
constexpr std::array<std::pair<std::string_view, unsigned>, 22> kWords = {{
    {"CHANGE", kChange},   {"CHA", kChange},       {"CHG", kChange},    {"COMMAND", kCommand},
    {"COM", kCommand},     {"CMD", kCommand},      {"ERROR", kError},   {"ERR", kError},
    {"EXCLUDED", kExcluded}, {"EXC", kExcluded},   {"FIND", kFind},     {"FIN", kFind},
    {"HEX", kHex},         {"HX", kHex},           {"HIDE", kHide},     {"LABELS", kLabels},
    {"LABEL", kLabels},    {"LAB", kLabels},       {"SELECTION", kSelection},
    {"SEL", kSelection},   {"SPECIAL", kSpecial},  {"SPE", kSpecial},
}};

// Without a keyword everything is reset but the labels.
constexpr unsigned kDefault = ~0U & ~static_cast<unsigned>(kLabels);

bool isSpecial(const Line* line) {
  switch (line->kind()) {
    case LineKind::Note:
    case LineKind::Cols:
    case LineKind::Bnds:
    case LineKind::Mask:
    case LineKind::Tabs:
      return true;
    default:
      return false;
  }
}

bool isHexNote(const Line* line) {
  return line->has(LineFlag::HexHighNote) || line->has(LineFlag::HexLowNote);
}

void resetLine(Task& task, Line* p, unsigned what) {
  if (what & kCommand) setLineCommand(task, p, "");
  if (what & kError) setLineFlag(task, p, LineFlag::Error, false);
  if (what & kChange) setLineFlag(task, p, LineFlag::Changed, false);
  if (what & kLabels) setLabel(task, p, "");
  if ((what & kExcluded) && !p->shown() && !isHexViewLine(p)) {
    setLineFlag(task, p, LineFlag::Shown, true);
    for (Line* h = p->next; h && isHexViewLine(h); h = h->next) setLineFlag(task, h, LineFlag::Shown, true);
  }
}

bool removable(const Line* p, unsigned what) {
  if ((what & kExcluded) && p->is(LineKind::Excluded)) return true;
  if ((what & kHex) && isHexNote(p)) return true;
  return (what & kSpecial) && isSpecial(p);
}

void resetLines(Task& task, unsigned what, Line* first, Line* last) {
  std::vector<Line*> gone;
  for (Line* p = first; p; p = p == last ? nullptr : p->next) {
    if (removable(p, what))
      gone.push_back(p);
    else
      resetLine(task, p, what);
  }
  for (Line* p : gone) {
    if (p == last) last = p->prev;
    deleteLine(task, p, true);
  }
}

}  // namespace

void resetCommand(CommandContext& ctx) {
  Session& s = ctx.session;
  Task* task = s.currentTask();
  if (!task) return;
  unsigned what = 0;
  std::vector<std::string> labels;
  std::string words(ctx.paramsUpper);
  for (std::size_t at = 0; (at = words.find_first_not_of(' ', at)) != std::string::npos;) {
    std::size_t end = words.find(' ', at);
    std::string word = words.substr(at, end - at);
    at = end;
    if (word.starts_with('.')) {
      if (labels.size() == 2) return message(s, "", "Too many labels specified.");
      labels.push_back(word);
      continue;
    }
    unsigned part = 0;
    for (auto [name, bit] : kWords)
      if (name == word) part = bit;
    if (!part) return messagef(s, "", "'%s' unknown parameter.", word);
    what |= part;
  }
  if (!what) what = kDefault;
  Line* first = task->lines.first;
  Line* last = task->lines.last;
  for (std::size_t i = 0; i < labels.size(); ++i) {
    Line* at = lineByLabel(*task, labels[i]);
    if (!at) return messagef(s, "", "Label '%s' not found.", labels[i]);
    (i == 0 ? first : last) = at;
  }
  if (labels.size() == 2 && ordinalOf(*task, last) < ordinalOf(*task, first)) std::swap(first, last);
  if (what & kHide) s.hideExcludedMarkers = false;
  if (what & kSelection) clearSelection(*task);
  if (what & kFind) {
    task->search.highlight = false;
    task->search.marked.clear();
  }
  resetLines(*task, what, first, last);
  if (EditPanel* panel = currentEditPanel(s)) panel->refreshData();
}

void resetExcludedLines(Task& task) {
  task.session.hideExcludedMarkers = false;
  resetLines(task, kExcluded | kHide, task.lines.first, task.lines.last);
}

}  // namespace kiv
