// A list of recent names, newest first, with no name twice and a length
// limit: the files opened, the paths and file types typed into the file
// list, the favorites. The options directory keeps each in a file.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kiv {

struct RecentList {
  std::size_t limit = 32;
  std::vector<std::string> entries;
  bool changed = false;  // since it was read or written

  // Puts the name first; an equal name further down goes.
  void remember(std::string_view name) {
    if (name.empty()) return;
    auto it = std::find(entries.begin(), entries.end(), name);
    if (it != entries.end()) {
      if (it == entries.begin()) return;
      entries.erase(it);
    }
    entries.insert(entries.begin(), std::string(name));
    if (entries.size() > limit) entries.resize(limit);
    changed = true;
  }
};

}  // namespace kiv
