// The command tables, one entry a line, sorted by name.
#include <algorithm>

#include "commands/change_command.h"
#include "commands/exclude_command.h"
#include "commands/export_command.h"
#include "commands/cursor_commands.h"
#include "commands/clipboard_commands.h"
#include "commands/column_commands.h"
#include "commands/find_command.h"
#include "commands/select_commands.h"
#include "commands/sort_command.h"
#include "commands/undo_command.h"
#include "commands/command_handlers.h"
#include "commands/reset_command.h"
#include "commands/edit_commands.h"
#include "commands/flip_command.h"
#include "commands/labels_command.h"
#include "commands/line_commands.h"
#include "commands/locate_command.h"
#include "commands/numbering_commands.h"
#include "commands/scroll_commands.h"
#include "commands/task_commands.h"
#include "commands/command_table.h"

namespace kiv {

namespace {

constexpr CommandEntry kDialogTable[] = {
    {.name = "BOTTOM", .code = 1, .listed = true, .run = notAvailableCommand},
    {.name = "DOWN", .code = 2, .listed = true, .run = notAvailableCommand},
    {.name = "LEFT", .code = 3, .listed = true, .run = notAvailableCommand},
    {.name = "RESET", .code = 4, .listed = true, .run = notAvailableCommand},
    {.name = "RIGHT", .code = 5, .listed = true, .run = notAvailableCommand},
    {.name = "TOP", .code = 6, .listed = true, .run = notAvailableCommand},
    {.name = "UP", .code = 7, .listed = true, .run = notAvailableCommand},
};

constexpr CommandEntry kEditTable[] = {
    {.name = "BOTTOM", .code = 1, .listed = true, .run = bottomCommand},
    {.name = "BOUNDS", .code = 2, .listed = true, .run = boundsCommand},
    {.name = "CAPS", .code = 3, .listed = true, .run = capsCommand},
    {.name = "CHANGE", .code = 4, .listed = true, .run = changeCommand},
    {.name = "CHANGEFP", .code = 5, .listed = true, .run = notAvailableCommand},
    {.name = "CHARSET", .code = 6, .listed = true, .run = notAvailableCommand},
    {.name = "COLORMAP", .code = 7, .listed = true, .run = notAvailableCommand},
    {.name = "COLSCOPY", .code = 8, .listed = true, .run = colsCopyCommand},
    {.name = "COLSCUT", .code = 9, .listed = true, .run = colsCutCommand},
    {.name = "COLSDELETE", .code = 10, .listed = true, .run = colsDeleteCommand},
    {.name = "COLSINSERT", .code = 11, .listed = true, .run = colsInsertCommand},
    {.name = "COLSMOVE", .code = 12, .listed = true, .run = colsMoveCommand},
    {.name = "COLSPASTE", .code = 13, .listed = true, .run = colsPasteCommand},
    {.name = "COPY", .code = 14, .listed = true, .run = copyCommand},
    {.name = "COPYL", .code = 15, .listed = true, .run = notAvailableCommand},
    {.name = "CREATE", .code = 16, .listed = true, .run = notAvailableCommand},
    {.name = "CURSORMOVE", .code = 17, .listed = true, .run = cursorMoveCommand},
    {.name = "CUT", .code = 18, .listed = true, .run = cutCommand},
    {.name = "DATA", .code = 19, .listed = true, .run = dataCommand},
    {.name = "DATALINE", .code = 20, .listed = true, .run = dataLineCommand},
    {.name = "DELETE", .code = 21, .listed = true, .run = deleteCommand},
    {.name = "DELWORD", .code = 22, .listed = true, .run = deleteWordCommand},
    {.name = "DOWN", .code = 23, .listed = true, .run = downCommand},
    {.name = "EXCLUDE", .code = 24, .listed = true, .run = excludeCommand},
    {.name = "EXPORT", .code = 25, .listed = true, .run = exportCommand},
    {.name = "FIND", .code = 26, .listed = true, .run = findCommand},
    {.name = "FINDHK", .code = 27, .listed = true, .run = findHighlightsCommand},
    {.name = "FLIP", .code = 28, .listed = true, .run = flipCommand},
    {.name = "FUZZYDATE", .code = 29, .listed = true, .run = notAvailableCommand},
    {.name = "HELP", .code = 30, .listed = false, .run = helpCommand},
    {.name = "HEX", .code = 31, .listed = true, .run = hexCommand},
    {.name = "HEXIN", .code = 32, .listed = true, .run = hexInCommand},
    {.name = "HIDE", .code = 33, .listed = true, .run = hideCommand},
    {.name = "INSERTLINE", .code = 34, .listed = true, .run = insertLineCommand},
    {.name = "LABELS", .code = 35, .listed = true, .run = labelsCommand},
    {.name = "LEFT", .code = 36, .listed = true, .run = leftCommand},
    {.name = "LOCATE", .code = 37, .listed = true, .run = locateCommand},
    {.name = "MATCH", .code = 38, .listed = true, .run = notAvailableCommand},
    {.name = "MAXRECLEN", .code = 39, .listed = true, .run = maxRecLenCommand},
    {.name = "MERGEMSG", .code = 40, .listed = true, .run = notAvailableCommand},
    {.name = "NOTELINE", .code = 41, .listed = true, .run = noteLineCommand},
    {.name = "NUMBER", .code = 42, .listed = true, .run = numberCommand},
    {.name = "PASTE", .code = 43, .listed = true, .run = pasteCommand},
    {.name = "PRINT", .code = 44, .listed = true, .run = notAvailableCommand},
    {.name = "PROFILE", .code = 45, .listed = true, .run = notAvailableCommand},
    {.name = "RCHANGE", .code = 46, .listed = true, .run = rchangeCommand},
    {.name = "RECOLOR", .code = 47, .listed = true, .run = notAvailableCommand},
    {.name = "REDO", .code = 71, .listed = true, .run = redoCommand},
    {.name = "RENUMBER", .code = 48, .listed = true, .run = renumberCommand},
    {.name = "REPLACE", .code = 49, .listed = true, .run = notAvailableCommand},
    {.name = "RESET", .code = 50, .listed = true, .run = resetCommand},
    {.name = "RFIND", .code = 51, .listed = true, .run = rfindCommand},
    {.name = "RIGHT", .code = 52, .listed = true, .run = rightCommand},
    {.name = "RULER", .code = 53, .listed = true, .run = rulerCommand},
    {.name = "SAVE", .code = 54, .listed = true, .run = saveFileCommand},
    {.name = "SAVEAS", .code = 55, .listed = true, .run = notAvailableCommand},
    {.name = "SELECT", .code = 56, .listed = true, .run = selectCommand},
    {.name = "SETEOR", .code = 57, .listed = true, .run = notAvailableCommand},
    {.name = "SHOWEOL", .code = 58, .listed = true, .run = notAvailableCommand},
    {.name = "SHOWRAM", .code = 59, .listed = false, .run = showRamCommand},
    {.name = "SORT", .code = 60, .listed = true, .run = sortCommand},
    {.name = "STOLOWER", .code = 61, .listed = true, .run = lowerSelectionCommand},
    {.name = "STOUPPER", .code = 62, .listed = true, .run = upperSelectionCommand},
    {.name = "SXCLUDE", .code = 63, .listed = true, .run = excludeSelectionCommand},
    {.name = "TABS", .code = 64, .listed = false, .run = tabsCommand},
    {.name = "TAGFIND", .code = 65, .listed = true, .run = notAvailableCommand},
    {.name = "TEMPLATE", .code = 66, .listed = true, .run = notAvailableCommand},
    {.name = "TOP", .code = 67, .listed = true, .run = topCommand},
    {.name = "UNDO", .code = 68, .listed = true, .run = undoCommand},
    {.name = "UNNUMBER", .code = 69, .listed = true, .run = unnumberCommand},
    {.name = "UP", .code = 70, .listed = true, .run = upCommand},
    {.name = "WORDWRAP", .code = 72, .listed = true, .run = wordWrapCommand},
};

constexpr CommandEntry kFileListTable[] = {
    {.name = "ALLLOWER", .code = 1, .listed = true, .run = notAvailableCommand},
    {.name = "ALLUPPER", .code = 2, .listed = true, .run = notAvailableCommand},
    {.name = "ANYWHERE", .code = 3, .listed = true, .run = notAvailableCommand},
    {.name = "ATTRIBUTES", .code = 4, .listed = true, .run = notAvailableCommand},
    {.name = "BOTTOM", .code = 5, .listed = true, .run = notAvailableCommand},
    {.name = "BOUNDS", .code = 6, .listed = true, .run = notAvailableCommand},
    {.name = "CHANGE", .code = 7, .listed = false, .run = notAvailableCommand},
    {.name = "CONFIRM", .code = 8, .listed = true, .run = notAvailableCommand},
    {.name = "DOWN", .code = 9, .listed = true, .run = notAvailableCommand},
    {.name = "EXCLUDE", .code = 10, .listed = true, .run = notAvailableCommand},
    {.name = "EXTYPE", .code = 11, .listed = true, .run = notAvailableCommand},
    {.name = "FIND", .code = 12, .listed = true, .run = notAvailableCommand},
    {.name = "FOREACH", .code = 13, .listed = true, .run = notAvailableCommand},
    {.name = "HELP", .code = 14, .listed = false, .run = notAvailableCommand},
    {.name = "IMACRO", .code = 15, .listed = true, .run = notAvailableCommand},
    {.name = "LEFT", .code = 16, .listed = true, .run = notAvailableCommand},
    {.name = "LISTTOFILE", .code = 17, .listed = true, .run = notAvailableCommand},
    {.name = "LOCATE", .code = 18, .listed = true, .run = notAvailableCommand},
    {.name = "MAKEDIR", .code = 19, .listed = true, .run = notAvailableCommand},
    {.name = "MAXRECLEN", .code = 20, .listed = true, .run = notAvailableCommand},
    {.name = "PARENT", .code = 21, .listed = true, .run = notAvailableCommand},
    {.name = "PRINT", .code = 22, .listed = true, .run = notAvailableCommand},
    {.name = "PROFILE", .code = 23, .listed = true, .run = notAvailableCommand},
    {.name = "RECURSTOGGLE", .code = 24, .listed = false, .run = notAvailableCommand},
    {.name = "REFRESH", .code = 25, .listed = true, .run = notAvailableCommand},
    {.name = "RENANYWHERE", .code = 26, .listed = true, .run = notAvailableCommand},
    {.name = "RENEXT", .code = 27, .listed = true, .run = notAvailableCommand},
    {.name = "RENPREFIX", .code = 28, .listed = true, .run = notAvailableCommand},
    {.name = "RENSUFFIX", .code = 29, .listed = true, .run = notAvailableCommand},
    {.name = "RESET", .code = 30, .listed = true, .run = notAvailableCommand},
    {.name = "RIGHT", .code = 31, .listed = true, .run = notAvailableCommand},
    {.name = "SAVEPROJ", .code = 32, .listed = false, .run = notAvailableCommand},
    {.name = "SEARCH", .code = 12, .listed = false, .run = notAvailableCommand},
    {.name = "SELECT", .code = 34, .listed = true, .run = notAvailableCommand},
    {.name = "SETEOR", .code = 35, .listed = true, .run = notAvailableCommand},
    {.name = "SORT", .code = 36, .listed = true, .run = notAvailableCommand},
    {.name = "TOP", .code = 37, .listed = true, .run = notAvailableCommand},
    {.name = "UP", .code = 38, .listed = true, .run = notAvailableCommand},
    {.name = "XMACRO", .code = 39, .listed = true, .run = notAvailableCommand},
};

constexpr CommandEntry kGeneralTable[] = {
    {.name = "3270ENTER", .code = 1, .listed = false, .run = enterActionCommand},
    {.name = "ABOUTCOPY", .code = 2, .listed = false, .run = notAvailableCommand},
    {.name = "ALIASCMD", .code = 3, .listed = false, .run = notAvailableCommand},
    {.name = "ALIASPRF", .code = 4, .listed = false, .run = notAvailableCommand},
    {.name = "BACKUP", .code = 5, .listed = true, .run = backupModeCommand},
    {.name = "BOTTOM", .code = 6, .listed = false, .run = noScrollCommand},
    {.name = "BROWSE", .code = 7, .listed = true, .run = openTaskCommand},
    {.name = "CANCEL", .code = 8, .listed = true, .run = cancelCommand},
    {.name = "CLEARKIVFILTERS", .code = 9, .listed = false, .run = notAvailableCommand},
    {.name = "CMDHISTORYRESTORE", .code = 10, .listed = true, .run = historyRestoreCommand},
    {.name = "CMDHISTORYSAVE", .code = 11, .listed = true, .run = historySaveCommand},
    {.name = "CODBACKUPFROM", .code = 12, .listed = false, .run = notAvailableCommand},
    {.name = "CODBACKUPTO", .code = 13, .listed = false, .run = notAvailableCommand},
    {.name = "CODCMPFNEW", .code = 14, .listed = false, .run = notAvailableCommand},
    {.name = "CODCMPFOLD", .code = 15, .listed = false, .run = notAvailableCommand},
    {.name = "CODCNVCHAR", .code = 16, .listed = false, .run = notAvailableCommand},
    {.name = "CODCNVFTOF", .code = 17, .listed = false, .run = notAvailableCommand},
    {.name = "CODCNVFTOV", .code = 18, .listed = false, .run = notAvailableCommand},
    {.name = "CODCNVTERM", .code = 19, .listed = false, .run = notAvailableCommand},
    {.name = "CODCNVVTOF", .code = 20, .listed = false, .run = notAvailableCommand},
    {.name = "CODCOMPDIR1", .code = 21, .listed = false, .run = notAvailableCommand},
    {.name = "CODCOMPDIR2", .code = 22, .listed = false, .run = notAvailableCommand},
    {.name = "CODCOPY", .code = 23, .listed = false, .run = notAvailableCommand},
    {.name = "CODCOPYL", .code = 24, .listed = false, .run = notAvailableCommand},
    {.name = "CODCOPYMANYPATH", .code = 25, .listed = false, .run = notAvailableCommand},
    {.name = "CODCREATE", .code = 26, .listed = false, .run = notAvailableCommand},
    {.name = "CODDECFILE", .code = 27, .listed = false, .run = notAvailableCommand},
    {.name = "CODDYNLISTNEW", .code = 28, .listed = false, .run = notAvailableCommand},
    {.name = "CODENCFILE", .code = 29, .listed = false, .run = notAvailableCommand},
    {.name = "CODFILEOPEN", .code = 30, .listed = false, .run = notAvailableCommand},
    {.name = "CODFLISTPXBPATH", .code = 31, .listed = false, .run = notAvailableCommand},
    {.name = "CODMLISTPATH", .code = 32, .listed = false, .run = notAvailableCommand},
    {.name = "CODMRGLINES", .code = 33, .listed = false, .run = notAvailableCommand},
    {.name = "CODMRGPATH", .code = 34, .listed = false, .run = notAvailableCommand},
    {.name = "CODRECOVERPATH", .code = 35, .listed = false, .run = notAvailableCommand},
    {.name = "CODREGEXT", .code = 36, .listed = false, .run = notAvailableCommand},
    {.name = "CODREPLACE", .code = 37, .listed = false, .run = notAvailableCommand},
    {.name = "COLORS", .code = 38, .listed = false, .run = notAvailableCommand},
    {.name = "COMPARE", .code = 39, .listed = false, .run = notAvailableCommand},
    {.name = "COMPAREDIR", .code = 40, .listed = false, .run = notAvailableCommand},
    {.name = "CONVERT", .code = 41, .listed = false, .run = notAvailableCommand},
    {.name = "CURSOR", .code = 42, .listed = true, .run = notAvailableCommand},
    {.name = "DECRYPT", .code = 43, .listed = false, .run = notAvailableCommand},
    {.name = "DECRYPT4", .code = 44, .listed = false, .run = notAvailableCommand},
    {.name = "DECRYPTSTRING", .code = 45, .listed = false, .run = notAvailableCommand},
    {.name = "DELEOL", .code = 46, .listed = true, .run = deleteToEndCommand},
    {.name = "DIAGNOSE", .code = 47, .listed = false, .run = notAvailableCommand},
    {.name = "DIALOG", .code = 48, .listed = false, .run = notAvailableCommand},
    {.name = "DIALOGTEST", .code = 49, .listed = false, .run = notAvailableCommand},
    {.name = "DOWN", .code = 50, .listed = false, .run = noScrollCommand},
    {.name = "DYNLISTNEW", .code = 51, .listed = false, .run = notAvailableCommand},
    {.name = "EDIT", .code = 52, .listed = true, .run = openTaskCommand},
    {.name = "EDITCLRWORDS", .code = 53, .listed = false, .run = notAvailableCommand},
    {.name = "EDITOPTIONS", .code = 54, .listed = false, .run = notAvailableCommand},
    {.name = "ENCRYPT", .code = 55, .listed = false, .run = notAvailableCommand},
    {.name = "ENCRYPT4", .code = 56, .listed = false, .run = notAvailableCommand},
    {.name = "ENCRYPTSTRING", .code = 57, .listed = false, .run = notAvailableCommand},
    {.name = "ENCSUGGEST", .code = 58, .listed = false, .run = notAvailableCommand},
    {.name = "END", .code = 59, .listed = true, .run = endCommand},
    {.name = "EPCMD", .code = 60, .listed = false, .run = executeParamsCommand},
    {.name = "EXIT", .code = 61, .listed = true, .run = exitCommand},
    {.name = "FAVORITENEW", .code = 62, .listed = false, .run = notAvailableCommand},
    {.name = "FILEHEAD", .code = 63, .listed = true, .run = notAvailableCommand},
    {.name = "FILELIST", .code = 64, .listed = false, .run = notAvailableCommand},
    {.name = "FILEPARTITION", .code = 65, .listed = true, .run = notAvailableCommand},
    {.name = "FILESCAN", .code = 66, .listed = true, .run = notAvailableCommand},
    {.name = "FLISTCOMBOMODE", .code = 67, .listed = false, .run = notAvailableCommand},
    {.name = "FLISTCOMBOPROF", .code = 68, .listed = false, .run = notAvailableCommand},
    {.name = "FLISTCOMBOSHOW", .code = 69, .listed = false, .run = notAvailableCommand},
    {.name = "FLISTCOMBOSORT", .code = 70, .listed = false, .run = notAvailableCommand},
    {.name = "FLISTCOMBOSORTDIRECTION", .code = 71, .listed = false, .run = notAvailableCommand},
    {.name = "FLISTMENUBAR", .code = 72, .listed = false, .run = notAvailableCommand},
    {.name = "FONTLIST", .code = 73, .listed = false, .run = notAvailableCommand},
    {.name = "FONTSET", .code = 74, .listed = true, .run = notAvailableCommand},
    {.name = "FUNCTION", .code = 75, .listed = false, .run = notAvailableCommand},
    {.name = "GENOPTIONS", .code = 76, .listed = false, .run = notAvailableCommand},
    {.name = "HELP", .code = 77, .listed = false, .run = notAvailableCommand},
    {.name = "HELPTOCRFIND", .code = 78, .listed = false, .run = notAvailableCommand},
    {.name = "KEY", .code = 79, .listed = true, .run = keyCommand},
    {.name = "KEYS", .code = 80, .listed = true, .run = notAvailableCommand},
    {.name = "LEFT", .code = 81, .listed = false, .run = noScrollCommand},
    {.name = "MAINMENU", .code = 82, .listed = false, .run = notAvailableCommand},
    {.name = "MAPNETWORKDRIVE", .code = 83, .listed = false, .run = notAvailableCommand},
    {.name = "MENU", .code = 84, .listed = false, .run = notAvailableCommand},
    {.name = "MENUBAR", .code = 85, .listed = false, .run = notAvailableCommand},
    {.name = "MENUSTYLE", .code = 86, .listed = false, .run = notAvailableCommand},
    {.name = "MULTILIST", .code = 87, .listed = false, .run = notAvailableCommand},
    {.name = "NOP", .code = 88, .listed = true, .run = nopCommand},
    {.name = "OPEN", .code = 89, .listed = false, .run = openCommand},
    {.name = "OPTIONSRESTORE", .code = 90, .listed = false, .run = notAvailableCommand},
    {.name = "PANELID", .code = 91, .listed = true, .run = panelIdCommand},
    {.name = "PATHS", .code = 92, .listed = false, .run = notAvailableCommand},
    {.name = "PCMDEDIT", .code = 93, .listed = false, .run = executeParamsCommand},
    {.name = "PCMDFILELIST", .code = 94, .listed = false, .run = executeParamsCommand},
    {.name = "PFSHOW", .code = 95, .listed = true, .run = pfShowCommand},
    {.name = "POPUPMENU", .code = 96, .listed = false, .run = notAvailableCommand},
    {.name = "POSSIZESHOW", .code = 97, .listed = false, .run = notAvailableCommand},
    {.name = "PRINT", .code = 98, .listed = false, .run = notAvailableCommand},
    {.name = "PRINTSETUP", .code = 99, .listed = false, .run = notAvailableCommand},
    {.name = "PRINTSTYLE", .code = 100, .listed = false, .run = notAvailableCommand},
    {.name = "PROFILES", .code = 101, .listed = false, .run = notAvailableCommand},
    {.name = "RECENTCLEARALL", .code = 102, .listed = false, .run = notAvailableCommand},
    {.name = "REDIT", .code = 103, .listed = true, .run = notAvailableCommand},
    {.name = "RETRIEVE", .code = 104, .listed = true, .run = retrieveCommand},
    {.name = "RETURN", .code = 105, .listed = true, .run = returnCommand},
    {.name = "RIGHT", .code = 106, .listed = false, .run = noScrollCommand},
    {.name = "RPCMD", .code = 107, .listed = false, .run = historyDialogCommand},
    {.name = "SETNAME", .code = 108, .listed = true, .run = setNameCommand},
    {.name = "SETSAVEDELETED", .code = 109, .listed = false, .run = notAvailableCommand},
    {.name = "SPLIT", .code = 110, .listed = true, .run = notAvailableCommand},
    {.name = "SPLITF", .code = 111, .listed = false, .run = obsoleteSplitCommand},
    {.name = "SPLITH", .code = 111, .listed = false, .run = obsoleteSplitCommand},
    {.name = "SPLITV", .code = 111, .listed = false, .run = obsoleteSplitCommand},
    {.name = "SUBMENU", .code = 114, .listed = false, .run = notAvailableCommand},
    {.name = "SWAP", .code = 115, .listed = true, .run = swapCommand},
    {.name = "SWAPBACK", .code = 116, .listed = true, .run = swapCommand},
    {.name = "SWAPDIRECT", .code = 117, .listed = false, .run = swapDirectCommand},
    {.name = "SWAPFLIST", .code = 118, .listed = false, .run = notAvailableCommand},
    {.name = "SYSTEM", .code = 119, .listed = true, .run = notAvailableCommand},
    {.name = "TASKLIST", .code = 120, .listed = false, .run = notAvailableCommand},
    {.name = "TOGGLESCROLL", .code = 121, .listed = false, .run = toggleScrollCommand},
    {.name = "TOP", .code = 122, .listed = false, .run = noScrollCommand},
    {.name = "UP", .code = 123, .listed = false, .run = noScrollCommand},
    {.name = "USERCMD", .code = 124, .listed = true, .run = notAvailableCommand},
    {.name = "VARSET", .code = 125, .listed = false, .run = varsetCommand},
    {.name = "VIEW", .code = 126, .listed = true, .run = openTaskCommand},
    {.name = "WINDOW", .code = 127, .listed = true, .run = notAvailableCommand},
    {.name = "WINDOWSAVE", .code = 128, .listed = true, .run = notAvailableCommand},
    {.name = "XLATETBLEDIT", .code = 129, .listed = false, .run = notAvailableCommand},
    {.name = "XLATETBLRESTORE", .code = 130, .listed = false, .run = notAvailableCommand},
};

}  // namespace

std::span<const CommandEntry> commandTable(TableKind kind) {
  switch (kind) {
    case TableKind::Dialog:
      return kDialogTable;
    case TableKind::Edit:
      return kEditTable;
    case TableKind::FileList:
      return kFileListTable;
    case TableKind::General:
      return kGeneralTable;
  }
  return {};
}

const CommandEntry* lookupVerb(std::span<const CommandEntry> table, std::string_view name) {
  if (name.empty() || name.size() > kMaxVerbLength) return nullptr;
  auto it = std::find_if(table.begin(), table.end(),
                         [name](const CommandEntry& e) { return e.name == name; });
  return it == table.end() ? nullptr : &*it;
}

bool isPrimaryCommand(std::string_view name) {
  return lookupVerb(kGeneralTable, name) || lookupVerb(kEditTable, name) ||
         lookupVerb(kFileListTable, name);
}

}  // namespace kiv
