// The Filters option group: up to twelve file-type filters of the file
// dialogs, each the patterns (";" between them), a blank and an annotation.
#include "options/list_groups.h"
#include "options/option_file.h"
#include "services/format.h"
#include "services/option_group.h"
#include "services/var_pool.h"

namespace kiv {

namespace {

struct Filter {
  std::string_view types;
  std::string_view annotation;
};

constexpr Filter kBuiltInFilters[] = {
    {"*.*", "All Files"},
    {"*.txt", "Text Files"},
    {"*.EXE", "Executable Files"},
    {"*.cpp;*.c", "C++ and C Program Source"},
    {"*.h", "C++ and C Data Structures"},
    {"*.java", "Java Program Source"},
    {"*.html;*.htm", "HTML Document Source"},
    {"*.sgml", "SGML Document Source"},
    {"*.cbl", "COBOL Program Source"},
    {"*.cpy", "COBOL Copybook"},
    {"*.cbl;*.cpy", "COBOL All"},
};

std::string typeVar(int n) {
  return format("ZFILTERS.FILETYPE.%d", n);
}
std::string annotationVar(int n) {
  return format("ZFILTERS.ANNOTATE.%d", n);
}

void setFilter(Services& s, int n, std::string_view types, std::string_view annotation) {
  varSet(s, typeVar(n), types);
  varSet(s, annotationVar(n), annotation);
}

}  // namespace

void readFiltersGroup(Services& s) {
  int n = 0;
  if (FilePtr f = openOptionGroup(s, "Filters", "r")) {
    forEachLine(f.get(), kOptionLineLimit, [&](std::string_view line) {
      auto [types, annotation] = splitFirstWord(line);
      if (types.empty() || n == kMaxFilters) return;  // a blank line names no filter
      setFilter(s, ++n, types, annotation);
    });
  } else {
    for (const Filter& filter : kBuiltInFilters) setFilter(s, ++n, filter.types, filter.annotation);
  }
  while (n < kMaxFilters) setFilter(s, ++n, "", "");
}

int writeFiltersGroup(Services& s) {
  std::string text;
  for (int n = 1; n <= kMaxFilters; ++n) {
    std::string types = varGet(s, typeVar(n));
    if (types.empty()) break;
    appendOptionLine(text, types, varGet(s, annotationVar(n)));
  }
  return writeOptionGroup(s, "Filters", "OPTIONS30", text);
}

}  // namespace kiv
