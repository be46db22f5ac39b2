// The general-table commands of the session: BACKUP, SETNAME, PANELID,
// PFSHOW, KEY, OPEN, RETURN and EXIT. Their settings are pool variables.
#include <algorithm>
#include <array>
#include <string>

#include "commands/command_split.h"
#include "commands/edit_commands.h"
#include "commands/task_commands.h"
#include "core/session.h"
#include "core/task_life.h"
#include "options/key_map_group.h"
#include "screen/screen_state.h"
#include "services/messages.h"
#include "services/var_pool.h"

namespace kiv {

namespace {

constexpr std::array<std::string_view, 3> kBackupModes = {"ALWAYS", "NEVER", "FILEPROF"};
constexpr int kFunctionKeys = 48;

constexpr std::string_view kKeyHelp =
    "Function keys run the command held in ZPF01.MAP to ZPF48.MAP:\nF1 to F12 alone, F13 to F24 "
    "with Shift, F25 to F36 with Ctrl, F37 to F48 with Alt.\nThey are kept in the option file "
    "PFKeys; Ctrl and Alt letter keys in CtrlKeys, CtrlShiftKeys, AltKeys and AltShiftKeys.\n\n"
    "KEY Fn command   maps key Fn to the command\nKEY Fn   clears the mapping of key Fn";
constexpr std::string_view kBadKey = "KEY: '%s' is not a function key, use F1 to F48.";
constexpr std::string_view kOpenNoName =
    "OPEN: the file-open dialog is not available yet.\n\nUse EDIT, BROWSE or VIEW with a file "
    "name.";

std::string_view trimRight(std::string_view text) {
  return text.substr(0, text.find_last_not_of(' ') + 1);
}

bool alphanumeric(std::string_view text) {
  for (char c : text)
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
  return true;
}

// "F5" (or "PF5") in either case: 5; 0 for anything that names no key 1..48.
int functionKey(std::string_view word) {
  std::string w = toUpper(word);
  std::string_view digits = w;
  if (digits.starts_with("PF"))
    digits.remove_prefix(2);
  else if (digits.starts_with("F"))
    digits.remove_prefix(1);
  else
    return 0;
  if (digits.empty() || digits.size() > 2 ||
      digits.find_first_not_of("0123456789") != std::string_view::npos)
    return 0;
  int n = std::stoi(std::string(digits));
  return n >= 1 && n <= kFunctionKeys ? n : 0;
}

// The mode OPEN opens a file in: ZFLIST.MODE, which the program's command
// line sets from /B and /V, by its first letter.
std::string_view openVerb(Session& s) {
  std::string mode = setting(s, "ZFLIST.MODE", "Edit");
  switch (mode[0]) {
    case 'B':
    case 'b':
      return "BROWSE";
    case 'V':
    case 'v':
      return "VIEW";
    default:
      return "EDIT";
  }
}

}  // namespace

void backupModeCommand(CommandContext& ctx) {
  std::string_view mode = trimRight(ctx.paramsUpper);
  if (mode.empty())
    return message(ctx.session, "GPCMD45",
                   "BACKUP command requires 1 parameter:\n\nP1 = ALWAYS | NEVER | FILEPROF");
  if (std::ranges::find(kBackupModes, mode) == kBackupModes.end())
    return message(ctx.session, "GPCMD40", "BACKUP mode must be one of: ALWAYS, NEVER, FILEPROF");
  varSet(ctx.session, "ZBACKUP", mode);
}

void setNameCommand(CommandContext& ctx) {
  std::string_view name = trimRight(ctx.params);
  if (name.empty())
    return message(ctx.session, "", "SETNAME requires one parameter:\n\nP1 = session-name");
  if (!alphanumeric(name))
    return message(ctx.session, "GPCMD60",
                   "Session name must be alphanumeric (from set:  A to Z,  0 to 9)");
  std::string upper = toUpper(name);
  varSet(ctx.session, "ZSESSIONNAME", upper);
  ctx.session.platform().setTitle("kiv - " + upper);
}

void panelIdCommand(CommandContext& ctx) {
  if (!trimRight(ctx.params).empty())
    return messagef(ctx.session, "", "PANELID does not take parameters:\n\n%s", ctx.params);
  bool on = !settingTrue(ctx.session, "ZPANELID", false);
  varSet(ctx.session, "ZPANELID", on ? "TRUE" : "FALSE");
  message(ctx.session, "GPCMD50", on ? "Panel ID is now ON" : "Panel ID is now OFF");
  rebuildPanels(ctx.session);
}

void pfShowCommand(CommandContext& ctx) {
  std::string_view word = trimRight(ctx.paramsUpper);
  bool on = false;
  if (word.empty())
    on = !settingTrue(ctx.session, "ZPFSHOW.GLOBAL", false);
  else if (word == "ON")
    on = true;
  else if (word != "OFF")
    return messagef(ctx.session, "PCMDGEN15", "PFSHOW: '%s' is not a valid parameter.",
                    trimRight(ctx.params));
  varSet(ctx.session, "ZPFSHOW.GLOBAL", on ? "TRUE" : "FALSE");
  rebuildPanels(ctx.session);
}

void keyCommand(CommandContext& ctx) {
  if (ctx.params.empty()) return message(ctx.session, "", kKeyHelp);
  int key = functionKey(ctx.firstParam);
  if (key == 0) return messagef(ctx.session, "", kBadKey, ctx.firstParam);
  varSet(ctx.session, format("ZPF%02d.MAP", key), trimRight(afterFirstWord(ctx.params)));
  writeKeyMapGroup(ctx.session, pfKeysGroup());  // the mapping lasts beyond this run
  rebuildPanels(ctx.session);
}

void openCommand(CommandContext& ctx) {
  if (unquoted(ctx.params).empty()) return message(ctx.session, "", kOpenNoName);
  CommandContext open{.session = ctx.session,
                      .verb = openVerb(ctx.session),
                      .params = ctx.params,
                      .paramsUpper = ctx.paramsUpper,
                      .firstParam = ctx.firstParam,
                      .code = ctx.code};
  openTaskCommand(open);
}

// Every jump runs "return" first, so on the idle screen it does nothing.
void returnCommand(CommandContext& ctx) {
  if (Task* task = ctx.session.currentTask()) endTask(*task);
}

void exitCommand(CommandContext& ctx) {
  Session& s = ctx.session;
  // END on each task in turn, the one on top first; a task that stays open
  // (a cancelled save question, a failed save) stops the exit.
  for (std::size_t left = s.tasks.size(); left > 0 && !s.tasks.empty(); --left) {
    Task* task = s.currentTask() ? s.currentTask() : s.tasks.back().get();
    s.frames.raise(*task);
    if (endTask(*task) != 0) return;
  }
  if (s.tasks.empty()) s.exitRequested = true;
}

}  // namespace kiv
