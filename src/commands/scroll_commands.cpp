#include "commands/scroll_commands.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

#include "commands/command_handlers.h"
#include "commands/command_history.h"
#include "commands/command_split.h"
#include "commands/command_state.h"
#include "commands/line_commands.h"
#include "commands/line_range_ops.h"
#include "core/edit_step.h"
#include "core/line.h"
#include "core/line_ops.h"
#include "core/session.h"
#include "core/task.h"
#include "screen/cursor_moves.h"
#include "screen/edit_panel.h"
#include "screen/key_router.h"
#include "screen/screen_state.h"
#include "screen/scroll.h"
#include "services/messages.h"
#include "services/var_pool.h"

namespace kiv {

namespace {

enum class Amount { Count, Page, Half, Csr, Data, Max, Bad };

struct ScrollAmount {
  Amount kind = Amount::Page;
  long count = 0;
};

struct AmountWord {
  char letter;
  Amount kind;
};

constexpr std::array<AmountWord, 5> kWords = {{{'P', Amount::Page},
                                               {'H', Amount::Half},
                                               {'C', Amount::Csr},
                                               {'D', Amount::Data},
                                               {'M', Amount::Max}}};

// A number, or a word by its first letter; the mode variable without one.
ScrollAmount parseAmount(Session& s, std::string_view word, std::string_view modeVar) {
  std::string w = word.empty() ? setting(s, modeVar, "PAGE") : std::string(word);
  if (std::all_of(w.begin(), w.end(),
                  [](char c) { return std::isdigit(static_cast<unsigned char>(c)); })) {
    if (w.size() > 9) return {Amount::Bad, 0};
    return {Amount::Count, std::stol(w)};
  }
  char first = static_cast<char>(std::toupper(static_cast<unsigned char>(w[0])));
  for (const AmountWord& a : kWords)
    if (a.letter == first) return {a.kind, 0};
  return {Amount::Bad, 0};
}

// Lines or columns a page-like amount moves over a view of `size` cells.
long stepOf(Amount kind, long size) {
  switch (kind) {
    case Amount::Half:
      return std::max(size / 2, 1L);
    case Amount::Data:
      return std::max(size - 1, 1L);
    default:
      return std::max(size, 1L);
  }
}

EditPanel* panelFor(CommandContext& ctx) {
  return currentEditPanel(ctx.session);
}

bool badAmount(CommandContext& ctx, const ScrollAmount& a) {
  if (a.kind != Amount::Bad) return false;
  messagef(ctx.session, "",
           "%s: scroll amount must be a number, PAGE, HALF, CSR, DATA or MAX:\n\n%s", ctx.verb,
           ctx.params);
  return true;
}

void scrollVertical(CommandContext& ctx, int direction) {
  EditPanel* p = panelFor(ctx);
  if (!p) return noScrollCommand(ctx);
  ScrollAmount a = parseAmount(ctx.session, ctx.firstParam, "ZEDIT.SCROLL.V.MODE");
  if (badAmount(ctx, a)) return;
  if (a.kind == Amount::Max) return direction < 0 ? scrollToTop(*p) : scrollToBottom(*p);
  if (a.kind == Amount::Csr && scrollCursorLine(*p, direction < 0)) return;
  long n = a.kind == Amount::Count ? a.count : stepOf(a.kind, p->lineRows());
  scrollLines(*p, direction * n);
}

void scrollHorizontal(CommandContext& ctx, int direction) {
  EditPanel* p = panelFor(ctx);
  if (!p) return noScrollCommand(ctx);
  ScrollAmount a = parseAmount(ctx.session, ctx.firstParam, "ZEDIT.SCROLL.H.MODE");
  if (badAmount(ctx, a)) return;
  Task& t = p->task;
  long D = p->dataWidth();
  if (a.kind == Amount::Max)
    return scrollColumns(*p, direction < 0 ? -t.displayOffset : maxDisplayOffset(*p));
  int cell = p->cursorCol - 1 - p->prefixWidth();
  if (a.kind == Amount::Csr && p->dataIndex(p->cursorRow) >= 0 && cell >= 0 && cell < D) {
    long column = t.displayOffset + cell;  // 0-based data column at the cursor
    return scrollColumns(*p, direction > 0 ? cell : column - (D - 1) - t.displayOffset);
  }
  long n = a.kind == Amount::Count ? a.count : stepOf(a.kind, D);
  scrollColumns(*p, direction * n);
}

constexpr std::array<std::string_view, 4> kScrollModes = {"PAGE", "HALF", "CSR", "DATA"};

// The command field's text taken by the Enter action: leading blanks
// dropped; "&" keeps it in the field.
std::string takeCommandField(Session& s) {
  std::string text = commandFieldText(s);
  text.erase(0, text.find_first_not_of(' ') == std::string::npos ? text.size()
                                                                 : text.find_first_not_of(' '));
  if (text.starts_with("&")) return text.substr(1);
  setCommandFieldText(s, "", false);
  return text;
}

// Runs the command; a cursor that the command left where it was goes back
// to the command field, ready for the next one.
void runThenHome(Session& s, const std::string& command) {
  Panel* before = &topPanel(s);
  int row = before->cursorRow, col = before->cursorCol;
  s.executeCommand(command);
  Panel& after = topPanel(s);
  if (&after != before || (after.cursorRow == row && after.cursorCol == col)) homeCursor(s);
}

// Enter on a line that an insert made and the user typed into: another
// empty line of its kind (TEXT after I, NOTE after IN) follows it, and the
// cursor goes to its data.
bool continueInsert(EditPanel& p) {
  Line* line = p.dataIndex(p.cursorRow) >= 0 ? p.lineAtRow(p.cursorRow) : nullptr;
  if (!line || !line->inserted() || line->length() == 0) return false;
  setLineFlag(p.task, line, LineFlag::Inserted, false);
  if (line->is(LineKind::Note) ? !openNoteBelow(p.task, line) : insertLinesBelow(p.task, line, 1) != 0)
    return false;
  carriageReturn(p.session);
  setCursor(p, p.cursorRow, p.prefixWidth() + 1);
  return true;
}

void enterOnTask(Session& s, EditPanel& p, const std::string& command) {
  Task& task = p.task;
  std::string upper = toUpper(command);
  if (command.empty()) {
    EditStep step(s);  // the typing and the line commands
    if (processLineCommands(s, task) == 0 && !continueInsert(p)) carriageReturn(s);
    return;
  }
  if (upper == "CAN" || upper == "CANCEL") return s.executeCommand(command);
  if (upper == "RES" || upper == "RESET") {
    s.executeCommand(command);
    EditStep step(s);
    processLineCommands(s, task);
    return;
  }
  // PASTE with the cursor on a line of the data rows runs alone.
  bool pasteAlone = upper == "PASTE" && p.dataIndex(p.cursorRow) >= 0 && p.lineAtRow(p.cursorRow);
  if (!pasteAlone) {
    EditStep step(s);  // the typing and the line commands; the command makes its own
    processLineCommands(s, task);
  }
  runThenHome(s, command);
}

}  // namespace

void upCommand(CommandContext& ctx) {
  scrollVertical(ctx, -1);
}
void downCommand(CommandContext& ctx) {
  scrollVertical(ctx, 1);
}
void leftCommand(CommandContext& ctx) {
  scrollHorizontal(ctx, -1);
}
void rightCommand(CommandContext& ctx) {
  scrollHorizontal(ctx, 1);
}

void topCommand(CommandContext& ctx) {
  if (EditPanel* p = panelFor(ctx))
    scrollToTop(*p);
  else
    noScrollCommand(ctx);
}

void bottomCommand(CommandContext& ctx) {
  if (EditPanel* p = panelFor(ctx))
    scrollToBottom(*p);
  else
    noScrollCommand(ctx);
}

void toggleScrollCommand(CommandContext& ctx) {
  std::string mode = toUpper(setting(ctx.session, "ZEDIT.SCROLL.V.MODE", "PAGE"));
  auto it = std::find(kScrollModes.begin(), kScrollModes.end(), mode);
  std::size_t next =
      it == kScrollModes.end()
          ? 0
          : static_cast<std::size_t>(it - kScrollModes.begin() + 1) % kScrollModes.size();
  varSet(ctx.session, "ZEDIT.SCROLL.V.MODE", kScrollModes[next]);
  rebuildPanels(ctx.session);
}

void enterActionCommand(CommandContext& ctx) {
  Session& s = ctx.session;
  std::string command = takeCommandField(s);
  if (!command.empty()) recordCommand(s, command);
  if (EditPanel* p = currentEditPanel(s)) return enterOnTask(s, *p, command);
  if (!command.empty())
    runThenHome(s, command);
  else
    homeCursor(s);
}

void enterTypedCommand(Session& s, const std::string& command) {
  if (command.size() <= kCommandFieldWidth && findObject(topPanel(s), "PCMDINFIELD")) {
    setCommandFieldText(s, command, false);
    s.executeCommand("3270ENTER");
    return;
  }
  recordCommand(s, command);
  s.executeCommand(command);
}

void deleteToEndCommand(CommandContext& ctx) {
  eraseToEndAtCursor(ctx.session);
}

}  // namespace kiv
