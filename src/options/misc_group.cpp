// The Misc option group: the Enter-like keys and their actions, backspace,
// backup, colours, fonts, the PF-key rows, the user's own search paths and
// the last FIND and CHANGE. Its keys are written in upper case; it is also
// written when the editor exits.
#include "options/keyword_group.h"

namespace kiv {

namespace {

constexpr OptionKey kMiscKeys[] = {
    {"ZENTER.KEY.CR", "ENTERKEYCR", "Enter"},
    {"ZENTER.KEY.3270", "ENTERKEY3270", "RightCtrl"},
    {"ZACTIONKEY.ENTER", "ACTIONKEYENTER", "CarriageReturn"},
    {"ZACTIONKEY.RIGHTCTRL", "ACTIONKEYRIGHTCTRL", "3270Enter"},
    {"ZACTIONKEY.CTRLENTER", "ACTIONKEYCTRLENTER", "Passthru"},
    {"ZACTIONKEY.NUMKEYPADENTER", "ACTIONKEYNUMKEYPADENTER", "CarriageReturn"},
    {"ZACTIONKEY.NUMKEYPADPLUS", "ACTIONKEYNUMKEYPADPLUS", "Passthru"},
    {"ZBACKSPACE", "BACKSPACE", "DESTRUCTIVE"},
    {"ZBACKUP", "BACKUP", "FILEPROF"},
    {"ZCOLORSCHEME", "COLORSCHEME", "3270BLUE"},
    {"ZFONT.DISPLAY", "FONTDISPLAY", "Courier,10,Normal,DEFAULT"},
    {"ZFONT.PRINT", "FONTPRINT", "Courier,10,Normal,DEFAULT"},
    {"ZPRNSTYLE", "PRNSTYLE", "DEFAULT"},
    {"ZPFSHOW.GLOBAL", "PFSHOW", "FALSE"},
    {"ZPFSHOW.STYLE", "PFSHOWSTYLE", "Numbers"},
    {"ZPFSHOW.BASE", "PFSHOWBASE", "TRUE"},
    {"ZPFSHOW.SHIFT", "PFSHOWSHIFT", "FALSE"},
    {"ZPFSHOW.CTRL", "PFSHOWCTRL", "FALSE"},
    {"ZPFSHOW.ALT", "PFSHOWALT", "FALSE"},
    {"ZPATH.DIALOGS", "PATHDIALOGS", ""},
    {"ZPATH.MACROS", "PATHMACROS", ""},
    {"ZPATH.MENUS", "PATHMENUS", ""},
    {"ZPATH.TEMPLATES", "PATHTEMPLATES", ""},
    {"ZRECENTMODE", "RECENTMODE", "Edit"},
    {"ZFIND.LAST.FIND.PARMS", "FINDLASTFINDPARMS", ""},
    {"ZFIND.LAST.CHANGE.PARMS", "FINDLASTCHANGEPARMS", ""},
    {"ZFIND.LAST.STR1", "FINDLASTSTR1", ""},
    {"ZFIND.LAST.STR2", "FINDLASTSTR2", ""},
};

}  // namespace

const KeywordGroup& miscGroup() {
  static const KeywordGroup kGroup{"Misc", "OPTIONS70", kMiscKeys, {}};
  return kGroup;
}

}  // namespace kiv
