#include "services/global_profile.h"

#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "platform/atomic_write.h"
#include "services/messages.h"
#include "services/path_search.h"
#include "services/services.h"
#include "services/var_pool.h"

namespace kiv {

namespace {

constexpr std::size_t kLineLimit = 2048;

bool exists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

bool isSeparator(char c) { return c == ' ' || c == ',' || c == '='; }

bool isNameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.';
}

// The old name of the file is moved to the current one, unless that exists.
void renameOldProfile(Services& s) {
  std::string old = joinPath(s.dirs.options, "KIVO.prf");
  std::string current = joinPath(s.dirs.options, kGlobalProfileName);
  if (exists(old) && !exists(current)) std::rename(old.c_str(), current.c_str());
}

FilePtr openProfile(Services& s) {
  for (const std::string* dir : {&s.dirs.options, &s.dirs.allUsers}) {
    if (dir->empty()) continue;
    if (FilePtr f{std::fopen(joinPath(*dir, kGlobalProfileName).c_str(), "rb")}) return f;
  }
  return nullptr;
}

// Lines not beginning with Z are comments unless they hold a plain name
// (letters, digits, dots) followed by a separator.
bool acceptedNonZLine(std::string_view line) {
  std::size_t i = line.find_first_not_of(' ');
  if (i == std::string_view::npos) return false;
  for (; i < line.size() && !isSeparator(line[i]); ++i)
    if (!isNameChar(line[i])) return false;
  return i < line.size();
}

void loadLine(Services& s, std::string_view line) {
  if (line.empty()) return;
  if (line[0] != 'Z' && !acceptedNonZLine(line)) return;
  line = stripLineEnd(line);
  std::size_t start = line.find_first_not_of(' ');
  if (start == std::string_view::npos) return;
  std::size_t end = start;
  while (end < line.size() && !isSeparator(line[end])) ++end;
  std::string_view name = line.substr(start, end - start);
  while (end < line.size() && isSeparator(line[end])) ++end;
  std::string_view value = line.substr(end);
  if (varExists(s, name)) return;
  PoolVar& v = varFind(s, name);
  v.setValue(value);
  v.setPersistent(true);
}

}  // namespace

int loadGlobalProfile(Services& s) {
  renameOldProfile(s);
  FilePtr f = openProfile(s);
  if (!f) return -1;
  std::string line;
  while (readLimitedLine(f.get(), kLineLimit, line)) loadLine(s, line);
  return 0;
}

int saveGlobalProfile(Services& s) {
  // Replaced whole, so a failed or killed write never leaves a half-written
  // profile (or a leftover beside it).
  std::string path = joinPath(s.dirs.options, kGlobalProfileName);
  std::string text;
  for (const PoolVar* v : s.pool().sorted()) {
    if (!v->persistent() || v->value().empty()) continue;
    text += v->name();
    text += '=';
    text += v->value();
    text += '\n';
  }
  if (!platform::replaceFileContents(path, text)) {
    messagef(s, "", "Unable to open PersistentVars file for WRITE:\n%s", path);
    return -1;
  }
  return 0;
}

}  // namespace kiv
