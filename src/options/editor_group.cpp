// The Editor option group: editing settings and their defaults.
#include "options/keyword_group.h"

namespace kiv {

namespace {

constexpr OptionKey kEditorKeys[] = {
    {"ZEDIT.NEWEDITS", "NewEdits", "KeepInCurrentSession"},
    {"ZEDIT.NOMATCHONFILEPROF", "NoMatchOnFileProf", "SYSTEM"},
    {"ZEDIT.POPUP", "PopupCommands", "Cut,Copy,Paste,Delete,CopyWord,CopyNonBlank,:I,:TS,:TJ"},
    {"ZEDIT.SCROLL.V.MODE", "ScrollModeVertical", "PAGE"},
    {"ZEDIT.SCROLL.H.MODE", "ScrollModeHorizontal", "PAGE"},
    {"ZEDIT.LCMDCOLS.EDIT", "LineCmdFieldWidthEdit", "7"},
    {"ZEDIT.LCMDCOLS.BROWSE", "LineCmdFieldWidthBrowse", "0"},
    {"ZEDIT.COLSHIFTAMOUNT", "DefaultColShiftAmount", "2"},
    {"ZEDIT.LINEPOSAFTERFIND", "LinePosAfterFind", "2"},
    {"ZEDIT.ARROWKEYMODE", "ArrowKeyMode", "KIV"},
    {"ZEDIT.SCROLL.H.WHENCURSATEDGE", "ScrollHWhenCursorAtEdge", "TRUE"},
    {"ZEDIT.SCROLL.V.WHENCURSATEDGE", "ScrollVWhenCursorAtEdge", "TRUE"},
    {"ZEDIT.SCROLL.V.WHENENTERATBOT", "ScrollVWhenEnterAtBottom", "TRUE"},
    {"ZEDIT.SHOWLINENUM", "ShowLineNumbers", "TRUE"},
    {"ZEDIT.LCMDSHOWMODERN", "LcmdShowModern", "FALSE"},
    {"ZEDIT.DATASHIFTINCHANGE", "LegacyDataShiftInChange", "FALSE"},
    {"ZEDIT.LOCATELITERAL", "LocateLiteral", "FALSE"},
    {"ZEDIT.PROMPTONEXIT", "PromptForSaveOnExit", "TRUE"},
    {"ZEDIT.PROMPTONCANCEL", "PromptOnCancel", "TRUE"},
    {"ZEDIT.DBLCLICKMACRO", "DblClickToMacro", "TRUE"},
    {"ZEDIT.UNDO", "UndoEnable", "TRUE"},
    {"ZEDIT.FIND.GLOBAL", "FindGlobal", "TRUE"},
    {"ZEDIT.FIND.VERBOSE", "FindVerbose", "TRUE"},
    {"ZEDIT.WRITELOCK", "EditWriteLock", "TRUE"},
    {"ZEDIT.VIRTUALLOAD", "EditVirtualLoad", "TRUE"},
    {"ZEDIT.COLORCURSORLINE", "ColorCursorLine", "None"},
    {"ZEDIT.STICKY.LABELS", "StickyLabels", "FALSE"},
    {"ZEDIT.STICKY.EDITS", "StickyEdits", "FALSE"},
};

}  // namespace

const KeywordGroup& editorGroup() {
  static const KeywordGroup kGroup{"Editor", "OPTIONS20", kEditorKeys, {}};
  return kGroup;
}

}  // namespace kiv
