// The defaults of remembered settings (file list, copy, find, compare),
// applied after the option groups. Each is persistent: the global profile
// keeps what the user last chose.
#include "options/startup_options.h"
#include "services/var_pool.h"

namespace kiv {

namespace {

// Linux has no drives: the root of the program's drive is "/".
constexpr std::string_view kDriveRoot = "/";

struct Default {
  std::string_view var;
  std::string_view value;
};

constexpr Default kDefaults[] = {
    {"ZFLIST.MODE", "Edit"},
    {"ZFLIST.SHOW", "Dir+File"},
    {"ZFLIST.LASTSORT.FIELD", "Name"},
    {"ZFLIST.LASTSORT.DIRECTION", "A"},
    {"ZFLIST.PROF", "[Auto]"},
    {"ZFLIST.PXBPATH", kDriveRoot},
    {"ZFLIST.PXBTYPE", "*.*"},
    {"ZFLIST.DIRMASK", "*"},
    {"ZCOPY.OVERWRITE", "PROMPT"},
    {"ZEDIT.FIND.PUNCTUATION", "~`!%^&*+-=|;:,.?\"'(){}[]<>/\\"},
    {"ZFLISTPXBPATH", kDriveRoot},
    {"ZFLISTPXBEXT", "*.*"},
    {"ZCOMP.TERMINATORS", "TRUE"},
    {"ZCOMP.EBCDIC", "FALSE"},
    {"ZCOMP.MAXRECLEN", "255"},
    {"ZCOMP.COL.START", "1"},
    {"ZCOMP.COL.END", "255"},
    {"ZCOMP.MODE", "Quick"},
    {"ZCOMP.IGNORE.WHITESPACE", "FALSE"},
    {"ZCOMP.IGNORE.EMPTYLINES", "FALSE"},
    {"ZCOMP.IGNORE.CASE", "FALSE"},
};

constexpr std::string_view kRememberedWithoutDefault[] = {
    "ZMULT.TEXT.1",
    "ZMULT.TEXT.2",
    "ZMULT.TEXT.3",
    "ZMULT.TEXT.4",
    "ZCONVERT.CHARSET.OLD",
    "ZCONVERT.CHARSET.NEW",
    "ZCONVERT.FILE.OLD",
    "ZCONVERT.FILE.NEW",
    "ZCONVERT.LRECL",
    "ZCONVERT.LRECL.OLD",
    "ZCONVERT.LRECL.NEW",
    "ZCONVERT.TERMINATOR.OLD",
    "ZCONVERT.TERMINATOR.NEW",
    "ZCOMP.SPEC.NEW",
    "ZCOMP.SPEC.OLD",
    "ZCOMPDIR.PATHA",
    "ZCOMPDIR.PATHB",
    "ZCOMPDIR.PATHREPORT",
    "ZCOMPDIR.FILETYPE",
};

}  // namespace

void applyStartupDefaults(Services& s) {
  for (const Default& d : kDefaults) varDefault(s, d.var, d.value);
  // A recursive file list is never where a new run starts.
  varSet(s, "ZFLIST.RECURS", "FALSE");
  varMakePersistent(s, "ZFLIST.RECURS");
  for (std::string_view name : kRememberedWithoutDefault) varMakePersistent(s, name);
  varSet(s, "ZPCMDLBLCURRENT", varGet(s, "ZPCMDLBLCOMMAND"));
}

}  // namespace kiv
