// The Flist option group: the file list's fields, attribute filters, limits
// and behaviour, and its user line commands LCMDA<c> (c from A to Z or 0 to
// 9), which follow the table's keys in the file. ConfirmDelete values of
// older files ("TRUE", "FALSE") are read as their newer names.
#include "options/keyword_group.h"
#include "options/option_file.h"
#include "services/var_pool.h"

namespace kiv {

namespace {

constexpr OptionKey kFlistKeys[] = {
    {"ZFLIST.OPTION.FIELD.SIZE", "Field.Size", "TRUE"},
    {"ZFLIST.OPTION.FIELD.DATE", "Field.Date", "TRUE"},
    {"ZFLIST.OPTION.FIELD.ATTR", "Field.Attr", "TRUE"},
    {"ZFLIST.OPTION.FIELD.ACTION", "Field.Action", "TRUE"},
    {"ZFLIST.OPTION.ATTR.ARCHIVE", "Attr.Archive", "Ignore"},
    {"ZFLIST.OPTION.ATTR.READONLY", "Attr.ReadOnly", "Ignore"},
    {"ZFLIST.OPTION.ATTR.SYSTEM", "Attr.System", "Ignore"},
    {"ZFLIST.OPTION.ATTR.HIDDEN", "Attr.Hidden", "Ignore"},
    {"ZFLIST.OPTION.DIRMASK", "DirMask", "*"},
    {"ZFLIST.OPTION.VSCROLL", "Vscroll", "PAGE"},
    {"ZFLIST.OPTION.IMACRO", "Imacro", ""},
    {"ZFLIST.OPTION.XMACRO", "Xmacro", ""},
    {"ZFLIST.OPTION.MAXENTRIES", "MaxEntries", "30000"},
    {"ZFLIST.OPTION.MAXNAMELEN", "MaxNameLen", "Auto"},
    {"ZFLIST.OPTION.MAXRECLEN", "MaxRecLen", ""},
    {"ZFLIST.OPTION.BOUNDS", "Bounds", ""},
    {"ZFLIST.OPTION.AUTOSTART", "AutoStart", "FALSE"},
    {"ZFLIST.OPTION.KEEPVISIBLE", "KeepVisible", "FALSE"},
    {"ZFLIST.OPTION.CONFIRMDELETE", "ConfirmDelete", "Confirm individual files"},
    {"ZFLIST.OPTION.REPOSLIST", "ReposList", "TRUE"},
    {"ZFLIST.OPTION.STICKYCURSOR", "StickyCursor", "FALSE"},
    {"ZFLIST.OPTION.STARTROOT", "STARTROOT", "TRUE"},
    {"ZFLIST.OPTION.EXTSEPARATE", "EXTSEPARATE", "FALSE"},
};

struct Conversion {
  std::string_view var;
  std::string_view from;
  std::string_view to;
};

constexpr Conversion kConversions[] = {
    {"ZFLIST.OPTION.CONFIRMDELETE", "TRUE", "Confirm individual files"},
    {"ZFLIST.OPTION.CONFIRMDELETE", "FALSE", "No confirm"},
};

constexpr std::string_view kLcmdKey = "LCMDA";
constexpr std::string_view kLcmdVar = "ZFLIST.OPTION.LCMD.A";
constexpr std::string_view kLcmdChars = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

std::string_view flistValue(const OptionKey& key, std::string_view value) {
  for (const Conversion& c : kConversions)
    if (key.var == c.var && value == c.from) return c.to;
  return value;
}

bool readLineCommand(Services& s, std::string_view upperKey, std::string_view value) {
  if (upperKey.size() != kLcmdKey.size() + 1 || !upperKey.starts_with(kLcmdKey)) return false;
  char c = upperKey.back();
  if (kLcmdChars.find(c) == std::string_view::npos) return false;
  varSet(s, std::string(kLcmdVar) + c, value);
  return true;
}

void writeLineCommands(Services& s, std::string& out) {
  for (char c : kLcmdChars) {
    std::string value = varGet(s, std::string(kLcmdVar) + c);
    if (!value.empty()) appendOptionLine(out, std::string(kLcmdKey) + c, value);
  }
}

}  // namespace

const KeywordGroup& flistGroup() {
  static const KeywordGroup kGroup{
      "Flist",
      "OPTIONS25",
      kFlistKeys,
      {.readValue = flistValue, .readOtherKey = readLineCommand, .writeMore = writeLineCommands}};
  return kGroup;
}

}  // namespace kiv
