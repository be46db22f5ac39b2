#include "services/control_file.h"

#include "services/messages.h"
#include "services/path_search.h"

namespace kiv {

namespace {

constexpr std::size_t kControlLineLimit = 255;  // 254 characters and the terminator

std::string controlFileName(std::string_view prefix, std::string_view name) {
  std::string out(prefix);
  out += '.';
  out += name;
  out += ".txt";
  return out;
}

bool slotsPresent(Services& s, std::span<std::string* const> keys,
                  std::span<std::string* const> values) {
  for (std::string* k : keys) {
    if (!k) {
      message(s, "POBJMGR5", "PObjRead: internal error, null keyword pointer.");
      return false;
    }
  }
  for (std::string* v : values) {
    if (!v) {
      message(s, "POBJMGR10", "PObjRead: internal error, null value pointer");
      return false;
    }
  }
  return true;
}

}  // namespace

int PObjRead(Services& s, std::string_view pathVar, std::string_view prefix,
             std::string_view name, std::span<std::string* const> keys,
             std::span<std::string* const> values) {
  if (!slotsPresent(s, keys, values)) return -1;
  std::size_t n = std::min(keys.size(), values.size());
  for (std::size_t i = 0; i < n; ++i) {
    keys[i]->clear();
    values[i]->clear();
  }
  std::string file = controlFileName(prefix, name);
  FilePtr f = FileOpenByPath(s, pathVar, file, "r");
  if (!f) {
    messagef(s, "POBJMGR25", "PObjRead: unable to open control file '%s' for read.", file);
    return -1;
  }
  std::string line;
  for (std::size_t i = 0; i < n && readLimitedLine(f.get(), kControlLineLimit, line); ++i) {
    std::string_view text = stripLineEnd(line);
    std::size_t eq = text.find('=');
    std::string_view key = text.substr(0, eq);
    std::string_view value = eq == std::string_view::npos ? "" : text.substr(eq + 1);
    if (key.size() > kPObjKeyMax) {
      messagef(s, "POBJMGR20", "PObjRead: control file '%s', keyword '%s' exceeds max length allowed.",
               file, key);
      return -1;
    }
    if (value.size() > kPObjValueMax) {
      messagef(s, "POBJMGR15",
               "PObjRead: control file '%s', keyword '%s' has value which exceeds max length "
               "allowed.",
               file, key);
      return -1;
    }
    keys[i]->assign(key);
    values[i]->assign(value);
  }
  return 0;
}

int PObjWrite(Services& s, std::string_view pathVar, std::string_view prefix,
              std::string_view name, std::span<const char* const> keys,
              std::span<const char* const> values) {
  std::string file = controlFileName(prefix, name);
  FilePtr f = FileOpenByPath(s, pathVar, file, "w");
  if (!f) {
    messagef(s, "POBJMGR40", "PObjWrite: unable to open control file '%s' for write.", file);
    return -1;
  }
  std::size_t n = std::max(keys.size(), values.size());
  for (std::size_t i = 0; i < n; ++i) {
    const char* key = i < keys.size() ? keys[i] : nullptr;
    const char* value = i < values.size() ? values[i] : nullptr;
    if (!key) {
      message(s, "POBJMGR35", "PObjWrite: internal error, null keyword pointer.");
      return -1;
    }
    if (!value) {
      message(s, "POBJMGR30", "PObjWrite: internal error, null value pointer.");
      return -1;
    }
    std::fprintf(f.get(), "%s=%s\n", key, value);
  }
  return std::fflush(f.get()) == 0 ? 0 : -1;
}

std::string PObjGetValue(Services& s, std::string_view pathVar, std::string_view prefix,
                         std::string_view name, std::string_view keyword) {
  std::string found = FileFindByPath(s, pathVar, controlFileName(prefix, name));
  if (found.empty()) return "";
  FilePtr f(std::fopen(found.c_str(), "rb"));
  if (!f) return "";
  std::string line;
  while (readLimitedLine(f.get(), kControlLineLimit, line)) {
    std::string_view text = line;
    if (text.size() > keyword.size() && text.starts_with(keyword) && text[keyword.size()] == '=')
      return std::string(stripLineEnd(text.substr(keyword.size() + 1)));
  }
  return "";
}

}  // namespace kiv
