#include "commands/recent_lists.h"

#include <array>
#include <memory>
#include <string>

#include "core/session.h"
#include "options/option_file.h"
#include "services/messages.h"
#include "services/path_search.h"

namespace kiv {

namespace {

constexpr std::string_view kFileHistory = "KivFileHistory.txt";
// A file name holds fewer than 256 characters; longer lines are junk.
constexpr std::size_t kNameLimit = 256;

void readList(Session& s, std::string_view name, RecentList& list) {
  list.entries.clear();
  std::string path = joinPath(s.dirs.options, name);
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!f) return;
  forEachLine(f.get(), kNameLimit, [&](std::string_view line) {
    if (!line.empty() && list.entries.size() < list.limit) list.entries.emplace_back(line);
  });
  list.changed = false;
}

}  // namespace

void loadRecentLists(Session& s) {
  readList(s, kFileHistory, s.fileHistory);
  readList(s, "KivPathHistory.txt", s.pathHistory);
  readList(s, "KivTypeHistory.txt", s.typeHistory);
  readList(s, "KivFavorites.txt", s.favorites);
}

int saveFileHistory(Session& s) {
  if (!s.fileHistory.changed) return 0;
  std::string text;
  for (const std::string& name : s.fileHistory.entries) text += name + "\n";
  std::string path = joinPath(s.dirs.options, kFileHistory);
  if (!replaceFile(path, text)) {
    messagef(s, "", "Unable to write file history:\n\n%s", path);
    return -1;
  }
  s.fileHistory.changed = false;
  return 0;
}

}  // namespace kiv
