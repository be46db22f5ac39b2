// The PathAssociate option group: directories and the file profile used for
// files under each. Lines "PATH <dir>" and "PROF <profile>"; the n-th PATH
// line pairs with the n-th PROF line.
#include "options/list_groups.h"
#include "options/option_file.h"
#include "services/format.h"
#include "services/option_group.h"
#include "services/var_pool.h"

namespace kiv {

namespace {

constexpr std::string_view kPathVar = "ZPATH.ASSOCIATE.PATH%d";
constexpr std::string_view kProfVar = "ZPATH.ASSOCIATE.PROF%d";

}  // namespace

void readPathAssociateGroup(Services& s) {
  FilePtr f = openOptionGroup(s, "PathAssociate", "r");
  if (!f) return;
  int paths = 0;
  int profs = 0;
  forEachLine(f.get(), kOptionLineLimit, [&](std::string_view line) {
    auto [word, value] = splitFirstWord(line);
    if (word == "PATH")
      varSet(s, format(kPathVar, ++paths), value);
    else if (word == "PROF")
      varSet(s, format(kProfVar, ++profs), value);
  });
}

int writePathAssociateGroup(Services& s) {
  std::string text;
  for (int n = 1;; ++n) {
    std::string path = varGet(s, format(kPathVar, n));
    if (path.empty()) break;
    appendOptionLine(text, "PATH", path);
    appendOptionLine(text, "PROF", varGet(s, format(kProfVar, n)));
  }
  return writeOptionGroup(s, "PathAssociate", "OPTIONS75", text);
}

}  // namespace kiv
