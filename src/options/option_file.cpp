#include "options/option_file.h"

#include "platform/atomic_write.h"
#include "services/messages.h"
#include "services/option_group.h"
#include "services/services.h"

namespace kiv {

WordAndRest splitFirstWord(std::string_view line) {
  std::size_t blank = line.find(' ');
  if (blank == std::string_view::npos) return {line, {}};
  std::size_t start = line.find_first_not_of(' ', blank);
  return {line.substr(0, blank), start == std::string_view::npos ? "" : line.substr(start)};
}

void appendOptionLine(std::string& out, std::string_view word, std::string_view value) {
  out += word;
  out += ' ';
  out += stripLineEnd(value);
  out += '\n';
}

bool replaceFile(const std::string& path, std::string_view text) {
  return !path.empty() && platform::replaceFileContents(path, text);
}

std::string optionGroupWritePath(Services& s, std::string_view group) {
  if (s.dirs.options.empty()) return {};
  return joinPath(s.dirs.options, optionGroupFileName(group));
}

int writeOptionGroup(Services& s, std::string_view group, std::string_view writeId,
                     std::string_view text) {
  if (replaceFile(optionGroupWritePath(s, group), text)) return 0;
  messagef(s, writeId, "Unable to write option file '%s'", group);
  return -1;
}

}  // namespace kiv
