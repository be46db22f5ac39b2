// The option groups at start-up and exit. Start-up runs, in this order:
//   loadGlobalProfile (services) -> setStartupPaths -> AliasCmds, AliasProfs
//   (commands) -> readStartupOptionGroups (which calls back for the menu bar
//   and Messages at their place) -> applyStartupDefaults.
// At exit writeMiscGroup runs before the global profile is saved.
#pragma once

#include <functional>

namespace kiv {

class Services;

// The ZPATH. search lists, not persistent: COLORIZATION, FILEPROFILES,
// PRINTSTYLES, USERCOMMANDS and XLATETBLS as options;all-users;<install>/Profiles,
// HELP as <install>/HELP, DYNLIST, TEMP and WINSAVED as the options directory.
void setStartupPaths(Services& s);

// Reads Misc, Display, Editor, Filters, Flist and General, then calls
// `menuBarAndMessages` (where the menu bar and the Messages group are read),
// then PathAssociate, PFKeys, AltKeys, AltShiftKeys, CtrlKeys,
// CtrlShiftKeys, RegExt and SaveDeletedTypes.
void readStartupOptionGroups(Services& s,
                             const std::function<void(Services&)>& menuBarAndMessages = {});

// The defaults of remembered settings: each set only when empty, and marked
// persistent; ZFLIST.RECURS always "FALSE"; further remembered settings
// marked persistent without a default; finally ZPCMDLBLCURRENT from
// ZPCMDLBLCOMMAND.
void applyStartupDefaults(Services& s);

// The Misc group, written at exit. 0, or -1 after its message.
int writeMiscGroup(Services& s);

}  // namespace kiv
