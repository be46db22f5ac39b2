#include "core/profile_choice.h"

#include <filesystem>

#include "core/file_profile.h"
#include "core/session.h"
#include "services/messages.h"
#include "services/path_search.h"
#include "services/var_pool.h"

namespace kiv {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kPrnNotice =
    "File profile PRN automatically aliased to TXT to avoid collision with reserved system "
    "name.\n\nTo set a different alias, invoke OPTIONS, item ALIAS PROFILES.";
constexpr std::string_view kNotSupported =
    "Option 'Editor', field 'NoMatchOnFileProf', value %s not supported.\n\nFile Profile '%s' "
    "will be used.";

// The text after the last period of the last path component, or "".
std::string_view extensionOf(std::string_view path) {
  std::size_t slash = path.rfind('/');
  std::string_view base = slash == std::string_view::npos ? path : path.substr(slash + 1);
  std::size_t dot = base.rfind('.');
  return dot == std::string_view::npos ? std::string_view{} : base.substr(dot + 1);
}

std::string byAlias(Session& s, const std::string& ext) {
  for (const Alias& a : s.profileAliases)
    if (profileUpper(a.name) == ext) return profileUpper(a.command);
  return ext;
}

std::string withoutTrailingSlashes(std::string path) {
  while (!path.empty() && path.back() == '/') path.pop_back();
  return path;
}

// The absolute directory of the file, without a trailing "/".
std::string directoryOf(std::string_view filePath) {
  std::error_code ec;
  fs::path abs = fs::absolute(fs::path(filePath), ec);
  if (ec) return {};
  return withoutTrailingSlashes(abs.lexically_normal().parent_path().string());
}

// ZPATH.ASSOCIATE.PATHn / PROFn, in force while PATH1 is set.
std::string byDirectory(Session& s, std::string_view filePath) {
  std::string dir = directoryOf(filePath);
  for (int n = 1;; ++n) {
    std::string pathVar = format("ZPATH.ASSOCIATE.PATH%d", n);
    if (!varExists(s, pathVar)) return {};
    std::string value = varGet(s, pathVar);
    if (value.empty()) return {};
    if (withoutTrailingSlashes(value) == dir)
      return profileUpper(varGet(s, format("ZPATH.ASSOCIATE.PROF%d", n)));
  }
}

std::string nameFromFile(Session& s, std::string_view filePath) {
  std::string ext = profileUpper(extensionOf(filePath));
  if (!ext.empty()) return byAlias(s, ext);
  return byDirectory(s, filePath);
}

bool profileExists(Session& s, const std::string& name) {
  return profileNameUsable(name) &&
         !FileFindByPath(s, "ZPATH.FILEPROFILES", profileFileName(name)).empty();
}

std::string fallbackFor(const std::string& name) {
  if (name.empty()) return "NOTYPE";
  bool digits = name.find_first_not_of("0123456789") == std::string::npos;
  return digits ? "NUMBER" : "TXT";
}

// ZEDIT.NOMATCHONFILEPROF: SYSTEM (or unset) keeps the fallback, PROMPT and
// CREATE keep it with a notice, any other value names the profile.
std::string noMatch(Session& s, const std::string& name) {
  std::string fallback = fallbackFor(name);
  std::string setting = profileUpper(varGet(s, "ZEDIT.NOMATCHONFILEPROF"));
  if (setting.empty() || setting == "SYSTEM") return fallback;
  if (setting == "PROMPT" || setting == "CREATE") {
    messagef(s, "FILEPROF20", kNotSupported, setting, fallback);
    return fallback;
  }
  return setting;
}

}  // namespace

std::string chooseProfile(Session& s, std::string_view filePath) {
  std::string chosen = varGet(s, "ZFLIST.PROF");
  std::string name = !chosen.empty() && profileUpper(chosen) != "[AUTO]"
                         ? profileUpper(chosen)
                         : nameFromFile(s, filePath);
  if (name == "PRN") {
    name = "TXT";
    if (!s.prnAliasNoticeShown) {
      s.prnAliasNoticeShown = true;
      message(s, "", kPrnNotice);
    }
  }
  return profileExists(s, name) ? name : noMatch(s, name);
}

}  // namespace kiv
