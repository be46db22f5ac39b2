#include "commands/aliases.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "commands/command_split.h"
#include "commands/command_state.h"
#include "commands/command_table.h"
#include "services/messages.h"
#include "services/option_group.h"

namespace kiv {

namespace {

constexpr std::size_t kAliasLineLimit = 256;  // 255 characters and the terminator

struct DefaultAlias {
  std::string_view name;
  std::string_view command;
};

constexpr DefaultAlias kDefaultAliases[] = {
    {"B", "BROWSE"},     {"BOT", "BOTTOM"},     {"BND", "BOUNDS"},     {"BNDS", "BOUNDS"},
    {"C", "CHANGE"},     {"CAN", "CANCEL"},     {"CHG", "CHANGE"},     {"COL", "RULER"},
    {"COLS", "RULER"},   {"COLOR", "COLORS"},   {"COLOUR", "COLORS"},  {"CRE", "CREATE"},
    {"DEL", "DELETE"},   {"DOS", "SYSTEM"},     {"E", "EDIT"},         {"ENTER", "3270ENTER"},
    {"EX", "EXCLUDE"},   {"EXC", "EXCLUDE"},    {"F", "FIND"},         {"L", "LOCATE"},
    {"LOC", "LOCATE"},   {"MD", "MAKEDIR"},     {"NUM", "NUMBER"},     {"O", "OPEN"},
    {"PRI", "PRINT"},    {"PR", "PROFILE"},     {"PRO", "PROFILE"},    {"PROF", "PROFILE"},
    {"REN", "RENUMBER"}, {"RENUM", "RENUMBER"}, {"REP", "REPLACE"},    {"REPL", "REPLACE"},
    {"RES", "RESET"},    {"S", "SELECT"},       {"SAV", "SAVE"},       {"TAB", "TABS"},
    {"TSO", "SYSTEM"},   {"UNN", "UNNUMBER"},   {"UNNUM", "UNNUMBER"}, {"USER", "USERCMD"},
    {"V", "VIEW"},       {"X", "EXCLUDE"},
};
static_assert(std::size(kDefaultAliases) == 42);

// Reads the group's lines into the list; false when the file is missing.
// `refused` counts the lines that were not defined.
bool readAliasGroup(Session& s, std::string_view group, std::vector<Alias>& list, bool check,
                    int& refused) {
  FilePtr f = openOptionGroup(s, group, "r");
  if (!f) return false;
  std::string line;
  while (readLimitedLine(f.get(), kAliasLineLimit, line)) {
    std::string_view text = stripLineEnd(line);
    if (skipBlanks(text).empty()) continue;
    if (defineAlias(s, list, text, check) != 0) ++refused;
  }
  return true;
}

}  // namespace

int defineAlias(Session& s, std::vector<Alias>& list, std::string_view text, bool check) {
  std::string_view name = firstWord(skipBlanks(text));
  std::string_view command = afterFirstWord(skipBlanks(text));
  if (name.empty() || command.empty()) {
    messagef(s, "", "Alias '%s' has no command, alias not defined.", name);
    return -1;
  }
  if (name.size() > kAliasNameMax || command.size() > kAliasCommandMax) {
    messagef(s, "",
             "Alias not defined, name longer than %d or command longer than %d characters:\n\n%s",
             static_cast<int>(kAliasNameMax), static_cast<int>(kAliasCommandMax), text);
    return -1;
  }
  if (check && isPrimaryCommand(toUpper(name))) {
    messagef(s, "", "'%s' is an existing KIV primary command, it can not be used as an alias.",
             name);
    return -1;
  }
  list.push_back({std::string(name), std::string(command)});
  return 0;
}

const Alias* findAlias(const std::vector<Alias>& list, std::string_view verb) {
  auto it =
      std::find_if(list.begin(), list.end(), [verb](const Alias& a) { return a.name == verb; });
  return it == list.end() ? nullptr : &*it;
}

void defineDefaultAliases(Session& /*s*/, std::vector<Alias>& list) {
  for (const DefaultAlias& a : kDefaultAliases)
    list.push_back({std::string(a.name), std::string(a.command)});
}

void loadCommandAliases(Session& s) {
  std::vector<Alias>& list = commandState(s).commandAliases;
  list.clear();
  int refused = 0;
  if (!readAliasGroup(s, "AliasCmds", list, true, refused)) {
    defineDefaultAliases(s, list);
    return;
  }
  if (refused > 0) saveCommandAliases(s);
}

int saveCommandAliases(Session& s) {
  FilePtr f = openOptionGroup(s, "AliasCmds", "w");
  if (!f) {
    messagef(s, "OPTIONS5", "Unable to write option file '%s'", "AliasCmds");
    return -1;
  }
  for (const Alias& a : commandState(s).commandAliases)
    std::fprintf(f.get(), "%s %s\n", a.name.c_str(), a.command.c_str());
  if (std::fflush(f.get()) != 0 || std::ferror(f.get())) {
    messagef(s, "OPTIONS5", "Unable to write option file '%s'", "AliasCmds");
    return -1;
  }
  return 0;
}

void loadProfileAliases(Session& s) {
  s.profileAliases.clear();
  int refused = 0;
  readAliasGroup(s, "AliasProfs", s.profileAliases, false, refused);
}

}  // namespace kiv
