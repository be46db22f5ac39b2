// The RegExt option group: registered file extensions, each an entry of
// three lines "Extension=", "Interpret=" and "Execute=". Unlike the other
// groups it lives along ZPATH.FILEPROFILES, beside the file profiles.
#include <algorithm>
#include <cstdlib>

#include "options/list_groups.h"
#include "options/option_file.h"
#include "services/format.h"
#include "services/messages.h"
#include "services/option_group.h"
#include "services/var_pool.h"

namespace kiv {

namespace {

constexpr std::string_view kGroup = "RegExt";
constexpr std::string_view kPathVar = "ZPATH.FILEPROFILES";
constexpr std::string_view kCountVar = "ZREGEXT.0";
constexpr std::size_t kLineLimit = 401;  // 400 characters and the terminator

struct Field {
  std::string_view prefix;
  std::string_view var;
};

constexpr Field kFields[] = {
    {"Extension=", "ZREGEXT.EXTENSION.%d"},
    {"Interpret=", "ZREGEXT.INTERPRET.%d"},
    {"Execute=", "ZREGEXT.EXECUTE.%d"},
};

// Sets the field the line names in entry n; false for any other line.
bool readField(Services& s, std::string_view line, int n) {
  for (const Field& f : kFields) {
    if (!line.starts_with(f.prefix)) continue;
    varSet(s, format(f.var, n), line.substr(f.prefix.size()));
    return true;
  }
  return false;
}

}  // namespace

void readRegExtGroup(Services& s) {
  int entries = 0;
  if (FilePtr f = FileOpenByPath(s, kPathVar, optionGroupFileName(kGroup), "r")) {
    int recognised = 0;
    forEachLine(f.get(), kLineLimit, [&](std::string_view line) {
      line.remove_prefix(std::min(line.find_first_not_of(' '), line.size()));
      if (!readField(s, line, entries + 1)) return;
      if (++recognised % 3 == 0) ++entries;  // every third line closes an entry
    });
  }
  varSet(s, kCountVar, std::to_string(entries));
}

int writeRegExtGroup(Services& s) {
  std::string text;
  int entries = std::atoi(varGet(s, kCountVar).c_str());
  for (int n = 1; n <= entries; ++n) {
    std::string entry;
    bool named = false;
    for (const Field& f : kFields) {
      std::string value = varGet(s, format(f.var, n));
      named = named || !value.empty();
      entry += std::string(f.prefix) + std::string(stripLineEnd(value)) + "\n";
    }
    if (!named) break;  // a count larger than the list
    text += entry;
  }
  if (replaceFile(pathForWrite(s, kPathVar, optionGroupFileName(kGroup)), text)) return 0;
  messagef(s, "OPTIONS80", "Unable to write option file '%s'", kGroup);
  return -1;
}

}  // namespace kiv
