#include "services/path_search.h"

#include <sys/stat.h>

#include "services/messages.h"
#include "services/services.h"
#include "services/var_pool.h"

namespace kiv {

namespace {

// The folder searched after the list: the installation directory, or the
// folder of the installation that holds this kind of definition.
std::string fallbackDir(Services& s, std::string_view pathVar) {
  struct Entry {
    std::string_view var;
    std::string_view folder;
  };
  static constexpr Entry kFolders[] = {
      {"ZPATH.DIALOGS", "Dialogs"}, {"ZPATH.MACROS", "Macros"}, {"ZPATH.MENUS", "Menus"}};
  std::string upperVar;
  varNameValid(pathVar, upperVar);
  for (const Entry& e : kFolders)
    if (upperVar == e.var) return joinPath(s.dirs.install, e.folder);
  return s.dirs.install;
}

bool isFile(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

}  // namespace

std::string joinPath(std::string_view dir, std::string_view name) {
  std::string out(dir);
  if (!out.empty() && out.back() != '/') out += '/';
  out += name;
  return out;
}

std::string FileFindByPath(Services& s, std::string_view pathVar, std::string_view fileName) {
  std::string list = varGet(s, pathVar);
  list += ';';
  list += fallbackDir(s, pathVar);
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t end = list.find(';', start);
    if (end == std::string::npos) end = list.size();
    std::string_view dir(list.data() + start, end - start);
    if (!dir.empty()) {
      std::string candidate = joinPath(dir, fileName);
      if (isFile(candidate)) return candidate;
    }
    start = end + 1;
  }
  return "";
}

std::string pathForWrite(Services& s, std::string_view pathVar, std::string_view fileName) {
  std::string list = varGet(s, pathVar);
  std::string first = list.substr(0, list.find(';'));
  // Without a directory there is nowhere to write: never fall back to the
  // current directory.
  return first.empty() ? std::string() : joinPath(first, fileName);
}

FilePtr FileOpenByPath(Services& s, std::string_view pathVar, std::string_view fileName,
                       std::string_view mode) {
  char m = mode.empty() ? '\0' : mode[0];
  if (m == 'r' || m == 'R') {
    std::string found = FileFindByPath(s, pathVar, fileName);
    if (found.empty()) return nullptr;
    return FilePtr(std::fopen(found.c_str(), "rb"));
  }
  if (m == 'w' || m == 'W') {
    std::string target = pathForWrite(s, pathVar, fileName);
    if (target.empty()) return nullptr;
    return FilePtr(std::fopen(target.c_str(), "wb"));
  }
  message(s, "FILESERV155", "FileOpenByPath: invalid open mode specified, must be 'r' or 'w'.");
  return nullptr;
}

bool readLimitedLine(std::FILE* f, std::size_t limit, std::string& line) {
  line.clear();
  if (limit < 2) return false;
  int c = 0;
  while (line.size() + 1 < limit && (c = std::getc(f)) != EOF) {
    line += static_cast<char>(c);
    if (c == '\n') break;
  }
  return !line.empty();
}

std::string_view stripLineEnd(std::string_view line) {
  std::size_t end = line.find_first_of("\r\n");
  return end == std::string_view::npos ? line : line.substr(0, end);
}

}  // namespace kiv
