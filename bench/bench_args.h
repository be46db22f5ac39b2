// Command-line pieces the benchmark programs share.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace kiv::bench {

// A whole positive decimal number, or 0.
inline long positive(const char* text) {
  char* end = nullptr;
  long v = std::strtol(text, &end, 10);
  return end && *end == '\0' && v > 0 ? v : 0;
}

// A comma-separated list of operations, each one of `known`; false for an
// empty list or an unknown name.
inline bool parseOps(std::string_view list, std::initializer_list<std::string_view> known,
                     std::vector<std::string>& ops) {
  ops.clear();
  while (!list.empty()) {
    std::size_t comma = list.find(',');
    std::string op(list.substr(0, comma));
    if (std::find(known.begin(), known.end(), op) == known.end()) return false;
    ops.push_back(op);
    list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
  }
  return !ops.empty();
}

}  // namespace kiv::bench
