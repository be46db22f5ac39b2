#include "services/option_group.h"

#include <algorithm>

#include "services/services.h"
#include "services/var_pool.h"

namespace kiv {

namespace {

std::string lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) {
    return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  });
  return text;
}

// options dir ; all-users dir ; installation dir + suffix
std::string threeDirs(Services& s, std::string_view installSuffix) {
  return s.dirs.options + ";" + s.dirs.allUsers + ";" + joinPath(s.dirs.install, installSuffix);
}

void setPathVar(Services& s, std::string_view name, const std::string& value) {
  PoolVar& v = varFind(s, name);
  v.setValue(value);
  v.setPersistent(false);
}

}  // namespace

std::string optionGroupFileName(std::string_view group) {
  return lower("KivOptions." + std::string(group) + ".txt");
}

FilePtr openOptionGroup(Services& s, std::string_view group, std::string_view mode) {
  setPathVar(s, "ZPATH.OPTIONS", threeDirs(s, "Profiles/"));
  return FileOpenByPath(s, "ZPATH.OPTIONS", optionGroupFileName(group), mode);
}

void setSearchPaths(Services& s) {
  static constexpr std::string_view kProfileLists[] = {
      "ZPATH.COLORIZATION", "ZPATH.FILEPROFILES", "ZPATH.PRINTSTYLES", "ZPATH.USERCOMMANDS",
      "ZPATH.XLATETBLS"};
  for (std::string_view name : kProfileLists) setPathVar(s, name, threeDirs(s, "Profiles"));
  setPathVar(s, "ZPATH.HELP", joinPath(s.dirs.install, "HELP"));
  for (std::string_view name : {"ZPATH.DYNLIST", "ZPATH.TEMP", "ZPATH.WINSAVED"})
    setPathVar(s, name, s.dirs.options);
}

}  // namespace kiv
