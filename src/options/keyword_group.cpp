#include "options/keyword_group.h"

#include <algorithm>

#include "options/option_file.h"
#include "services/option_group.h"
#include "services/var_pool.h"

namespace kiv {

namespace {

char upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool sameUpper(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return upper(x) == upper(y); });
}

void readLine(Services& s, const KeywordGroup& group, std::string_view line) {
  auto [key, value] = splitFirstWord(line);
  if (key.empty()) return;
  for (const OptionKey& k : group.keys) {
    if (!sameUpper(key, k.key)) continue;
    varSet(s, k.var, group.hooks.readValue ? group.hooks.readValue(k, value) : value);
    return;
  }
  if (group.hooks.readOtherKey) {
    std::string upperKey(key);
    std::transform(upperKey.begin(), upperKey.end(), upperKey.begin(), upper);
    group.hooks.readOtherKey(s, upperKey, value);
  }
}

}  // namespace

void readKeywordGroup(Services& s, const KeywordGroup& group) {
  if (FilePtr f = openOptionGroup(s, group.name, "r"))
    forEachLine(f.get(), kOptionLineLimit,
                [&](std::string_view line) { readLine(s, group, line); });
  // Defaults are not persistent: the group's file keeps these settings, not
  // the global profile.
  for (const OptionKey& k : group.keys) {
    PoolVar& v = varFind(s, k.var);
    if (v.value().empty()) v.setValue(k.defaultValue);
  }
  if (group.hooks.afterRead) group.hooks.afterRead(s);
}

int writeKeywordGroup(Services& s, const KeywordGroup& group) {
  std::string text;
  for (const OptionKey& k : group.keys) appendOptionLine(text, k.key, varGet(s, k.var));
  if (group.hooks.writeMore) group.hooks.writeMore(s, text);
  return writeOptionGroup(s, group.name, group.writeId, text);
}

}  // namespace kiv
