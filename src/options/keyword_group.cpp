#include "options/keyword_group.h"

#include <algorithm>
#include <string>

#include "services/messages.h"
#include "services/option_group.h"
#include "services/path_search.h"
#include "services/var_pool.h"

namespace kiv {

namespace {

constexpr std::size_t kLineLimit = 256;  // 255 characters and the terminator

bool sameUpper(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    auto up = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
    return up(x) == up(y);
  });
}

void readLine(Services& s, const KeywordGroup& group, std::string_view line) {
  std::size_t blank = line.find(' ');
  std::string_view key = line.substr(0, blank);
  std::string_view value;
  if (blank != std::string_view::npos) {
    std::size_t start = line.find_first_not_of(' ', blank);
    value = start == std::string_view::npos ? std::string_view() : line.substr(start);
  }
  for (const OptionKey& k : group.keys) {
    if (sameUpper(key, k.key)) {
      varSet(s, k.var, value);
      return;
    }
  }
}

}  // namespace

void readKeywordGroup(Services& s, const KeywordGroup& group) {
  if (FilePtr f = openOptionGroup(s, group.name, "r")) {
    std::string line;
    while (readLimitedLine(f.get(), kLineLimit, line)) readLine(s, group, stripLineEnd(line));
  }
  // Defaults are not persistent: the group's file keeps these settings, not
  // the global profile.
  for (const OptionKey& k : group.keys) {
    PoolVar& v = varFind(s, k.var);
    if (v.value().empty()) v.setValue(k.defaultValue);
  }
}

int writeKeywordGroup(Services& s, const KeywordGroup& group) {
  FilePtr f = openOptionGroup(s, group.name, "w");
  if (!f) {
    messagef(s, group.writeId, "Unable to write option file '%s'", group.name);
    return -1;
  }
  for (const OptionKey& k : group.keys) {
    std::string value = varGet(s, k.var);
    std::fprintf(f.get(), "%.*s %s\n", static_cast<int>(k.key.size()), k.key.data(),
                 value.c_str());
  }
  return std::fflush(f.get()) == 0 ? 0 : -1;
}

}  // namespace kiv
