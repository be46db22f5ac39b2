#include "commands/numbering_commands.h"

#include <string>

#include "commands/command_task.h"
#include "core/file_profile.h"
#include "core/line_numbering.h"
#include "core/profile_write.h"
#include "core/session.h"
#include "core/task_life.h"
#include "screen/edit_panel.h"
#include "screen/screen_state.h"
#include "services/messages.h"

namespace kiv {

namespace {

constexpr std::string_view kNumberOff =
    "RENUMBER: line numbering is OFF for file type %s, use NUMBER to set a line number type.";
constexpr std::string_view kNoParameters = "RENUMBER does not take parameters:\n\n%s";



bool refusedInBrowse(CommandContext& ctx, const Task& task) {
  if (task.mode != TaskMode::Browse) return false;
  message(ctx.session, "", kBrowseNoModify);
  return true;
}

std::string_view trimmed(std::string_view text) {
  return text.substr(0, text.find_last_not_of(' ') + 1);
}

void refreshPanel(Session& s) {
  if (EditPanel* p = currentEditPanel(s)) p->refreshData();
}

// The defaults a profile of the type gets when read: increment 100, start
// at the increment, the type's columns.
void setNumberType(FileProfile& p, NumberType type) {
  p.numberType = type;
  if (type == NumberType::None) {
    p.numberAuto = NumberAuto::None;
    p.numberStart = p.numberIncrement = p.numberStepdownIncrement = 0;
    p.numberColStart = p.numberColEnd = 0;
    return;
  }
  if (p.numberIncrement == 0) p.numberIncrement = 100;
  if (p.numberStart == 0) p.numberStart = p.numberIncrement;
  bool standard = type == NumberType::Standard;
  p.numberColStart = standard ? 73 : 1;
  p.numberColEnd = standard ? 80 : 6;
}

}  // namespace

void numberCommand(CommandContext& ctx) {
  Task* task = taskFor(ctx);
  if (!task) return;
  std::string_view word = trimmed(ctx.paramsUpper);
  if (word.empty())
    return message(ctx.session, "EPCMD75",
                   "NUMBER requires one parameter:\n\nP1 = COBOL | STANDARD | COB+STD | OFF");
  NumberType type;
  if (word == "COB" || word == "COBOL") {
    type = NumberType::Cobol;
  } else if (word == "STD" || word == "STANDARD") {
    type = NumberType::Standard;
  } else if (word == "COB+STD") {
    type = NumberType::CobStd;
  } else if (word == "OFF") {
    type = NumberType::None;
  } else if (word == "OTHER") {
    return message(ctx.session, "EPCMD65",
                   "Use menu OPTIONS, item PROFILES to set line number type OTHER.");
  } else {
    return message(ctx.session, "EPCMD70",
                   "NUMBER parameter must be one of COBOL | STANDARD | COB+STD | OFF");
  }
  FileProfile* p = profileFor(ctx, *task);
  if (!p) return;
  if (type == NumberType::Standard && p->maxRecLen != 80)
    return message(ctx.session, "EPCMD55",
                   "File profile record length must be 80 before setting number type to "
                   "STANDARD.");
  if (type == NumberType::CobStd && p->maxRecLen != 80)
    return message(ctx.session, "EPCMD60",
                   "File profile record length must be 80 before setting number type to "
                   "COB+STD.");
  setNumberType(*p, type);
  if (writeProfile(ctx.session, *p, true) != 0)
    messagef(ctx.session, "", "Unable to write file profile '%s'", p->name);
  refreshPanel(ctx.session);
}

void renumberCommand(CommandContext& ctx) {
  Task* task = taskFor(ctx);
  if (!task) return;
  if (!trimmed(ctx.params).empty())
    return messagef(ctx.session, "", kNoParameters, trimmed(ctx.params));
  if (refusedInBrowse(ctx, *task)) return;
  FileProfile* p = profileFor(ctx, *task);
  if (!p) return;
  if (p->numberType == NumberType::None) return messagef(ctx.session, "", kNumberOff, p->name);
  renumberAll(*task);
  refreshPanel(ctx.session);
}

void unnumberCommand(CommandContext& ctx) {
  Task* task = taskFor(ctx);
  if (!task) return;
  if (refusedInBrowse(ctx, *task)) return;
  if (clearNumbers(*task, ctx.params) == 0) refreshPanel(ctx.session);
}

}  // namespace kiv
