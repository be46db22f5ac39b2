#include "commands/macro_call.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "core/session.h"
#include "services/messages.h"
#include "services/path_search.h"
#include "services/var_pool.h"

namespace kiv {

namespace {

std::string toLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// The found source file: in the given directory first, then along
// ZPATH.MACROS; "" when neither has it.
std::string findMacroSource(Session& s, const std::string& source) {
  std::size_t slash = source.rfind('/');
  if (slash != std::string::npos) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(source, ec)) return source;
    return FileFindByPath(s, "ZPATH.MACROS", source.substr(slash + 1));
  }
  return FileFindByPath(s, "ZPATH.MACROS", source);
}

}  // namespace

std::string macroSourceName(std::string_view command) {
  std::string_view word = command.substr(0, command.find(' '));
  if (word.starts_with('"')) word.remove_prefix(1);
  std::size_t slash = word.rfind('/');
  std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
  std::size_t nameEnd = word.find_first_of(".\"", nameStart);
  if (nameEnd == std::string_view::npos) nameEnd = word.size();
  return std::string(word.substr(0, nameStart)) +
         toLower(word.substr(nameStart, nameEnd - nameStart)) + ".c";
}

int runMacroCommand(Session& s, std::string_view command) {
  if (varGet(s, "ZINMACRO") == "TRUE") {
    messagef(s, "", "Not allowed to call a macro from within a macro:\n\n%s", command);
    return 0;
  }
  std::string source = macroSourceName(command);
  std::string found = findMacroSource(s, source);
  if (found.empty()) {
    messagef(s, "XMAC10", "Unable to find macro source file:\n\n%s", source);
    return -1;
  }
  // The macro language is not built yet: say so rather than do nothing.
  messagef(s, "", "Macros are not available yet, macro not run:\n\n%s", found);
  return -1;
}

}  // namespace kiv
