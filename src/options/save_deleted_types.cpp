// The SaveDeletedTypes option group: whether deleted files are saved
// ("SaveDeleted=TRUE" or "SaveDeleted=FALSE", into ZSAVEDELETED) and the
// file types whose deleted files are, one a line.
#include <cstdlib>

#include "options/list_groups.h"
#include "options/option_file.h"
#include "services/format.h"
#include "services/messages.h"
#include "services/option_group.h"
#include "services/var_pool.h"

namespace kiv {

namespace {

constexpr std::string_view kGroup = "SaveDeletedTypes";
constexpr std::string_view kSwitchVar = "ZSAVEDELETED";
constexpr std::string_view kSwitchKey = "SaveDeleted=";
constexpr std::string_view kTypeVar = "ZSAVEDELETED.TYPE.%d";
constexpr std::string_view kCountVar = "ZSAVEDELETED.TYPE.0";

constexpr std::string_view kBuiltInTypes[] = {"ASM", "BAT", "C",   "CBL",  "CMD", "COB",
                                              "CPP", "CPY", "FOR", "GML",  "H",   "HTML",
                                              "JCL", "PL1", "PLI", "REXX", "TXT", "XML"};

std::string_view trimBlanks(std::string_view text) {
  std::size_t start = text.find_first_not_of(' ');
  if (start == std::string_view::npos) return {};
  return text.substr(start, text.find_last_not_of(' ') - start + 1);
}

}  // namespace

void readSaveDeletedTypesGroup(Services& s) {
  int types = 0;
  if (FilePtr f = openOptionGroup(s, kGroup, "r")) {
    forEachLine(f.get(), kOptionLineLimit, [&](std::string_view line) {
      std::string_view text = trimBlanks(line);
      if (text == "SaveDeleted=TRUE" || text == "SaveDeleted=FALSE")
        varSet(s, kSwitchVar, text.substr(kSwitchKey.size()));
      else if (!text.empty())
        varSet(s, format(kTypeVar, ++types), text);
    });
  }
  if (types == 0)
    for (std::string_view type : kBuiltInTypes) varSet(s, format(kTypeVar, ++types), type);
  varSet(s, kCountVar, std::to_string(types));
}

std::vector<std::string> saveDeletedTypes(Services& s) {
  std::vector<std::string> types;
  int count = std::atoi(varGet(s, kCountVar).c_str());
  for (int n = 1; n <= count; ++n) {
    std::string type = varGet(s, format(kTypeVar, n));
    if (type.empty()) break;  // a count larger than the list
    types.push_back(std::move(type));
  }
  return types;
}

int writeSaveDeletedTypesGroup(Services& s) {
  std::string text;
  if (std::string on = varGet(s, kSwitchVar); !on.empty())
    text += std::string(kSwitchKey) + std::string(stripLineEnd(on)) + "\n";
  for (const std::string& type : saveDeletedTypes(s))
    text += std::string(stripLineEnd(type)) + "\n";
  std::string path = optionGroupWritePath(s, kGroup);
  if (replaceFile(path, text)) return 0;
  messagef(s, "OPTIONS85", "Unable to write option file:\n%s",
           path.empty() ? optionGroupFileName(kGroup) : path);
  return -1;
}

}  // namespace kiv
