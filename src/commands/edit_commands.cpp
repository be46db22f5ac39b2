// The edit-table commands that change what the current task shows or how it
// is edited: SHOWRAM, CAPS, HIDE, MAXRECLEN, TABS, RULER and HEX. The lines
// inserted by DATALINE, NOTELINE and INSERTLINE are in data_line_commands.cpp.
#include "commands/edit_commands.h"

#include <algorithm>
#include <string>

#include "commands/command_task.h"
#include "commands/executor.h"
#include "core/file_load.h"
#include "core/file_profile.h"
#include "core/hex_view.h"
#include "core/line.h"
#include "core/line_ops.h"
#include "core/profile_write.h"
#include "core/session.h"
#include "screen/edit_panel.h"
#include "screen/screen_state.h"
#include "services/format.h"
#include "services/messages.h"

namespace kiv {

namespace {

constexpr std::string_view kRamReport = "Total lines = %s\nTotal RAM used = %s";
// What SHOWRAM counts for the record of one line, whatever its buffers.
constexpr long long kLineRecordBytes = 84;

enum class OnOff { On, Off, Missing, Bad };

// The parameter text without its trailing blanks (the splitter keeps them).
std::string_view trimmedUpper(const CommandContext& ctx) {
  std::string_view p = ctx.paramsUpper;
  return p.substr(0, p.find_last_not_of(' ') + 1);
}

OnOff onOffWord(const CommandContext& ctx) {
  std::string_view word = trimmedUpper(ctx);
  if (word.empty()) return OnOff::Missing;
  if (word == "ON") return OnOff::On;
  if (word == "OFF") return OnOff::Off;
  return OnOff::Bad;
}



void refreshPanel(Session& s) {
  if (EditPanel* p = currentEditPanel(s)) p->refreshData();
}

// Bytes SHOWRAM counts for a line: the record and its text buffer (colours
// are not stored with the lines).
long long lineRamBytes(const Line& line) {
  return kLineRecordBytes + (line.capacity() > 0 ? line.length() : 0);
}

// A decimal number of digits only; values past the record length limit are
// held at one above it, so that any count of digits reads safely.
bool readCount(std::string_view word, int& value) {
  if (word.empty() || word.find_first_not_of("0123456789") != std::string_view::npos) return false;
  value = 0;
  for (char c : word) value = std::min(value * 10 + (c - '0'), kMaxRecLenMax + 1);
  return true;
}

// The hex view lines under an EXCLUDED marker follow the marker: hidden
// while the session hides markers.
void hideMarkerHexLines(Task& task) {
  for (Line* line = task.lines.first; line; line = line->next) {
    if (!line->is(LineKind::Excluded)) continue;
    for (Line* hex = line->next; hex && isHexViewLine(hex); hex = hex->next)
      setLineFlag(task, hex, LineFlag::Shown, false);
  }
}

bool hexShown(const Task& task) {
  const Line* first = task.lines.first;
  return (task.profile && task.profile->hexView) || (first && isHexViewLine(first->next));
}

void setHexView(Task& task, bool on) {
  if (on) {
    // Every line gets its hex lines, so the rest of the file comes in first.
    loadAll(task);
    hexViewOn(task);
  } else {
    hexViewOff(task);
  }
  if (task.profile) task.profile->hexView = on;
}

}  // namespace

void showRamCommand(CommandContext& ctx) {
  Task* task = taskFor(ctx);
  if (!task) return;
  long long bytes = 0;
  for (const Line* line = task->lines.first; line; line = line->next) bytes += lineRamBytes(*line);
  messagef(ctx.session, "", kRamReport, groupThousands(static_cast<long long>(task->lines.count)),
           groupThousands(bytes));
}

void capsCommand(CommandContext& ctx) {
  Task* task = taskFor(ctx);
  if (!task) return;
  OnOff word = onOffWord(ctx);
  if (word == OnOff::Missing)
    return message(ctx.session, "EPCMD20", "CAPS requires one parameter:\n\nP1 = ON or OFF");
  if (word == OnOff::Bad)
    return message(ctx.session, "EPCMD15", "CAPS parameter must be ON or OFF");
  bool on = word == OnOff::On;
  task->capsOn = on;
  if (task->profile) {
    task->profile->capsMode = on ? CapsMode::On : CapsMode::Off;
    task->profile->capsInForce = on;
  }
}

void hideCommand(CommandContext& ctx) {
  Task* task = taskFor(ctx);
  if (!task) return;
  std::string_view word = trimmedUpper(ctx);
  if (word.empty())
    return message(ctx.session, "EPCMD58", "HIDE requires one parameter:\n\nP1 = X or EX");
  if (word != "X" && word != "EX")
    return message(ctx.session, "EPCMD57", "Valid parameter for HIDE is X or EX");
  ctx.session.hideExcludedMarkers = true;
  // The setting is the session's: every task's markers go.
  for (auto& t : ctx.session.tasks) {
    hideMarkerHexLines(*t);
    if (auto* p = dynamic_cast<EditPanel*>(t->view.get())) p->refreshData();
  }
}

void maxRecLenCommand(CommandContext& ctx) {
  Task* task = taskFor(ctx);
  if (!task) return;
  FileProfile* p = profileFor(ctx, *task);
  if (!p) return;
  std::string_view word = trimmedUpper(ctx);
  if (word.empty())
    return message(ctx.session, "",
                   "MAXRECLEN requires one parameter:\n\nP1 = new max record length");
  int value = 0;
  if (!readCount(word, value))
    return messagef(ctx.session, "", "MAXRECLEN parameter must be a number:  %s", word);
  if (value <= p->maxRecLen)
    return messagef(ctx.session, "",
                    "MAXRECLEN command ignored,\nmust be greater than current value:  %d",
                    p->maxRecLen);
  if (value > kMaxRecLenMax)
    return messagef(ctx.session, "",
                    "MAXRECLEN command ignored,\nmax record length may not exceed  %d",
                    kMaxRecLenMax);
  int before = p->maxRecLen;
  p->maxRecLen = value;
  if (p->boundRight == before) p->boundRight = value;
  if (writeProfile(ctx.session, *p, true) != 0)
    messagef(ctx.session, "", "Unable to write file profile '%s'", p->name);
  refreshPanel(ctx.session);
  executeCommandText(ctx.session, "RULER ON");
}

void tabsCommand(CommandContext& ctx) {
  message(ctx.session, "EPCMD100",
          "Edit does not support the TABS primary command.\n\nUse PROFILE command to view current "
          "file profile (see field 'TabKeyStopsAt').");
}

void rulerCommand(CommandContext& ctx) {
  Task* task = taskFor(ctx);
  if (!task) return;
  OnOff word = onOffWord(ctx);
  if (word == OnOff::Bad)
    return message(ctx.session, "EPCMD85", "RULER has one optional parameter:  P1 = ON | OFF");
  FileProfile* p = profileFor(ctx, *task);
  if (!p) return;
  p->ruler = word != OnOff::Off;
  refreshPanel(ctx.session);
}

void hexCommand(CommandContext& ctx) {
  Task* task = taskFor(ctx);
  if (!task) return;
  OnOff word = onOffWord(ctx);
  if (word == OnOff::Bad) return message(ctx.session, "", "HEX parameter must be ON or OFF");
  bool on = word == OnOff::Missing ? !hexShown(*task) : word == OnOff::On;
  setHexView(*task, on);
  refreshPanel(ctx.session);
}

}  // namespace kiv
