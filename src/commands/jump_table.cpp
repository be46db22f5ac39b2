#include "commands/jump_table.h"

#include <algorithm>
#include <string>

#include "commands/command_split.h"
#include "commands/command_state.h"
#include "commands/executor.h"
#include "services/messages.h"
#include "services/var_pool.h"

namespace kiv {

namespace {

constexpr JumpRow kJumpTable[] = {
    {"0", "menu pan0"},
    {"0.1", "menu optalias"},
    {"0.2", "dialog backup"},
    {"0.3", "menu color"},
    {"0.4", "menu optdisplay"},
    {"0.5", "editoptions"},
    {"0.6", "dialog flistoptions"},
    {"0.7", "dialog fptype"},
    {"0.8", "dialog filters"},
    {"0.9", "menu font"},
    {"0.A", "dialog genopt"},
    {"0.B", "menu keys"},
    {"0.C", "dialog drivetourl"},
    {"0.D", "dialog messages"},
    {"0.E", "dialog paths"},
    {"0.F", "dialog pathassociate"},
    {"0.G", "dialog pstllist"},
    {"0.H", "dialog regext"},
    {"0.I", "dialog savedeletedtypes"},
    {"0.J", "menu defaults"},
    {"1", "FUNCTION LEGACY_OPT_1"},
    {"2", "FUNCTION LEGACY_OPT_2"},
    {"3", "menu pan3"},
    {"3.3", "FUNCTION LEGACY_OPT_33"},
    {"3.4", "FUNCTION LEGACY_OPT_34"},
    {"3.A", "FUNCTION LEGACY_OPT_3A"},
    {"3.B", "FUNCTION LEGACY_OPT_3B"},
    {"3.C", "FUNCTION LEGACY_OPT_3C"},
    {"3.D", "dialog multopen"},
    {"3.E", "dialog drivelist"},
    {"3.F", "filescan"},
    {"3.G", "menu convert"},
    {"3.H", "dialog recent"},
    {"3.I", "dialog compare"},
    {"3.J", "dialog compdir"},
    {"3.K", "dialog mergelines"},
    {"3.L", "dialog dynlistopen"},
    {"3.M", "menu window"},
    {"4", "dialog usercmd"},
    {"6", "system"},
    {"7", "menu dlgtest"},
    {"7.1", "DIALOG DLGTEST"},
    {"7.2", "DIALOG VARS"},
    {"A", "not supported"},
    {"H", "menu help"},
    {"H.1", "MENU HELPQREF"},
    {"H.2", "HELP DIALOG HELPTOC"},
    {"X", "exit"},
};

constexpr std::string_view kNotSupported = "not supported";

}  // namespace

const JumpRow* findJump(std::string_view key) {
  std::string upper = toUpper(key);
  auto it = std::find_if(std::begin(kJumpTable), std::end(kJumpTable),
                         [&](const JumpRow& row) { return row.key == upper; });
  return it == std::end(kJumpTable) ? nullptr : &*it;
}

void takeJump(Session& s, std::string_view key) {
  if (commandState(s).userDialogActive) {
    messagef(s, "SESSION75", "The following action is blocked when a user dialog is active:\n\n%s",
             "Not allowed to jump to menu or function (e.g. '=0.x')");
    return;
  }
  std::string style = varGet(s, "ZMENUSTYLE");
  if (style != "Legacy") {
    messagef(s, "", "Jumps not allowed with menu style '%s'", style);
    return;
  }
  const JumpRow* row = findJump(key);
  if (!row || row->command == kNotSupported) {
    messagef(s, "", "Jump to '%s' is not supported.", toUpper(key));
    return;
  }
  executeCommandText(s, "return");
  executeCommandText(s, row->command);
}

}  // namespace kiv
