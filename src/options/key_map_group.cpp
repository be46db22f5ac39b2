#include "options/key_map_group.h"

#include "options/option_file.h"
#include "services/option_group.h"
#include "services/var_pool.h"

namespace kiv {

namespace {

// Any valid variable name is taken, as the group's own dialogs may store
// more than the writer knows; a word that cannot name a variable is a junk
// line and is skipped like an unknown key.
void readLine(Services& s, std::string_view line) {
  auto [name, value] = splitFirstWord(line);
  std::string upperName;
  if (!varNameValid(name, upperName)) return;
  varSet(s, upperName, value);
}

}  // namespace

void readKeyMapGroup(Services& s, const KeyMapGroup& group) {
  if (FilePtr f = openOptionGroup(s, group.name, "r"))
    forEachLine(f.get(), kOptionLineLimit, [&](std::string_view line) { readLine(s, line); });
  for (const KeySetting& d : group.defaults) {
    PoolVar& v = varFind(s, d.var);
    if (v.value().empty()) v.setValue(d.value);
  }
  for (const KeySetting& f : group.forced) varSet(s, f.var, f.value);
}

int writeKeyMapGroup(Services& s, const KeyMapGroup& group) {
  std::string text;
  for (const std::string& var : group.vars) {
    std::string value = varGet(s, var);
    if (!value.empty()) appendOptionLine(text, var, value);
  }
  return writeOptionGroup(s, group.name, group.writeId, text);
}

}  // namespace kiv
